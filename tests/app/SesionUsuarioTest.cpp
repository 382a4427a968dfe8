// A whole working session driven as a user would: menus, dialogs and the mouse.
#include "app/FormMain.h"
#include "dialogs/Aceptar.h"
#include "dialogs/FrmGetFont.h"
#include "dialogs/FrmGetImagen.h"
#include "dialogs/FrmPathFilesOut.h"
#include "dialogs/FrmSelPulsador.h"
#include "document/ArchivoDiseno.h"
#include "editor/CanvasTicket.h"
#include "render/SalidaRaster.h"

#include "support/FicherosImagen.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace quoravex;
using namespace pruebas;

namespace {

QByteArray leer(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(SesionUsuario, DesignSavedClosedAndReopenedGivesTheSameTicket) {
    DirectorioActualTemporal actual;
    const QString imagen = QDir::current().filePath(QStringLiteral("logo.png"));
    ASSERT_TRUE(Escribir(imagen, Codificar(MitadNegra(60, 30), "PNG")));
    const QString archivo = QDir::current().filePath(QStringLiteral("sucursal.tck"));

    OpcionesArranque o;
    o.dirActual = QDir::currentPath();
    FormMain f(o);
    f.show();
    QString textoTecleado;
    QString ruta;
    std::function<void(FrmSelPulsador&)> seleccion;
    f.mostrarMensaje = [](const QString& m) { ADD_FAILURE() << m.toStdString(); };
    f.ejecutarDialogo = [&](QDialog& d) {
        if (auto* texto = qobject_cast<FrmGetFont*>(&d)) {
            auto* entrada = texto->findChild<QLineEdit*>(QStringLiteral("TBEntradaTexto"));
            if (!textoTecleado.isEmpty()) QTest::keyClicks(entrada, textoTecleado);
            QTest::keyClick(entrada, Qt::Key_Return);
        } else if (auto* img = qobject_cast<FrmGetImagen*>(&d)) {
            img->soltarFicheros({imagen});
            img->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
        } else if (auto* sel = qobject_cast<FrmSelPulsador*>(&d)) {
            seleccion(*sel);
        } else if (auto* p = qobject_cast<FrmPathFilesOut*>(&d)) {
            p->RutaElegida = ruta;
        } else if (auto* a = qobject_cast<Aceptar*>(&d)) {
            a->Si->click();
        }
        return d.result();
    };
    auto menu = [&](const char* nombre) { f.accion(QString::fromLatin1(nombre))->trigger(); };
    CanvasTicket& canvas = f.canvas();

    textoTecleado = QStringLiteral("Bienvenido");
    menu("mnuAnadirTextoFijo");
    menu("mnuAnadirImagen");
    menu("mnuAnadirLinea");
    QTest::mousePress(&canvas, Qt::LeftButton, {}, QPoint(20, 300));
    QTest::mouseMove(&canvas, QPoint(360, 301));
    QTest::mouseRelease(&canvas, Qt::LeftButton, {}, QPoint(360, 301));
    textoTecleado.clear();
    menu("mnuTurnoFormato_3");
    Design& d = f.design();
    ASSERT_EQ(d.NumObjetos, 4);
    EXPECT_EQ(d.objeto(1).Texto.valor(), QStringLiteral("Bienvenido"));
    EXPECT_EQ(d.objeto(2).Tipo, TipoImagen);
    EXPECT_EQ(d.objeto(3).Width, 340);
    EXPECT_EQ(d.objeto(4).Texto.valor(), QStringLiteral("888"));

    // Three push-buttons; the line moves to push-button 2 and the text is dragged down.
    menu("nmuConfNumPuls_3");
    d.Objeto = 3;
    seleccion = [](FrmSelPulsador& s) {
        QTest::mouseClick(s.Check1[2], Qt::LeftButton, {}, QPoint(8, s.Check1[2]->height() / 2));
        s.PBAceptar->click();
    };
    menu("mnuSelPulsLinea");
    EXPECT_EQ(d.objeto(3).Pulsadores, 4u);
    const QPoint agarre = f.workspace().item(1).geometry().center();
    QTest::mousePress(&canvas, Qt::LeftButton, {}, agarre);
    QTest::mouseMove(&canvas, agarre + QPoint(0, 40));
    QTest::mouseRelease(&canvas, Qt::LeftButton, {}, agarre + QPoint(0, 40));
    EXPECT_EQ(d.objeto(1).Top, 41);

    f.actualizarComandos(); // what the command-state timer does within 250 ms
    ruta = QDir::current().filePath(QStringLiteral("sucursal"));
    menu("mnuGuardarTicketComo");
    ASSERT_EQ(d.ArchivoTicket, archivo);
    const QByteArray guardado = leer(archivo);
    f.boton(QStringLiteral("Command2"))->click();
    std::vector<QByteArray> rasters;
    for (int n = 1; n <= 4; ++n)
        rasters.push_back(leer(NombreArchivoSalida(n, QDir::currentPath())));
    EXPECT_NE(rasters[2], rasters[1]); // push-button 2 holds the line

    menu("mnuCerrarTicket");
    ASSERT_EQ(d.NumObjetos, 0);
    ruta = archivo;
    menu("mnuAbrirArchivoTicket");
    ASSERT_EQ(d.NumObjetos, 4);
    EXPECT_EQ(CodificarDiseno(d), guardado);
    for (int n = 1; n <= 4; ++n)
        QFile::remove(NombreArchivoSalida(n, QDir::currentPath()));
    f.boton(QStringLiteral("Command2"))->click();
    for (int n = 1; n <= 4; ++n)
        EXPECT_EQ(leer(NombreArchivoSalida(n, QDir::currentPath())), rasters[size_t(n - 1)]) << n;
}
