// Codes made by "quoravex-cli codigo" read back by an independent decoder, zbarimg: from the
// bitmap the command writes, and from the preview of a ticket that carries it as a picture.
#include "document/ArchivoDiseno.h"
#include "document/Design.h"
#include "support/FicherosImagen.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

using namespace quoravex;

namespace {

struct Salida {
    int codigo = -1;
    QString out;
    QString err;
};

Salida Ejecutar(const QString& programa, const QStringList& argumentos, const QString& carpeta) {
    QProcess p;
    p.setWorkingDirectory(carpeta);
    p.start(programa, argumentos);
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit) return {};
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

// What zbarimg reads in the picture, without the line end it adds.
QString Descodificar(const QString& zbarimg, const QString& imagen) {
    const Salida s = Ejecutar(zbarimg, {QStringLiteral("--raw"), QStringLiteral("-q"), imagen},
                              QFileInfo(imagen).absolutePath());
    QString texto = s.out;
    if (texto.endsWith(QLatin1Char('\n'))) texto.chop(1);
    return s.codigo == 0 ? texto : QStringLiteral("(zbarimg: %1) %2").arg(s.codigo).arg(s.err);
}

} // namespace

TEST(CodigoZbar, WhatTheCommandWritesAndTheTicketPreviewShowsReadsBackAsWritten) {
    // Installed by scripts/bootstrap (zbar-tools); without it the test fails.
    const QString zbarimg = QStandardPaths::findExecutable(QStringLiteral("zbarimg"));
    ASSERT_FALSE(zbarimg.isEmpty()) << "zbarimg not found: run scripts/bootstrap";

    QString url =
        QStringLiteral("https://turnos.example.org/cita?oficina=centro&servicio=caja&turno=A042&ref=");
    while (url.size() < 200)
        url += QString::number(url.size() % 10);
    const QString acentos = QStringLiteral("Turno nº 5 — atención");
    const QString sinTexto = QStringLiteral("--sin-texto"), modulo = QStringLiteral("--modulo");
    const struct {
        const char* tipo;
        QString datos;
        QStringList opciones;
        QString leido; // what a reader gets
    } casos[] = {
        {"qr", url, {}, url},
        {"qr", acentos, {}, acentos},
        {"qr",
         QStringLiteral("Caja 3"),
         {QStringLiteral("--nivel"), QStringLiteral("H"), QStringLiteral("--version"), QStringLiteral("4"),
          modulo, QStringLiteral("3")},
         QStringLiteral("Caja 3")},
        {"code128", QStringLiteral("Turno A-042"), {}, QStringLiteral("Turno A-042")},
        {"code128", QStringLiteral("A-42"), {modulo, QStringLiteral("3"), sinTexto}, QStringLiteral("A-42")},
        {"ean13", QStringLiteral("590123412345"), {}, QStringLiteral("5901234123457")},
        {"ean13", QStringLiteral("4006381333931"), {sinTexto}, QStringLiteral("4006381333931")},
        {"code39", QStringLiteral("TURNO-42"), {}, QStringLiteral("TURNO-42")},
    };
    ASSERT_EQ(url.size(), 200);

    QTemporaryDir carpeta;
    int n = 0;
    for (const auto& c : casos) {
        ++n;
        const std::string caso = std::to_string(n) + " " + c.tipo;
        // The command's bitmap.
        const QString bmp = carpeta.filePath(QStringLiteral("codigo%1.bmp").arg(n));
        const Salida s = Ejecutar(QStringLiteral(QUORAVEX_CLI),
                                  QStringList{QStringLiteral("codigo"), QStringLiteral("--tipo"),
                                              QString::fromLatin1(c.tipo), QStringLiteral("--datos"), c.datos,
                                              QStringLiteral("--out"), bmp} +
                                      c.opciones,
                                  carpeta.path());
        ASSERT_EQ(s.codigo, 0) << caso << ": " << s.err.toStdString();
        const QImage imagen(bmp);
        ASSERT_EQ(imagen.depth(), 1) << caso;
        const int w = imagen.width(), h = imagen.height();
        EXPECT_EQ(s.out.toStdString(), QStringLiteral("%1: %2 x %3 puntos\n")
                                           .arg(QDir::toNativeSeparators(bmp))
                                           .arg(w)
                                           .arg(h)
                                           .toStdString())
            << caso;
        EXPECT_EQ(Descodificar(zbarimg, bmp).toStdString(), c.leido.toStdString()) << caso;

        // The same bitmap as a picture object drawn 1:1 on a ticket, saved, then previewed.
        ASSERT_LE(w, 384) << caso;
        ASSERT_LE(bmp.size(), LongitudRuta) << caso;
        auto d = std::make_unique<Design>();
        d->LargoTicket = static_cast<int16_t>(h + 40);
        const QRect donde((384 - w) / 2, 20, w, h);
        NuevoObjeto nuevo;
        nuevo.Tipo = TipoImagen;
        nuevo.Left = donde.left();
        nuevo.Top = donde.top();
        nuevo.Width = w;
        nuevo.Height = h;
        ObjetoTicket& o = d->objeto(d->agregar(nuevo));
        o.Pendiente = Falso;
        o.AnchoImagen = static_cast<int16_t>(w);
        o.ImagenTrabajo = bmp;
        const QString diseno = carpeta.filePath(QStringLiteral("ticket%1.tck").arg(n));
        ASSERT_TRUE(GuardarDisenoComo(*d, diseno).correcto) << caso;
        const QString vistas = carpeta.filePath(QStringLiteral("vistas%1").arg(n));
        const Salida v =
            Ejecutar(QStringLiteral(QUORAVEX_CLI),
                     {QStringLiteral("preview"), diseno, QStringLiteral("--out"), vistas}, carpeta.path());
        ASSERT_EQ(v.codigo, 0) << caso << ": " << v.err.toStdString();
        const QString png = QDir(vistas).filePath(QStringLiteral("ticket-comun.png"));
        const QImage vista = QImage(png).convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(vista.copy(donde), imagen.convertToFormat(QImage::Format_RGB32)) << caso << ": drawn 1:1";
        EXPECT_EQ(Descodificar(zbarimg, png).toStdString(), c.leido.toStdString()) << caso;
    }
}
