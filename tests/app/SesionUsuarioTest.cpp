// Whole working sessions driven as a user would: menus, dialogs, the mouse and the keys.
#include "VentanaPrueba.h"
#include "editor/CodigoObjeto.h"
#include "editor/Historia.h"
#include "render/ImagenObjeto.h"

#include <QSpinBox>
#include <cmath>

using namespace quoravex;
using namespace pruebas;

TEST(SesionUsuario, DesignSavedClosedReopenedAndSentGivesTheSameTicket) {
    VentanaPrueba s;
    Design& d = s.d;
    FormMain& f = s.f;
    // Saving, sending and the turn field on offer, as the command-state timer sets them.
    const auto activas = [&] {
        f.actualizarComandos();
        QString r;
        for (const char* n : {"mnuGuardarTicket", "mnuEnviarAPrinter", "mnuAnadirTurno"})
            r += QLatin1Char(s.accion(n)->isEnabled() ? '1' : '0');
        return r;
    };
    EXPECT_EQ(activas(), QStringLiteral("001"));
    s.texto = QStringLiteral("Bienvenido");
    s.menu("mnuAnadirTextoFijo");
    s.menu("mnuAnadirImagen");
    s.linea({20, 300}, {360, 301});
    s.texto.clear();
    s.menu("mnuTurnoFormato_3");
    ASSERT_EQ(d.NumObjetos, 4);
    EXPECT_EQ(
        std::tuple(d.objeto(1).Texto.valor(), d.objeto(2).Tipo, d.objeto(3).Width, d.objeto(4).Texto.valor()),
        std::tuple(QStringLiteral("Bienvenido"), TipoImagen, int16_t(340), QStringLiteral("888")));

    // Three push-buttons; the line moves to push-button 2.
    s.menu("nmuConfNumPuls_3");
    s.elegir(3);
    s.seleccion = [](FrmSelPulsador& sel) {
        QTest::mouseClick(sel.Check1[2], Qt::LeftButton, {}, QPoint(8, sel.Check1[2]->height() / 2));
        sel.PBAceptar->click();
    };
    s.menu("mnuSelPulsLinea");
    // A view per push-button: there the common objects are grey; the common part parks the line.
    activas();
    EXPECT_EQ(f.selectorVista().count(), 4);
    f.seleccionVista(QStringLiteral("Ticket Pulsador 2"));
    EXPECT_EQ(std::pair(d.VistaActual, s.caja(2).point(5, 5)),
              std::pair(4u, static_cast<int32_t>(ColorGris)));
    f.seleccionVista(QStringLiteral("Parte Común"));
    EXPECT_EQ(std::pair(d.VistaActual, s.caja(3).left()), std::pair(1u, 1000));
    f.seleccionVista(QStringLiteral("Ticket Pulsador 3"));
    s.menu("nmuConfNumPuls_2");
    s.menu("mnuDeshacer"); // three push-buttons again, shown from the common part
    EXPECT_EQ(std::pair(d.VistaActual, int(d.NumPulsadores)), std::pair(1u, 3));
    s.menu("mnuTicketTipoPulsadorUnico");
    EXPECT_EQ(std::pair(int(d.NumPulsadores), activas()), std::pair(0, QStringLiteral("110")));
    EXPECT_FALSE(f.selectorVista().isVisible());
    s.menu("mnuDeshacer");

    // Saved into a folder of its own.
    ASSERT_TRUE(QDir().mkpath(QStringLiteral("disenos")));
    const QString archivo = QDir::current().filePath(QStringLiteral("disenos/sucursal.tck"));
    s.menuArchivo("mnuGuardarTicketComo", QDir::current().filePath(QStringLiteral("disenos/sucursal")));
    ASSERT_EQ(d.ArchivoTicket, archivo);
    const QByteArray guardado = Leer(archivo);
    s.generar();
    std::vector<QByteArray> rasters;
    for (int n = 1; n <= 4; ++n)
        rasters.push_back(s.raster(n));
    EXPECT_NE(rasters[2], rasters[1]); // push-button 2 holds the line
    // The hidden plotting buttons: push-button 2's file has the line, the common part's not.
    const Surface& lienzo = f.workspace().PicLienzo;
    f.boton(QStringLiteral("PBCargarSalida_2"))->click();
    EXPECT_EQ(lienzo.point(100, 300), 0);
    f.boton(QStringLiteral("PBCargarSalida_0"))->click();
    EXPECT_EQ(lienzo.point(100, 300), 0xFFFFFF);

    s.menu("mnuCerrarTicket");
    ASSERT_EQ(std::pair(int(d.NumObjetos), int(d.NumPulsadores)), std::pair(0, 0));
    s.menuArchivo("mnuAbrirArchivoTicket", archivo);
    EXPECT_EQ(CodificarDiseno(d), guardado);

    // Sent: the files are made afresh in the current folder and the printer gets them unchanged.
    for (int n = 1; n <= 4; ++n)
        QFile::remove(NombreArchivoSalida(n, QDir::currentPath()));
    f.actualizarComandos();
    s.menu("mnuEnviarAPrinter");
    ASSERT_EQ(s.enlace.impresora.rasters.size(), 4u);
    for (int n = 1; n <= 4; ++n) {
        EXPECT_EQ(s.raster(n), rasters[size_t(n - 1)]) << n;
        QByteArray recibido = s.enlace.impresora.rasters[n - 1].archivo();
        if (recibido.size() == 1) recibido.append('\0'); // no segments: the header as a 16-bit value
        EXPECT_EQ(recibido, rasters[size_t(n - 1)]) << n;
    }
    EXPECT_EQ(s.enlace.impresora.fonts[0].archivo(), Leer(QStringLiteral("DatosRasterTurno.bin")));
    EXPECT_EQ(std::pair(PulsadoresDeTeclado(s.enlace.impresora.codigoTeclado),
                        s.enlace.impresora.codigoTeclado & 0xF),
              std::pair(3, int(d.ModeloTeclado)));
    EXPECT_EQ(s.mensajes + s.errores, QStringList());
}

TEST(SesionUsuario, EveryStepUndoneAndRedoneGivesTheSameFiles) {
    VentanaPrueba s;
    Design& d = s.d;
    FormMain& f = s.f;
    // What a save and "Generar Salida" would write now.
    const auto archivos = [&] {
        s.generar();
        return std::pair{CodificarDiseno(d), s.raster(1)};
    };
    const auto inicio = archivos();

    s.texto = QStringLiteral("Bienvenido");
    s.menu("mnuAnadirTextoFijo");
    s.texto.clear();
    s.menu("mnuAnadirImagen");
    s.linea({20, 300}, {360, 301});
    s.menu("mnuTurnoFormato_3");
    const QPoint agarre = s.caja(1).geometry().center();
    s.arrastrar(agarre, agarre + QPoint(10, 40));
    s.elegir(4);
    s.menu("mnuCentradoVerticalObjeto"); // the turn field goes to the middle of the ticket
    s.elegir(3);
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(&f.canvas(), Qt::Key_Right);
    s.elegir(1);
    s.texto = QStringLiteral(" y gracias");
    s.menu("mnuModificaObjeto");
    EXPECT_EQ(d.objeto(1).Texto.valor(), QStringLiteral("Bienvenido y gracias"));
    const auto antesDeBorrar = archivos();
    const QString bitmapBorrado = ResolverRutaImagen(d.objeto(2).ImagenTrabajo.valor());
    s.elegir(2);
    s.menu("mnuBorrar"); // Supr in "Edición"
    // A length over 511 is refused with the stop icon; a shorter one drops what lies below it.
    s.longitud = QStringLiteral("512");
    s.menu("mnuConfigLargoTicket");
    EXPECT_EQ(s.criticos, QStringList{QStringLiteral("Longitud demasiado grande! (Longitud de 1 a 511). "
                                                     "Por Favor cambie su selección.")});
    const int largo = d.objeto(4).Top;
    s.longitud = QString::number(largo);
    s.menu("mnuConfigLargoTicket");
    EXPECT_EQ(std::tuple(int(d.LargoTicket), d.enUso(3), d.enUso(4), f.canvas().height()),
              std::tuple(largo, false, true, largo + 1)); // the line was below, the turn field on the edge
    const auto fin = archivos();

    QUndoStack& pila = f.historia().pila();
    EXPECT_EQ(pila.count(), 10); // four adds, a drag, centre, three nudges, modify, delete, length
    EXPECT_EQ(s.accion("mnuDeshacer")->text(), QStringLiteral("Deshacer Longitud"));
    EXPECT_EQ(d.TicketModificado, Verdadero);
    while (pila.canUndo())
        s.menu("mnuDeshacer");
    EXPECT_EQ(s.accion("mnuRehacer")->text(), QStringLiteral("Rehacer Añadir Texto"));
    EXPECT_EQ(d.TicketModificado, Falso); // back at the state the session started from
    EXPECT_EQ(archivos(), inicio);
    EXPECT_EQ(std::pair(int(d.NumObjetos), f.canvas().height()), std::pair(0, 501));
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

    // Saved into a folder of its own, then changed and undone: the design in memory is the one
    // on disk, its pictures in that folder, and leaving asks nothing.
    const QString carpeta = QDir::current().filePath(QStringLiteral("guardado"));
    ASSERT_TRUE(QDir().mkpath(carpeta));
    s.menuArchivo("mnuGuardarTicketComo", QDir(carpeta).filePath(QStringLiteral("diseno")));
    s.menu("mnuDeshacer");
    s.menu("mnuRehacer");
    EXPECT_EQ(std::pair(d.TicketModificado, CodificarDiseno(d)), std::pair(Falso, Leer(d.ArchivoTicket)));
    s.menu("mnuNuevoTicket");
    EXPECT_EQ(std::pair(pila.count(), d.ArchivoTicket),
              std::pair(0, d.DirTickets + QStringLiteral("TICKET.tck")));
    EXPECT_EQ(s.mensajes + s.preguntas, QStringList());
}

// A QR code added, edited, undone and copied: the working bitmap is always the symbol at
// its module size, the box its exact size, and the code dialog opens again with its data.
TEST(SesionUsuario, CodeAddedEditedUndoneAndCopied) {
    VentanaPrueba s;
    Design& d = s.d;
    const QString url = QStringLiteral("https://turnos.example.com/sucursal/12");
    const auto comprobar = [&](int slot, int modulo) {
        ParametrosCodigo p;
        p.datos = url;
        p.modulo = modulo;
        const QImage esperada = GenerarCodigo(p).imagen;
        ASSERT_FALSE(esperada.isNull());
        const ObjetoTicket& o = d.objeto(slot);
        EXPECT_EQ(std::tuple(o.Tipo, QSize(o.Width, o.Height), int(o.AnchoImagen)),
                  std::tuple(TipoImagen, esperada.size(), esperada.width()));
        const std::optional<QImage> bitmap = CargarImagen(ResolverRutaImagen(o.ImagenTrabajo.valor()));
        ASSERT_TRUE(bitmap.has_value());
        EXPECT_EQ(bitmap->convertToFormat(esperada.format()), esperada);
        EXPECT_EQ(LeerCodigoObjeto(o), std::optional<ParametrosCodigo>(p));
    };

    s.menu("mnuAnadirCodigo"); // cancelled: nothing stays, the next code takes slot 1
    s.codigo = [&](FrmCodigo& c) {
        c.txtDatos->setText(url);
        c.cmdAceptar->click();
    };
    s.menu("mnuAnadirCodigo");
    comprobar(1, 4);
    EXPECT_EQ(d.objeto(1).Left, (384 - d.objeto(1).Width) / 2);

    s.codigo = [&](FrmCodigo& c) {
        EXPECT_EQ(std::pair(c.txtDatos->text(), c.spnModulo->value()), std::pair(url, 4));
        c.spnModulo->setValue(3);
        c.cmdAceptar->click();
    };
    s.elegir(1);
    s.menu("mnuModificaObjeto");
    comprobar(1, 3);
    s.menu("mnuDeshacer");
    comprobar(1, 4);

    s.elegir(1);
    s.menu("mnuCopiarObjeto");
    EXPECT_NE(d.objeto(2).ImagenOrigen.valor(), d.objeto(1).ImagenOrigen.valor());
    comprobar(2, 4);

    // Without its description the code is an ordinary picture again.
    ASSERT_TRUE(QFile::remove(ResolverRutaImagen(d.objeto(2).ImagenOrigen.valor())));
    s.elegir(2);
    s.menu("mnuModificaObjeto");
    EXPECT_EQ(s.dialogos.filter(QStringLiteral("FrmGetImagen")).size(), 1);
}

// Two designs with a different picture in the same slot, made one after the other in one
// working folder, keep their own pictures; a folder holding a design holds what it prints;
// pictures found nowhere are named once when the design opens.
TEST(SesionUsuario, EachDesignKeepsItsPicturesAndTravelsWithThem) {
    VentanaPrueba s;
    Design& d = s.d;
    FormMain& f = s.f;
    const auto hacer = [&](const QImage& imagen, const QString& nombre) {
        EXPECT_TRUE(Escribir(s.imagen, Codificar(imagen, "PNG")));
        s.menu("mnuAnadirImagen");
        s.menuArchivo("mnuGuardarTicketComo", QDir::current().filePath(nombre));
        s.generar();
        const QByteArray raster = s.raster(1);
        s.menu("mnuCerrarTicket");
        return raster;
    };
    const auto abrir = [&](const QString& archivo) {
        QFile::remove(NombreArchivoSalida(1, QDir::currentPath()));
        s.menuArchivo("mnuAbrirArchivoTicket", archivo);
        s.generar();
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
    s.reemplazar = true;
    s.menuArchivo("mnuGuardarTicketComo", bloqueada.filePath(QStringLiteral("dos")));
    EXPECT_EQ(std::tuple(s.mensajes.size(), bloqueada.entryList(QDir::Files), CodificarDiseno(d),
                         d.TicketModificado),
              std::tuple(qsizetype(1), QStringList(), antesDeFallar, Falso));

    // Saved into a folder of its own, that folder copied elsewhere, the working folder's
    // bitmaps and the original folder gone: the copy still prints the same.
    const QDir carpeta(QDir::current().filePath(QStringLiteral("sucursal")));
    const QDir copia(QDir::current().filePath(QStringLiteral("copia")));
    ASSERT_TRUE(QDir().mkpath(carpeta.path()) && QDir().mkpath(copia.path()));
    s.menuArchivo("mnuGuardarTicketComo", carpeta.filePath(QStringLiteral("dos")));
    s.menu("mnuCerrarTicket");
    abrir(QDir::current().filePath(QStringLiteral("uno.tck")));
    s.menuArchivo("mnuGuardarTicketComo", carpeta.filePath(QStringLiteral("uno")));
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
    ASSERT_TRUE(QFile::remove(copia.filePath(QFileInfo(bitmap).fileName())));
    s.menuArchivo("mnuAbrirArchivoTicket", copia.filePath(QStringLiteral("dos.tck")));
    EXPECT_EQ(d.NumObjetos, 1);
    EXPECT_EQ(s.mensajes.mid(1), QStringList{QStringLiteral("No se encuentran estas imágenes del diseño; sus "
                                                            "objetos se ven en blanco:\n") +
                                             bitmap});

    // "Recientes": the designs opened or saved, newest first, each once.
    const QString aquiUno = QDir::current().filePath(QStringLiteral("uno.tck"));
    EXPECT_EQ(f.recientes(), (QStringList{s.ruta, copia.filePath(QStringLiteral("uno.tck")),
                                          carpeta.filePath(QStringLiteral("uno.tck")), aquiUno,
                                          carpeta.filePath(QStringLiteral("dos.tck")),
                                          QDir::current().filePath(QStringLiteral("dos.tck"))}));
    // One gone leaves the list with a message; opening one asks first when there are changes.
    f.menu(QStringLiteral("mnuRecientes"))->actions().at(2)->trigger();
    EXPECT_EQ(std::pair(s.mensajes.size(), f.recientes().size()), std::pair(qsizetype(3), qsizetype(5)));
    s.menu("mnuAnadirImagen");
    f.menu(QStringLiteral("mnuRecientes"))->actions().at(2)->trigger(); // "No": the design stays
    EXPECT_EQ(std::pair(int(d.NumObjetos), d.ArchivoTicket), std::pair(2, s.ruta));
    s.respuestaSi = true;
    f.menu(QStringLiteral("mnuRecientes"))->actions().at(2)->trigger();
    EXPECT_EQ(std::tuple(s.preguntas.mid(1), d.ArchivoTicket, f.recientes().value(0)),
              std::tuple(QStringList(2, QStringLiteral("¿Está seguro que desea CERRAR el Ticket actual?")),
                         aquiUno, aquiUno));
    // Eight at most.
    for (const char* otro : {"a.tck", "b.tck", "c.tck", "e.tck"})
        f.agregarReciente(QString::fromLatin1(otro));
    EXPECT_EQ(f.recientes().size(), 8);
    EXPECT_EQ(f.recientes().last(), carpeta.filePath(QStringLiteral("dos.tck")));
}

// Lines drawn, changed and stacked through their context menu, a text centred and edited by
// a double click, a line nudged with the arrow keys, and leaving with unsaved changes.
TEST(SesionUsuario, ObjectsEditedWithMenusMouseAndKeys) {
    VentanaPrueba s;
    Design& d = s.d;
    CanvasTicket& canvas = s.f.canvas();
    s.linea({100, 50}, {300, 52});
    EXPECT_EQ(std::pair(s.f.comandos().DibujandoLinea, s.caja(1).geometry()),
              std::pair(false, QRect(100, 50, 200, 2)));
    QTest::mouseClick(&canvas, Qt::RightButton, {}, QPoint(150, 51));
    QTest::mouseClick(&canvas, Qt::RightButton, {}, QPoint(150, 300));
    EXPECT_EQ(s.menus, (QStringList{QStringLiteral("mnuLinea"), QStringLiteral("mnuTicket")}));
    s.elegir(1);
    s.menu("MnuGrosorDeLineaX_5");
    s.menu("mnuRotarLinea");
    EXPECT_EQ(s.caja(1).geometry(), QRect(198, -48, 5, 200));
    s.menu("mnuCopiarLinea");
    EXPECT_EQ(QPoint(d.objeto(2).Left, d.objeto(2).Top), QPoint(218, -48));
    s.menu("mnuLlevarAlFondoLinea");
    EXPECT_EQ(std::pair(int(d.objeto(2).Orden), s.f.workspace().pila().front()), std::pair(1, 2));
    s.menu("mnuTraerAlFrenteLinea");
    EXPECT_EQ(std::pair(int(d.objeto(2).Orden), s.f.workspace().pila().back()), std::pair(2, 2));
    s.menu("mnuBorrarLinea");
    EXPECT_EQ(std::pair(int(d.NumObjetos), s.caja(2).left()), std::pair(1, 1000)); // its box parked

    // Arrow keys move the current object a dot, with Shift ten, a line's corner staying on the ticket.
    s.linea({5, 100}, {105, 101});
    const int linea = 2; // the deleted copy's slot
    ASSERT_EQ(s.caja(linea).geometry(), QRect(5, 100, 100, 2));
    s.elegir(linea);
    const struct {
        Qt::Key tecla;
        Qt::KeyboardModifiers mods;
        QPoint esperado;
    } pasos[] = {{Qt::Key_Right, {}, {6, 100}},
                 {Qt::Key_Down, Qt::ShiftModifier, {6, 110}},
                 {Qt::Key_Left, Qt::ShiftModifier, {1, 110}},
                 {Qt::Key_Up, {}, {1, 109}}};
    for (const auto& p : pasos) {
        QTest::keyClick(&canvas, p.tecla, p.mods);
        EXPECT_EQ(
            std::pair(QPoint(d.objeto(linea).Left, d.objeto(linea).Top), s.caja(linea).geometry().topLeft()),
            std::pair(p.esperado, p.esperado));
    }

    s.menu("mnuTurnoFormato_10");
    s.menu("mnuAnadirTextoFijo");
    EXPECT_EQ(std::pair(d.objeto(3).Texto.valor(), int(d.objeto(3).Formato)),
              std::pair(QStringLiteral("A8"), 10));
    EXPECT_EQ(s.f.textoEstado(), QStringLiteral("[Num Objetos] : 4       [IdxObjMasAlto] : 4        "
                                                "[Objeto] : 4        [Orden] : 4"));
    // The redraw leaves the last slot current: centre the fixed text, then double click it.
    s.menu("mnuCentradoAmbosObjeto");
    const QRect texto = s.caja(4).geometry();
    EXPECT_EQ(texto.topLeft(), QPoint(int(std::nearbyint((384 - texto.width()) / 2.0)),
                                      int(std::nearbyint((500 - texto.height()) / 2.0))));
    QTest::mouseDClick(&canvas, Qt::LeftButton, {}, texto.center());
    EXPECT_EQ(s.dialogos, (QStringList{QStringLiteral("FrmGetFontTurno"), QStringLiteral("FrmGetFont"),
                                       QStringLiteral("FrmGetFont")}));

    // Leaving asks first; "No" keeps the window open.
    EXPECT_FALSE(s.f.close());
    s.respuestaSi = true;
    EXPECT_TRUE(s.f.close());
    EXPECT_EQ(s.preguntas, QStringList(2, QStringLiteral("¿Está seguro que desea SALIR de la aplicación?")));
}
