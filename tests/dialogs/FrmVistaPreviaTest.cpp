#include "dialogs/FrmVistaPrevia.h"

#include "document/ArchivoDiseno.h"
#include "document/Design.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

using namespace quoravex;

namespace {

const QString DirDatos = QStringLiteral(QUORAVEX_DATOS_PRUEBA);
const QString Muestra = QDir(DirDatos).filePath(QStringLiteral("muestra.tck"));

// What the window shows for ticket n, as RGB.
QImage mostrada(const FrmVistaPrevia& f, int n) {
    auto* w = f.AreaTickets->findChild<QWidget*>(QStringLiteral("Ticket%1").arg(n));
    return w ? w->grab().toImage().convertToFormat(QImage::Format_RGB32) : QImage();
}

QStringList titulos(const FrmVistaPrevia& f) {
    QStringList t;
    for (int n = 0; auto* l = f.AreaTickets->findChild<QLabel*>(QStringLiteral("LbTitulo%1").arg(n)); ++n)
        t << l->text();
    return t;
}

QImage leerRgb(const QString& carpeta, int n) {
    return QImage(QDir(carpeta).filePath(NombreVistaPrevia(n))).convertToFormat(QImage::Format_RGB32);
}

} // namespace

TEST(FrmVistaPrevia, ShowsExportsAndUpdatesExactlyWhatTheCommandLineToolDraws) {
    auto d = std::make_unique<Design>();
    ASSERT_TRUE(AbrirDiseno(*d, Muestra).correcto);
    d->VistaActual = Design::mascaraVista(2);
    const QByteArray antes = CodificarDiseno(*d);
    std::optional<VistasDiseno> impuesta;
    FrmVistaPrevia f([&] { return impuesta ? *impuesta : VistasPreviasDiseno(*d, DirDatos); });
    f.show();
    EXPECT_EQ(std::tuple(CodificarDiseno(*d), d->VistaActual), std::tuple(antes, Design::mascaraVista(2)))
        << "the preview draws on a copy";
    EXPECT_EQ(titulos(f), (QStringList{QStringLiteral("Parte Común"), QStringLiteral("Pulsador 1"),
                                       QStringLiteral("Pulsador 2"), QStringLiteral("Pulsador 3")}));

    QTemporaryDir trabajo;
    const QString delCli = trabajo.filePath(QStringLiteral("cli"));
    QProcess cli;
    cli.setWorkingDirectory(trabajo.path());
    cli.start(QStringLiteral(QUORAVEX_CLI),
              {QStringLiteral("preview"), Muestra, QStringLiteral("--out"), delCli});
    ASSERT_TRUE(cli.waitForFinished(120000));
    ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    const QStringList nombres = QDir(delCli).entryList(QDir::Files, QDir::Name);

    const QString exportada = trabajo.filePath(QStringLiteral("exportada"));
    ASSERT_TRUE(QDir().mkpath(exportada));
    f.ElegirCarpeta = [&] { return exportada; };
    QStringList avisos;
    f.Avisar = [&](const QString& t) { avisos << t; };
    QTest::mouseClick(f.CmdExportar, Qt::LeftButton);
    EXPECT_EQ(QDir(exportada).entryList(QDir::Files, QDir::Name), nombres);

    for (int n = 0; n < 4; ++n) {
        const QImage png = leerRgb(delCli, n);
        ASSERT_EQ(png.size(), QSize(384, 401)) << n;
        EXPECT_EQ(mostrada(f, n), png) << n;
        EXPECT_EQ(leerRgb(exportada, n), png) << n;
    }

    // Magnified, every dot is a sharp block, never a blend of its neighbours.
    for (const int zoom : {3, 2, 1}) {
        f.CmbZoom->setCurrentIndex(f.CmbZoom->findText(QStringLiteral("%1 %").arg(zoom * 100)));
        const QImage png = leerRgb(delCli, 1);
        EXPECT_EQ(mostrada(f, 1),
                  png.scaled(png.size() * zoom, Qt::IgnoreAspectRatio, Qt::FastTransformation))
            << zoom;
    }

    // A folder where nothing can be written: the message names the first picture.
    ASSERT_TRUE(QFile(trabajo.filePath(QStringLiteral("no-es-carpeta"))).open(QIODevice::WriteOnly));
    const QString mala = trabajo.filePath(QStringLiteral("no-es-carpeta/sub"));
    f.ElegirCarpeta = [&] { return mala; };
    QTest::mouseClick(f.CmdExportar, Qt::LeftButton);
    EXPECT_EQ(avisos, QStringList{QStringLiteral("No se puede escribir la imagen %1.")
                                      .arg(QDir::toNativeSeparators(
                                          QDir(mala).filePath(QStringLiteral("ticket-comun.png"))))});

    // Updating draws the design afresh, one push-button less; failures show inside the window.
    d->NumPulsadores = 2;
    VistaPreviaTicket conAviso;
    conAviso.imagen = QImage(384, 11, QImage::Format_RGB32);
    conAviso.avisos << QStringLiteral("Falta el fichero de salida X.");
    const QString fallo = QStringLiteral("No se pudo escribir el archivo Y.");
    const struct {
        std::optional<VistasDiseno> vistas;
        int tickets;
        QString mensajes;
    } casos[] = {
        {VistasDiseno{{}, fallo}, 0, fallo},
        {VistasDiseno{{conAviso}, {}}, 1, QStringLiteral("Falta el fichero de salida X.")},
        {std::nullopt, 3, QString()},
    };
    for (const auto& c : casos) {
        impuesta = c.vistas;
        f.actualizar();
        EXPECT_EQ(std::tuple(titulos(f).size(), f.CmdExportar->isEnabled(), f.LbMensajes->isVisible(),
                             f.LbMensajes->text()),
                  std::tuple(c.tickets, c.tickets > 0, !c.mensajes.isEmpty(), c.mensajes))
            << c.mensajes.toStdString();
    }
}
