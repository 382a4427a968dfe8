// A whole working session driven as a user would: menus, dialogs and the mouse.
#include "app/FormMain.h"
#include "dialogs/Aceptar.h"
#include "dialogs/FrmCodigo.h"
#include "dialogs/FrmEntrar.h"
#include "dialogs/FrmGetFont.h"
#include "dialogs/FrmGetImagen.h"
#include "dialogs/FrmPathFilesOut.h"
#include "dialogs/FrmSelPulsador.h"
#include "document/ArchivoDiseno.h"
#include "editor/CanvasTicket.h"
#include "editor/CodigoObjeto.h"
#include "editor/Historia.h"
#include "render/ImagenObjeto.h"
#include "render/SalidaRaster.h"

#include "support/FicherosImagen.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

using namespace quoravex;
using namespace pruebas;

namespace {

QByteArray leer(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The main window in a temporary current folder, its dialogs answered as a user would.
struct Sesion {
    Sesion() : f(opciones()) {
        EXPECT_TRUE(Escribir(imagen, Codificar(MitadNegra(60, 30), "PNG")));
        f.show();
        f.mostrarMensaje = [](const QString& m) { ADD_FAILURE() << m.toStdString(); };
        f.ejecutarDialogo = [this](QDialog& d) {
            if (auto* texto = qobject_cast<FrmGetFont*>(&d)) {
                auto* entrada = texto->findChild<QLineEdit*>(QStringLiteral("TBEntradaTexto"));
                if (!textoTecleado.isEmpty()) QTest::keyClicks(entrada, textoTecleado);
                QTest::keyClick(entrada, Qt::Key_Return);
            } else if (auto* c = qobject_cast<FrmCodigo*>(&d)) {
                codigo ? codigo(*c) : c->cmdCancelar->click();
            } else if (auto* img = qobject_cast<FrmGetImagen*>(&d)) {
                editoresImagen += 1;
                img->soltarFicheros({imagen});
                img->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
            } else if (auto* sel = qobject_cast<FrmSelPulsador*>(&d)) {
                seleccion(*sel);
            } else if (auto* p = qobject_cast<FrmPathFilesOut*>(&d)) {
                p->RutaElegida = ruta;
            } else if (auto* a = qobject_cast<Aceptar*>(&d)) {
                a->Si->click();
            } else if (auto* e = qobject_cast<FrmEntrar*>(&d)) {
                e->TbEntrar->setText(longitud);
                e->Aceptar_pass->click();
            }
            return d.result();
        };
    }
    OpcionesArranque opciones() {
        OpcionesArranque o;
        o.dirActual = QDir::currentPath();
        return o;
    }
    void menu(const char* nombre) { f.accion(QString::fromLatin1(nombre))->trigger(); }
    void arrastrar(QPoint desde, QPoint hasta) {
        QTest::mousePress(&f.canvas(), Qt::LeftButton, {}, desde);
        QTest::mouseMove(&f.canvas(), hasta);
        QTest::mouseRelease(&f.canvas(), Qt::LeftButton, {}, hasta);
    }
    // The raster file of ticket n (1 the common part) as "Generar Salida" writes it.
    QByteArray raster(int n) { return leer(NombreArchivoSalida(n, QDir::currentPath())); }

    DirectorioActualTemporal actual;
    const QString imagen = QDir::current().filePath(QStringLiteral("logo.png"));
    FormMain f;
    Design& d = f.design();
    QString textoTecleado, ruta, longitud;
    std::function<void(FrmSelPulsador&)> seleccion;
    std::function<void(FrmCodigo&)> codigo; // answers the code dialog; unset: "Cancelar"
    int editoresImagen = 0;
};

} // namespace

TEST(SesionUsuario, DesignSavedClosedAndReopenedGivesTheSameTicket) {
    Sesion s;
    Design& d = s.d;
    FormMain& f = s.f;
    const QString archivo = QDir::current().filePath(QStringLiteral("sucursal.tck"));

    s.textoTecleado = QStringLiteral("Bienvenido");
    s.menu("mnuAnadirTextoFijo");
    s.menu("mnuAnadirImagen");
    s.menu("mnuAnadirLinea");
    s.arrastrar(QPoint(20, 300), QPoint(360, 301));
    s.textoTecleado.clear();
    s.menu("mnuTurnoFormato_3");
    ASSERT_EQ(d.NumObjetos, 4);
    EXPECT_EQ(d.objeto(1).Texto.valor(), QStringLiteral("Bienvenido"));
    EXPECT_EQ(d.objeto(2).Tipo, TipoImagen);
    EXPECT_EQ(d.objeto(3).Width, 340);
    EXPECT_EQ(d.objeto(4).Texto.valor(), QStringLiteral("888"));

    // Three push-buttons; the line moves to push-button 2 and the text is dragged down.
    s.menu("nmuConfNumPuls_3");
    d.Objeto = 3;
    s.seleccion = [](FrmSelPulsador& sel) {
        QTest::mouseClick(sel.Check1[2], Qt::LeftButton, {}, QPoint(8, sel.Check1[2]->height() / 2));
        sel.PBAceptar->click();
    };
    s.menu("mnuSelPulsLinea");
    EXPECT_EQ(d.objeto(3).Pulsadores, 4u);
    const QPoint agarre = f.workspace().item(1).geometry().center();
    s.arrastrar(agarre, agarre + QPoint(0, 40));
    EXPECT_EQ(d.objeto(1).Top, 41);

    f.actualizarComandos(); // what the command-state timer does within 250 ms
    s.ruta = QDir::current().filePath(QStringLiteral("sucursal"));
    s.menu("mnuGuardarTicketComo");
    ASSERT_EQ(d.ArchivoTicket, archivo);
    const QByteArray guardado = leer(archivo);
    f.boton(QStringLiteral("Command2"))->click();
    std::vector<QByteArray> rasters;
    for (int n = 1; n <= 4; ++n)
        rasters.push_back(s.raster(n));
    EXPECT_NE(rasters[2], rasters[1]); // push-button 2 holds the line

    s.menu("mnuCerrarTicket");
    ASSERT_EQ(d.NumObjetos, 0);
    s.ruta = archivo;
    s.menu("mnuAbrirArchivoTicket");
    ASSERT_EQ(d.NumObjetos, 4);
    EXPECT_EQ(CodificarDiseno(d), guardado);
    for (int n = 1; n <= 4; ++n)
        QFile::remove(NombreArchivoSalida(n, QDir::currentPath()));
    f.boton(QStringLiteral("Command2"))->click();
    for (int n = 1; n <= 4; ++n)
        EXPECT_EQ(s.raster(n), rasters[size_t(n - 1)]) << n;
}

TEST(SesionUsuario, EveryStepUndoneAndRedoneGivesTheSameFiles) {
    Sesion s;
    Design& d = s.d;
    FormMain& f = s.f;
    // What a save and "Generar Salida" would write now.
    const auto archivos = [&] {
        f.boton(QStringLiteral("Command2"))->click();
        return std::pair{CodificarDiseno(d), s.raster(1)};
    };
    const auto inicio = archivos();

    s.textoTecleado = QStringLiteral("Bienvenido");
    s.menu("mnuAnadirTextoFijo");
    s.textoTecleado.clear();
    s.menu("mnuAnadirImagen");
    s.menu("mnuAnadirLinea");
    s.arrastrar(QPoint(20, 300), QPoint(360, 301));
    s.menu("mnuTurnoFormato_3");
    ASSERT_EQ(d.NumObjetos, 4);
    const QPoint agarre = f.workspace().item(1).geometry().center();
    s.arrastrar(agarre, agarre + QPoint(10, 40));
    d.Objeto = 4;
    s.menu("mnuCentradoVerticalObjeto"); // the turn field goes to the middle of the ticket
    d.Objeto = 3;
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(&f.canvas(), Qt::Key_Right);
    d.Objeto = 1;
    s.textoTecleado = QStringLiteral(" y gracias");
    s.menu("mnuModificaObjeto");
    EXPECT_EQ(d.objeto(1).Texto.valor(), QStringLiteral("Bienvenido y gracias"));
    const auto antesDeBorrar = archivos();
    const QString bitmapBorrado = ResolverRutaImagen(d.objeto(2).ImagenTrabajo.valor());
    d.Objeto = 2;
    s.menu("mnuBorrar"); // Supr in "Edición"
    s.longitud = QString::number(d.objeto(4).Top - 1);
    s.menu("mnuConfigLargoTicket");
    EXPECT_FALSE(d.enUso(4)); // the turn field was below the new length
    const auto fin = archivos();

    QUndoStack& pila = f.historia().pila();
    EXPECT_EQ(pila.count(), 10); // four adds, a drag, centre, three nudges, modify, delete, length
    EXPECT_EQ(f.accion(QStringLiteral("mnuDeshacer"))->text(), QStringLiteral("Deshacer Longitud"));
    EXPECT_EQ(d.TicketModificado, Verdadero);
    while (pila.canUndo())
        s.menu("mnuDeshacer");
    EXPECT_EQ(f.accion(QStringLiteral("mnuRehacer"))->text(), QStringLiteral("Rehacer Añadir Texto"));
    EXPECT_EQ(d.TicketModificado, Falso); // back at the state the session started from
    EXPECT_EQ(archivos(), inicio);
    EXPECT_EQ(d.NumObjetos, 0);
    while (pila.canRedo())
        s.menu("mnuRehacer");
    EXPECT_EQ(d.TicketModificado, Verdadero);
    EXPECT_EQ(archivos(), fin);
    // A new picture takes the deleted one's slot but a bitmap of its own; going back shows
    // the old picture again, even when its bitmap was deleted outside the program.
    ASSERT_TRUE(Escribir(s.imagen, Codificar(MitadNegra(30, 80), "PNG")));
    s.menu("mnuAnadirImagen");
    ASSERT_EQ(d.objeto(2).Tipo, TipoImagen);
    EXPECT_NE(ResolverRutaImagen(d.objeto(2).ImagenTrabajo.valor()), bitmapBorrado);
    ASSERT_TRUE(QFile::remove(bitmapBorrado));
    pila.setIndex(8); // after "Modificar", before "Borrar"
    EXPECT_EQ(archivos(), antesDeBorrar);

    // Saved into a folder of its own, then changed and undone: no question when leaving, and
    // the design in memory is the one on disk, with its pictures in that folder.
    const QString carpeta = QDir::current().filePath(QStringLiteral("guardado"));
    ASSERT_TRUE(QDir().mkpath(carpeta));
    s.ruta = QDir(carpeta).filePath(QStringLiteral("diseno"));
    s.menu("mnuGuardarTicketComo");
    EXPECT_EQ(d.TicketModificado, Falso);
    s.menu("mnuDeshacer");
    EXPECT_EQ(d.TicketModificado, Verdadero);
    s.menu("mnuRehacer");
    EXPECT_EQ(d.TicketModificado, Falso);
    EXPECT_EQ(CodificarDiseno(d), leer(d.ArchivoTicket));
    EXPECT_TRUE(d.objeto(2).ImagenTrabajo.valor().startsWith(QDir::toNativeSeparators(carpeta)));
    s.menu("mnuNuevoTicket");
    EXPECT_EQ(pila.count(), 0);
}

// A QR code added, edited, undone and copied: the working bitmap is always the symbol at
// its module size, the box its exact size, and the code dialog opens again with its data.
TEST(SesionUsuario, CodeAddedEditedUndoneAndCopied) {
    Sesion s;
    Design& d = s.d;
    const QString url = QStringLiteral("https://turnos.example.com/sucursal/12");
    const auto comprobar = [&](int slot, int modulo) {
        ParametrosCodigo p;
        p.datos = url;
        p.modulo = modulo;
        const QImage esperada = GenerarCodigo(p).imagen;
        ASSERT_FALSE(esperada.isNull());
        const ObjetoTicket& o = d.objeto(slot);
        EXPECT_EQ(o.Tipo, TipoImagen);
        EXPECT_EQ(QSize(o.Width, o.Height), esperada.size());
        EXPECT_EQ(o.AnchoImagen, esperada.width());
        const std::optional<QImage> bitmap = CargarImagen(ResolverRutaImagen(o.ImagenTrabajo.valor()));
        ASSERT_TRUE(bitmap.has_value());
        EXPECT_EQ(bitmap->convertToFormat(esperada.format()), esperada);
        EXPECT_EQ(LeerCodigoObjeto(o), std::optional<ParametrosCodigo>(p));
    };

    s.menu("mnuAnadirCodigo"); // cancelled: nothing stays
    EXPECT_EQ(d.NumObjetos, 0);
    s.codigo = [&](FrmCodigo& c) {
        c.txtDatos->setText(url);
        c.cmdAceptar->click();
    };
    s.menu("mnuAnadirCodigo");
    ASSERT_EQ(d.NumObjetos, 1);
    comprobar(1, 4);
    EXPECT_EQ(d.objeto(1).Left, (384 - d.objeto(1).Width) / 2);

    s.codigo = [&](FrmCodigo& c) {
        EXPECT_EQ(c.txtDatos->text(), url);
        EXPECT_EQ(c.spnModulo->value(), 4);
        c.spnModulo->setValue(3);
        c.cmdAceptar->click();
    };
    d.Objeto = 1;
    s.menu("mnuModificaObjeto");
    comprobar(1, 3);
    s.menu("mnuDeshacer");
    comprobar(1, 4);

    d.Objeto = 1;
    s.menu("mnuCopiarObjeto");
    ASSERT_EQ(d.NumObjetos, 2);
    EXPECT_NE(d.objeto(2).ImagenOrigen.valor(), d.objeto(1).ImagenOrigen.valor());
    comprobar(2, 4);

    // Without its description the code is an ordinary picture again.
    ASSERT_TRUE(QFile::remove(ResolverRutaImagen(d.objeto(2).ImagenOrigen.valor())));
    d.Objeto = 2;
    s.menu("mnuModificaObjeto");
    EXPECT_EQ(s.editoresImagen, 1);
}

// Two designs with a different picture in the same slot, made one after the other in one
// working folder, keep their own pictures; a folder holding a design holds what it prints;
// pictures found nowhere are named once when the design opens.
TEST(SesionUsuario, EachDesignKeepsItsPicturesAndTravelsWithThem) {
    Sesion s;
    Design& d = s.d;
    FormMain& f = s.f;
    const auto guardarComo = [&](const QString& ruta) {
        f.actualizarComandos(); // what the command-state timer does within 250 ms
        s.ruta = ruta;
        s.menu("mnuGuardarTicketComo");
    };
    const auto hacer = [&](const QImage& imagen, const QString& nombre) {
        EXPECT_TRUE(Escribir(s.imagen, Codificar(imagen, "PNG")));
        s.menu("mnuAnadirImagen");
        guardarComo(QDir::current().filePath(nombre));
        f.boton(QStringLiteral("Command2"))->click();
        const QByteArray raster = s.raster(1);
        s.menu("mnuCerrarTicket");
        return raster;
    };
    const auto abrir = [&](const QString& archivo) {
        QFile::remove(NombreArchivoSalida(1, QDir::currentPath()));
        s.ruta = archivo;
        s.menu("mnuAbrirArchivoTicket");
        f.boton(QStringLiteral("Command2"))->click();
        return s.raster(1);
    };
    // Both in the working folder, both pictures in slot 1.
    const QByteArray uno = hacer(MitadNegra(60, 30), QStringLiteral("uno"));
    const QByteArray dos = hacer(MitadNegra(30, 80), QStringLiteral("dos"));
    ASSERT_FALSE(uno.isEmpty());
    EXPECT_NE(uno, dos);
    EXPECT_EQ(abrir(QDir::current().filePath(QStringLiteral("uno.tck"))), uno);
    EXPECT_EQ(abrir(QDir::current().filePath(QStringLiteral("dos.tck"))), dos);

    // A save that fails (a folder where the design file would go) leaves no picture behind
    // and the design as it was.
    const QDir bloqueada(QDir::current().filePath(QStringLiteral("bloqueada")));
    ASSERT_TRUE(QDir().mkpath(bloqueada.filePath(QStringLiteral("dos.tck"))));
    const QByteArray antesDeFallar = CodificarDiseno(d);
    QStringList fallos;
    f.mostrarMensaje = [&](const QString& m) { fallos << m; };
    guardarComo(bloqueada.filePath(QStringLiteral("dos")));
    EXPECT_EQ(fallos.size(), 1);
    EXPECT_EQ(bloqueada.entryList(QDir::Files), QStringList());
    EXPECT_EQ(CodificarDiseno(d), antesDeFallar);
    EXPECT_EQ(d.TicketModificado, Falso);
    f.mostrarMensaje = [](const QString& m) { ADD_FAILURE() << m.toStdString(); };

    // Saved into a folder of its own, that folder copied elsewhere, the working folder's
    // bitmaps and the original folder gone: the copy still prints the same.
    const QDir carpeta(QDir::current().filePath(QStringLiteral("sucursal")));
    const QDir copia(QDir::current().filePath(QStringLiteral("copia")));
    ASSERT_TRUE(QDir().mkpath(carpeta.path()) && QDir().mkpath(copia.path()));
    guardarComo(carpeta.filePath(QStringLiteral("dos")));
    s.menu("mnuCerrarTicket");
    abrir(QDir::current().filePath(QStringLiteral("uno.tck")));
    guardarComo(carpeta.filePath(QStringLiteral("uno")));
    s.menu("mnuCerrarTicket");
    for (const QString& nombre : carpeta.entryList(QDir::Files))
        ASSERT_TRUE(QFile::copy(carpeta.filePath(nombre), copia.filePath(nombre)));
    ASSERT_TRUE(QDir(carpeta).removeRecursively());
    for (const QString& nombre : QDir::current().entryList({QStringLiteral("Imagen*.bmp")}, QDir::Files))
        ASSERT_TRUE(QFile::remove(nombre));
    EXPECT_EQ(abrir(copia.filePath(QStringLiteral("uno.tck"))), uno);
    EXPECT_EQ(abrir(copia.filePath(QStringLiteral("dos.tck"))), dos);
    const QString bitmap = d.objeto(1).ImagenTrabajo.valor();
    s.menu("mnuCerrarTicket");

    // Without its picture the design still opens, and says which file is missing.
    QStringList mensajes;
    f.mostrarMensaje = [&](const QString& m) { mensajes << m; };
    ASSERT_TRUE(QFile::remove(copia.filePath(QFileInfo(bitmap).fileName())));
    s.ruta = copia.filePath(QStringLiteral("dos.tck"));
    s.menu("mnuAbrirArchivoTicket");
    EXPECT_EQ(d.NumObjetos, 1);
    EXPECT_EQ(mensajes, QStringList{QStringLiteral("No se encuentran estas imágenes del diseño; sus objetos se ven "
                                                   "en blanco:\n") + bitmap});
}
