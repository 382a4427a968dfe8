#include "Editor.h"
#include "support/FicherosImagen.h"

#include <QCheckBox>
#include <QPushButton>

using namespace quoravex;
using namespace pruebas;

TEST_F(Editor, AddCommandsFillTheRecordAndOpenTheEditorOfTheKind) {
    d.NumPulsadores = 4;
    d.VistaActual = 8; // push-button 3: fixed texts go there, variable fields stay common (mask 1)
    const struct {
        std::function<int()> anadir;
        int16_t tipo;
        const char* texto;
        uint32_t pulsadores;
        const char* editor;
    } casos[] = {
        {[&] { return c.AnadirTextoFijo(); }, TipoTextoFijo, "", 8, "quoravex::FrmGetFont"},
        {[&] { return c.AnadirTurno(3); }, TipoTurno, "888", 1, "quoravex::FrmGetFontTurno"},
        {[&] { return c.AnadirTurno(12); }, TipoTurno, "A888", 1, "quoravex::FrmGetFontTurno"},
        {[&] { return c.AnadirFecha(3); }, TipoFecha, "31/12/2099", 1, "quoravex::FrmGetFontTurno"},
        {[&] { return c.AnadirHora(4); }, TipoHora, "11:59:59 pm", 1, "quoravex::FrmGetFontTurno"},
    };
    for (const auto& caso : casos) {
        ObjetoTicket v;
        QString clase;
        responder = [&](QDialog& dlg) {
            v = d.objeto(d.Objeto);
            clase = QString::fromLatin1(dlg.metaObject()->className());
            EXPECT_EQ(ws.item(d.Objeto).backColor(), ColorBlanco) << caso.texto;
            static_cast<FrmGetFont&>(dlg).cmdOK_Click();
            return int(QDialog::Accepted);
        };
        d.TicketModificado = Falso;
        const int i = caso.anadir();
        ASSERT_GT(i, 0) << caso.texto;
        EXPECT_EQ(std::tuple(v.Tipo, QRect(v.Left, v.Top, v.Width, v.Height), v.Texto.valor(), v.Pulsadores,
                             v.Pendiente, v.FontSize, clase),
                  std::tuple(caso.tipo, QRect(1, 1, 382, 120), QString::fromUtf8(caso.texto), caso.pulsadores,
                             Verdadero, int16_t(30), QString::fromLatin1(caso.editor)));
        // Confirmed by the editor: kept, no longer pending, design modified.
        EXPECT_EQ(std::pair(d.objeto(i).Pendiente, d.TicketModificado), std::pair(Falso, Verdadero));
    }
    EXPECT_EQ(std::tuple(int(d.NumObjetos), redibujados, mensajes), std::tuple(5, 5, QStringList()));
    EXPECT_EQ(c.AnadirTurno(5), 0); // no such turn format
}

// A picture is added grey in the middle of the ticket and stays only with an editor. A
// cancelled editor removes a new object but keeps an existing one; a cancelled push-button
// selection changes nothing (accepting one is part of the user session test).
TEST_F(Editor, PictureDefaultsAndCancelledDialogs) {
    d.LargoTicket = 500;
    c.nuevoEditorImagen = [&](QWidget*) {
        const ObjetoTicket& o = d.objeto(d.Objeto);
        EXPECT_EQ(std::pair(QRect(o.Left, o.Top, o.Width, o.Height), ws.item(d.Objeto).point(0, 0)),
                  std::pair(QRect(144, 202, 96, 96), static_cast<int32_t>(ColorGris)));
        d.objeto(d.Objeto).Pendiente = Falso; // the editor's OK
        return std::make_unique<QDialog>();
    };
    responder = [](QDialog&) { return int(QDialog::Accepted); };
    ASSERT_EQ(c.AnadirImagen(), 1);
    c.nuevoEditorImagen = [&](QWidget*) { return std::unique_ptr<QDialog>(); };
    EXPECT_EQ(std::pair(c.AnadirImagen(), int(d.NumObjetos)), std::pair(0, 1));
    BorrarObjeto(d, ws, 1);

    d.NumPulsadores = 4;
    responder = [](QDialog& dlg) {
        static_cast<FrmGetFont&>(dlg).cmdCancel_Click();
        return int(QDialog::Rejected);
    };
    EXPECT_EQ(c.AnadirTextoFijo(), 0);
    EXPECT_EQ(std::pair(int(d.NumObjetos), ws.item(1).left()), std::pair(0, 1000));
    const int i = poner(texto(10, 10, 100, 30));
    d.TicketModificado = Falso;
    c.Modificar(i);
    EXPECT_EQ(std::pair(d.enUso(i), d.TicketModificado), std::pair(true, Verdadero));

    d.TicketModificado = Falso;
    redibujados = 0;
    responder = [&](QDialog& dlg) {
        auto& f = static_cast<FrmSelPulsador&>(dlg);
        f.Check1[3]->setChecked(true);
        f.PBCancelar->click();
        return dlg.result();
    };
    c.SelPulsador();
    EXPECT_EQ(std::tuple(d.objeto(i).Pulsadores, d.TicketModificado, redibujados), std::tuple(1u, Falso, 0));
}

// A copy goes on top, offset by its kind; variable fields are unique and not copied. (A picture's
// copy with its own bitmap is part of the user session test.)
TEST_F(Editor, CopyPutsTheCopyOnTopOffsetByKind) {
    DirectorioActualTemporal dir;
    poner(texto(5, 5, 50, 20));
    poner(texto(40, 60, 100, 30));
    poner(texto(5, 200, 50, 20));
    TraerAlFrente(d, ws, 1); // Orden: slot 2 -> 1, 3 -> 2, 1 -> 3
    d.Objeto = 3;
    ASSERT_EQ(c.Copiar(), 4);
    const ObjetoTicket& k = d.objeto(4);
    EXPECT_EQ(
        std::tuple(int(k.Orden), QPoint(k.Left, k.Top), int(d.Objeto), ws.pila().back(), d.TicketModificado),
        std::tuple(4, QPoint(25, 220), 4, 4, Verdadero));
    // A vertical line (or a square) moves right, a horizontal one down.
    for (const auto& [linea, esperado] :
         {std::pair(QRect(10, 10, 100, 2), QPoint(10, 30)), std::pair(QRect(10, 10, 4, 4), QPoint(30, 10))}) {
        d.Objeto =
            static_cast<int16_t>(poner(lineaEn(linea.left(), linea.top(), linea.width(), linea.height())));
        const int n = c.Copiar();
        ASSERT_GT(n, 0);
        const ObjetoTicket& o = d.objeto(n);
        EXPECT_EQ(std::pair(QRect(o.Left, o.Top, o.Width, o.Height), ws.item(n).geometry()),
                  std::pair(QRect(esperado, linea.size()), QRect(esperado, linea.size())));
    }
    d.Objeto = static_cast<int16_t>(poner(texto(1, 1, 50, 50, TipoTurno)));
    EXPECT_EQ(c.Copiar(), 0);

    // A picture whose bitmap is missing: the copy names the same file and nothing is written.
    const int s = poner(texto(144, 202, 96, 96, TipoImagen));
    d.objeto(s).ImagenTrabajo = dir.ruta(QStringLiteral("falta.bmp"));
    d.Objeto = static_cast<int16_t>(s);
    const int m = c.Copiar();
    ASSERT_GT(m, 0);
    EXPECT_EQ(std::pair(d.objeto(m).ImagenTrabajo.valor(), QDir(dir.path()).entryList(QDir::Files)),
              std::pair(dir.ruta(QStringLiteral("falta.bmp")), QStringList()));
}

// New boxes: a line's black, a text's light cyan. A full design refuses every add and copy with
// the message and stays as it was.
TEST_F(Editor, NewBoxesAndAFullDesign) {
    ASSERT_EQ(poner(texto(20, 10, 100, 30)), 1);
    ASSERT_EQ(poner(lineaEn(0, 0, 2, 2)), 2);
    EXPECT_EQ(std::pair(ws.item(1).point(5, 5), ws.item(2).point(0, 0)),
              std::pair(static_cast<int32_t>(ColorCianClaro), 0));
    while (poner(texto(1, 1, 10, 10)) > 0) {
    }
    d.Objeto = 7;
    d.TicketModificado = Falso;
    const Design antes = d;
    const auto pila = ws.pila();
    for (const auto& comando : std::initializer_list<std::function<int()>>{
             [&] { return c.AnadirTextoFijo(); }, [&] { return c.AnadirImagen(); },
             [&] { return c.AnadirLinea(); }, [&] { return c.AnadirTurno(2); },
             [&] { return c.AnadirHora(1); }, [&] { return c.Copiar(); }})
        EXPECT_EQ(comando(), 0);
    EXPECT_EQ(mensajes, QStringList(6, MensajeDisenoLleno));
    EXPECT_EQ(std::tuple(d.Objetos, d.NumObjetos, d.Objeto, d.TicketModificado, ws.pila(), c.DibujandoLinea,
                         ws.item(0).left()),
              std::tuple(antes.Objetos, int16_t(MaxObjetos), int16_t(7), Falso, pila, false, 1000));
}
