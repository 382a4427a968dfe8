#include "Editor.h"

#include "dialogs/FrmGetFont.h"
#include "dialogs/FrmSelPulsador.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

using namespace quoravex;

TEST_F(Editor, AddCommandsFillTheRecordAndOpenTheEditorOfTheKind) {
    d.NumPulsadores = 4;
    d.VistaActual = 8; // push-button 3
    struct Caso {
        const char* nombre;
        std::function<int()> anadir;
        int16_t tipo;
        int formato;
        QRect geometria; // left, top, width, height
        const char* texto;
        uint32_t pulsadores;
        bool editorTurno;
    } casos[] = {
        {"text", [&] { return c.AnadirTextoFijo(); }, TipoTextoFijo, -1, {1, 1, 382, 120}, "", 8, false},
        {"turn", [&] { return c.AnadirTurno(3); }, TipoTurno, 3, {1, 1, 382, 120}, "888", 1, true},
        {"turn alnum", [&] { return c.AnadirTurno(12); }, TipoTurno, 12, {1, 1, 382, 120}, "A888", 1, true},
        {"date", [&] { return c.AnadirFecha(3); }, TipoFecha, 3, {1, 1, 382, 120}, "31/12/2099", 1, true},
        {"time", [&] { return c.AnadirHora(4); }, TipoHora, 4, {1, 1, 382, 120}, "11:59:59 pm", 1, true},
    };
    for (const Caso& caso : casos) {
        ObjetoTicket visto;
        QString clase;
        responder = [&](QDialog& dlg) {
            visto = d.objeto(d.Objeto);
            clase = QString::fromLatin1(dlg.metaObject()->className());
            EXPECT_EQ(ws.item(d.Objeto).backColor(), ColorBlanco) << caso.nombre;
            static_cast<FrmGetFont&>(dlg).cmdOK_Click();
            return int(QDialog::Accepted);
        };
        d.TicketModificado = Falso;
        const int i = caso.anadir();
        ASSERT_GT(i, 0) << caso.nombre;
        EXPECT_EQ(visto.Tipo, caso.tipo) << caso.nombre;
        if (caso.formato >= 0) {
            EXPECT_EQ(visto.Formato, caso.formato) << caso.nombre;
        }
        EXPECT_EQ(QRect(visto.Left, visto.Top, visto.Width, visto.Height), caso.geometria) << caso.nombre;
        EXPECT_EQ(visto.Texto.valor(), QString::fromUtf8(caso.texto)) << caso.nombre;
        EXPECT_EQ(visto.Pulsadores, caso.pulsadores) << caso.nombre;
        EXPECT_EQ(visto.Pendiente, Verdadero) << caso.nombre;
        EXPECT_EQ(visto.FontSize, 30) << caso.nombre;
        EXPECT_EQ(clase, caso.editorTurno ? QStringLiteral("quoravex::FrmGetFontTurno")
                                          : QStringLiteral("quoravex::FrmGetFont"))
            << caso.nombre;
        // Confirmed by the editor: kept, no longer pending, design modified, view redrawn.
        EXPECT_EQ(d.objeto(i).Pendiente, Falso) << caso.nombre;
        EXPECT_EQ(d.TicketModificado, Verdadero) << caso.nombre;
    }
    EXPECT_EQ(d.NumObjetos, 5);
    EXPECT_EQ(redibujados, 5);
    EXPECT_TRUE(mensajes.isEmpty());
    EXPECT_EQ(c.AnadirTurno(5), 0); // no such turn format
    EXPECT_EQ(d.NumObjetos, 5);
}

TEST_F(Editor, ImageAndLineDefaults) {
    d.LargoTicket = 500;
    int abiertos = 0;
    c.nuevoEditorImagen = [&](QWidget*) {
        ++abiertos;
        const ObjetoTicket& o = d.objeto(d.Objeto);
        EXPECT_EQ(QRect(o.Left, o.Top, o.Width, o.Height), QRect(144, 202, 96, 96));
        EXPECT_EQ(o.AnchoImagen, 96);
        EXPECT_TRUE(o.ImagenTrabajo.vacio());
        EXPECT_EQ(ws.item(d.Objeto).point(0, 0), static_cast<int32_t>(ColorGris));
        d.objeto(d.Objeto).Pendiente = Falso; // the editor's OK
        return std::make_unique<QDialog>();
    };
    responder = [](QDialog&) { return int(QDialog::Accepted); };
    const int imagen = c.AnadirImagen();
    EXPECT_EQ(abiertos, 1);
    ASSERT_GT(imagen, 0);

    // An odd length centres with the half going to the even neighbour: (401 - 96) / 2 = 152.5.
    d.LargoTicket = 401;
    c.nuevoEditorImagen = [&](QWidget*) {
        EXPECT_EQ(d.objeto(d.Objeto).Top, 152);
        return std::unique_ptr<QDialog>();
    };
    EXPECT_EQ(c.AnadirImagen(), 0); // no editor: the new image does not stay
    EXPECT_EQ(d.NumObjetos, 1);

    d.TicketModificado = Falso;
    const int linea = c.AnadirLinea();
    ASSERT_GT(linea, 0);
    const ObjetoTicket& o = d.objeto(linea);
    EXPECT_EQ(QRect(o.Left, o.Top, o.Width, o.Height), QRect(-10, -10, 2, 2));
    EXPECT_EQ(o.Grosor, 2);
    EXPECT_EQ(o.Pendiente, Falso);
    EXPECT_TRUE(c.DibujandoLinea);
    EXPECT_EQ(c.lineaEnCurso(), linea);
    EXPECT_EQ(d.TicketModificado, Verdadero);
    EXPECT_EQ(ws.item(linea).geometry(), QRect(-10, -10, 2, 2));
    EXPECT_EQ(ws.item(linea).point(0, 0), 0);
}

TEST_F(Editor, CancelledEditorRemovesANewObjectButKeepsAnExistingOne) {
    responder = [](QDialog& dlg) {
        static_cast<FrmGetFont&>(dlg).cmdCancel_Click();
        return int(QDialog::Rejected);
    };
    EXPECT_EQ(c.AnadirTextoFijo(), 0);
    EXPECT_EQ(d.NumObjetos, 0);
    EXPECT_EQ(d.objeto(1).Pendiente, Falso);
    EXPECT_EQ(ws.item(1).left(), 1000);

    const int i = poner(texto(10, 10, 100, 30));
    d.TicketModificado = Falso;
    c.Modificar(i);
    EXPECT_TRUE(d.enUso(i));
    EXPECT_EQ(d.TicketModificado, Verdadero);
    EXPECT_EQ(redibujados, 2);

    // A line has no editor; modifying it only marks the design.
    const int linea = poner(lineaEn(10, 10, 100, 2));
    responder = [](QDialog&) -> int {
        ADD_FAILURE() << "no dialog for a line";
        return 0;
    };
    c.Modificar(linea);
    EXPECT_TRUE(d.enUso(linea));
}

TEST_F(Editor, CopyPutsTheCopyOnTopOffsetByKind) {
    poner(texto(5, 5, 50, 20));
    const int s = poner(texto(40, 60, 100, 30));
    poner(texto(5, 200, 50, 20));
    TraerAlFrente(d, ws, 1); // Orden: slot 2 -> 1, 3 -> 2, 1 -> 3
    d.Objeto = 3;
    ASSERT_EQ(d.objeto(3).Orden, 2);
    d.TicketModificado = Falso;
    const int copia = c.Copiar();
    ASSERT_EQ(copia, 4);
    EXPECT_EQ(d.objeto(copia).Orden, 4);
    EXPECT_EQ(d.objeto(copia).Left, 25);
    EXPECT_EQ(d.objeto(copia).Top, 220);
    EXPECT_EQ(d.NumObjetos, 4);
    EXPECT_EQ(d.IdxObjMasAlto, 4);
    EXPECT_EQ(d.Objeto, 4);
    EXPECT_EQ(ws.pila().back(), 4);
    EXPECT_EQ(d.TicketModificado, Verdadero);
    EXPECT_EQ(redibujados, 1);
    (void)s;

    const struct {
        QRect linea;
        QPoint esperado;
    } lineas[] = {{{10, 10, 100, 2}, {10, 30}}, {{10, 10, 2, 100}, {30, 10}}, {{10, 10, 4, 4}, {30, 10}}};
    for (const auto& l : lineas) {
        d.Objeto = static_cast<int16_t>(
            poner(lineaEn(l.linea.left(), l.linea.top(), l.linea.width(), l.linea.height())));
        const int k = c.Copiar();
        ASSERT_GT(k, 0);
        EXPECT_EQ(QPoint(d.objeto(k).Left, d.objeto(k).Top), l.esperado) << l.linea.width();
        EXPECT_EQ(ws.item(k).geometry(), QRect(l.esperado, l.linea.size()));
        EXPECT_EQ(ws.item(k).point(0, 0), 0);
    }

    // Variable fields are unique in a design and are not copied.
    NuevoObjeto turno = texto(1, 1, 50, 50);
    turno.Tipo = TipoTurno;
    d.Objeto = static_cast<int16_t>(poner(turno));
    const int antes = d.NumObjetos;
    EXPECT_EQ(c.Copiar(), 0);
    EXPECT_EQ(d.NumObjetos, antes);
}

TEST_F(Editor, CopyOfAnImageDuplicatesItsWorkingBitmap) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString anterior = QDir::currentPath();
    QDir::setCurrent(dir.path());
    auto escribir = [](const QString& ruta, const QByteArray& datos) {
        QFile f(ruta);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(datos);
    };
    auto leer = [](const QString& ruta) {
        QFile f(ruta);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    NuevoObjeto imagen = texto(144, 202, 96, 96);
    imagen.Tipo = TipoImagen;

    const int s = poner(imagen);
    escribir(dir.filePath(QStringLiteral("Imagen1.bmp")), "uno");
    d.objeto(s).ImagenTrabajo = dir.filePath(QStringLiteral("Imagen1.bmp"));
    escribir(dir.filePath(QStringLiteral("Imagen2.bmp")), "viejo");
    const int copia = c.Copiar();
    ASSERT_EQ(copia, 2);
    EXPECT_EQ(QFileInfo(d.objeto(copia).ImagenTrabajo.valor()).canonicalFilePath(),
              QFileInfo(dir.filePath(QStringLiteral("Imagen2.bmp"))).canonicalFilePath());
    EXPECT_EQ(leer(dir.filePath(QStringLiteral("Imagen2.bmp"))), QByteArray("uno"));
    EXPECT_EQ(leer(dir.filePath(QStringLiteral("Imagen1.bmp"))), QByteArray("uno"));

    // A missing source bitmap still gives a copy, named after its slot.
    d.objeto(s).ImagenTrabajo = dir.filePath(QStringLiteral("falta.bmp"));
    d.Objeto = static_cast<int16_t>(s);
    const int sinBitmap = c.Copiar();
    ASSERT_EQ(sinBitmap, 3);
    EXPECT_TRUE(d.objeto(sinBitmap).ImagenTrabajo.valor().endsWith(QStringLiteral("Imagen3.bmp")));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("Imagen3.bmp"))));

    // A source whose bitmap already has the copy's name keeps its file.
    BorrarObjeto(d, ws, 3);
    escribir(dir.filePath(QStringLiteral("Imagen3.bmp")), "propio");
    d.objeto(s).ImagenTrabajo = dir.filePath(QStringLiteral("Imagen3.bmp"));
    d.Objeto = static_cast<int16_t>(s);
    EXPECT_EQ(c.Copiar(), 3);
    EXPECT_EQ(leer(dir.filePath(QStringLiteral("Imagen3.bmp"))), QByteArray("propio"));
    QDir::setCurrent(anterior);
}

TEST_F(Editor, FullDesignRefusesAddAndCopyWithTheMessage) {
    for (int k = 0; k < MaxObjetos; ++k)
        ASSERT_GT(poner(texto(1, 1, 10, 10)), 0);
    d.Objeto = 7;
    d.TicketModificado = Falso;
    const Design antes = d;
    const auto pila = ws.pila();
    responder = [](QDialog&) -> int {
        ADD_FAILURE() << "no editor when nothing is added";
        return 0;
    };
    const std::function<int()> comandos[] = {
        [&] { return c.AnadirTextoFijo(); }, [&] { return c.AnadirImagen(); },
        [&] { return c.AnadirLinea(); },     [&] { return c.AnadirTurno(2); },
        [&] { return c.AnadirHora(1); },     [&] { return c.Copiar(); },
    };
    for (const auto& comando : comandos)
        EXPECT_EQ(comando(), 0);
    EXPECT_EQ(mensajes, QStringList(6, MensajeDisenoLleno));
    EXPECT_EQ(d.Objetos, antes.Objetos);
    EXPECT_EQ(d.NumObjetos, 50);
    EXPECT_EQ(d.Objeto, 7);
    EXPECT_EQ(d.TicketModificado, Falso);
    EXPECT_FALSE(c.DibujandoLinea);
    EXPECT_EQ(ws.pila(), pila);
    EXPECT_EQ(redibujados, 0);
}

TEST_F(Editor, PushButtonSelectionStoresTheMaskRedrawsAndMarksAChange) {
    d.NumPulsadores = 4;
    d.Objeto = static_cast<int16_t>(poner(texto(1, 1, 10, 10)));
    d.TicketModificado = Falso;
    responder = [](QDialog& dlg) {
        auto& f = static_cast<FrmSelPulsador&>(dlg);
        f.CheckComun->setChecked(false);
        f.Check1[2]->setChecked(true);
        f.PBAceptar->click();
        return dlg.result();
    };
    c.SelPulsador();
    EXPECT_EQ(d.objeto(d.Objeto).Pulsadores, 4u);
    EXPECT_EQ(d.TicketModificado, Verdadero);
    EXPECT_EQ(redibujados, 1);

    responder = [](QDialog& dlg) {
        static_cast<FrmSelPulsador&>(dlg).PBCancelar->click();
        return dlg.result();
    };
    d.TicketModificado = Falso;
    c.SelPulsador();
    EXPECT_EQ(d.objeto(d.Objeto).Pulsadores, 4u);
    EXPECT_EQ(d.TicketModificado, Falso);
    EXPECT_EQ(redibujados, 1);
}

TEST_F(Editor, DeletingTheLineBeingDrawnEndsTheDrawing) {
    const int linea = c.AnadirLinea();
    d.Objeto = static_cast<int16_t>(linea);
    c.Borrar();
    EXPECT_FALSE(d.enUso(linea));
    EXPECT_FALSE(c.DibujandoLinea);
    EXPECT_EQ(ws.item(linea).left(), 1000);
}
