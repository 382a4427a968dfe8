// Codes made by "quoravex-cli codigo" read back by an independent decoder, zbarimg: from the
// bitmap the command writes, and from the preview of a ticket that carries it as a picture.
#include "Muestra.h"

#include "document/ArchivoDiseno.h"

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

using namespace quoravex;
using muestra::Correr;
using muestra::Salida;

namespace {

// What zbarimg reads in the picture, without the line end it adds.
std::string Descodificar(const QString& zbarimg, const QString& imagen) {
    const Salida s = Correr({QStringLiteral("--raw"), QStringLiteral("-q"), imagen},
                            QFileInfo(imagen).absolutePath(), zbarimg);
    const QString texto = QString::fromUtf8(s.out).chopped(s.out.endsWith('\n') ? 1 : 0);
    return (s.codigo == 0 ? texto : QStringLiteral("(zbarimg: %1) %2").arg(s.codigo).arg(s.err))
        .toStdString();
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
    const struct {
        const char* tipo;
        QString datos;
        const char* opciones; // separated by "|"
        QString leido;        // what a reader gets
    } casos[] = {
        {"qr", url, "", url},
        {"qr", acentos, "", acentos},
        {"qr", QStringLiteral("Caja 3"), "--nivel|H|--version|4|--modulo|3", QStringLiteral("Caja 3")},
        {"code128", QStringLiteral("Turno A-042"), "", QStringLiteral("Turno A-042")},
        {"code128", QStringLiteral("A-42"), "--modulo|3|--sin-texto", QStringLiteral("A-42")},
        {"ean13", QStringLiteral("590123412345"), "", QStringLiteral("5901234123457")},
        {"ean13", QStringLiteral("4006381333931"), "--sin-texto", QStringLiteral("4006381333931")},
        {"code39", QStringLiteral("TURNO-42"), "", QStringLiteral("TURNO-42")},
    };
    ASSERT_EQ(url.size(), 200);

    QTemporaryDir carpeta;
    int n = 0;
    for (const auto& c : casos) {
        const std::string caso = std::to_string(++n) + " " + c.tipo;
        // The command's bitmap.
        const QString bmp = carpeta.filePath(QStringLiteral("codigo%1.bmp").arg(n));
        const Salida s = Correr(
            QStringList{QStringLiteral("codigo"), QStringLiteral("--tipo"), QString::fromLatin1(c.tipo),
                        QStringLiteral("--datos"), c.datos, QStringLiteral("--out"), bmp} +
                QString::fromLatin1(c.opciones).split(QLatin1Char('|'), Qt::SkipEmptyParts),
            carpeta.path());
        ASSERT_EQ(s.codigo, 0) << caso << ": " << s.err.toStdString();
        const QImage imagen(bmp);
        ASSERT_EQ(imagen.depth(), 1) << caso;
        const int w = imagen.width(), h = imagen.height();
        EXPECT_EQ(QString::fromUtf8(s.out),
                  QStringLiteral("%1: %2 x %3 puntos\n").arg(QDir::toNativeSeparators(bmp)).arg(w).arg(h))
            << caso;
        EXPECT_EQ(Descodificar(zbarimg, bmp), c.leido.toStdString()) << caso;

        // The same bitmap as a picture object drawn 1:1 on a ticket, saved, then previewed.
        ASSERT_LE(w, 384) << caso;
        ASSERT_LE(bmp.size(), LongitudRuta) << caso;
        auto d = std::make_unique<Design>();
        d->LargoTicket = static_cast<int16_t>(h + 40);
        const QRect donde((384 - w) / 2, 20, w, h);
        ObjetoTicket& o =
            d->objeto(d->agregar({TipoImagen, std::nullopt, donde.top(), donde.left(), w, h, {}, 1}));
        o.Pendiente = Falso;
        o.AnchoImagen = static_cast<int16_t>(w);
        o.ImagenTrabajo = bmp;
        const QString diseno = carpeta.filePath(QStringLiteral("ticket%1.tck").arg(n));
        ASSERT_TRUE(GuardarDisenoComo(*d, diseno).correcto) << caso;
        const QString vistas = carpeta.filePath(QStringLiteral("vistas%1").arg(n));
        const Salida v =
            Correr({QStringLiteral("preview"), diseno, QStringLiteral("--out"), vistas}, carpeta.path());
        ASSERT_EQ(v.codigo, 0) << caso << ": " << v.err.toStdString();
        const QString png = QDir(vistas).filePath(QStringLiteral("ticket-comun.png"));
        const QImage vista = QImage(png).convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(vista.copy(donde), imagen.convertToFormat(QImage::Format_RGB32)) << caso << ": drawn 1:1";
        EXPECT_EQ(Descodificar(zbarimg, png), c.leido.toStdString()) << caso;
    }
}
