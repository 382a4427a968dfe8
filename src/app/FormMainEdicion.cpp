#include "FormMain.h"

#include "dialogs/FrmCodigo.h"
#include "dialogs/FrmGetFont.h"
#include "dialogs/FrmGetImagen.h"
#include "dialogs/FrmSelPulsador.h"
#include "editor/CodigoObjeto.h"
#include "editor/CanvasTicket.h"
#include "editor/ComandosObjeto.h"
#include "editor/Historia.h"
#include "editor/RatonCanvas.h"
#include "render/Redibujar.h"

#include <QAction>
#include <QActionGroup>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <algorithm>

namespace quoravex {

void FormMain::conectarEdicion() {
    mComandos = new ComandosObjeto(mDiseno, mWs, this, this);
    // Everything goes through the window's own hooks, so tests replace them in one place.
    mComandos->redibujar = [this] { redibujar(); };
    mComandos->mostrarMensaje = [this](const QString& texto) { mostrarMensaje(texto); };
    mComandos->ejecutarDialogo = [this](QDialog& dialogo) { return ejecutarDialogo(dialogo); };
    mComandos->nuevoEditorTexto = [this](QWidget* padre) -> std::unique_ptr<QDialog> {
        return NuevoEditorDeTexto(mDiseno, mWs, padre);
    };
    mComandos->nuevoSelPulsador = [this](QWidget* padre) -> std::unique_ptr<QDialog> {
        return std::make_unique<FrmSelPulsador>(mDiseno, padre);
    };
    mComandos->nuevoEditorImagen = [this](QWidget* padre) -> std::unique_ptr<QDialog> {
        return std::make_unique<FrmGetImagen>(mDiseno, mWs, dirDiseno(), padre);
    };
    mComandos->nuevoEditorCodigo = [this](QWidget* padre) -> std::unique_ptr<QDialog> {
        return std::make_unique<FrmCodigo>(mDiseno, mWs, dirDiseno(), padre);
    };
    mComandos->esCodigo = [this](const ObjetoTicket& o) { return LeerCodigoObjeto(o, dirDiseno()).has_value(); };
    mRaton = new RatonCanvas(mDiseno, mWs, *mComandos, this);
    mRaton->setMenus(menu(QStringLiteral("mnuTicket")), menu(QStringLiteral("mnuObjetos")),
                     menu(QStringLiteral("mnuLinea")));
    conectarHistoria();
    conectarRecientes();
    conectarVistaPrevia();

    // A gesture of the left button is one step: a drag, or the drawing of a new line.
    connect(mCanvas, &CanvasTicket::ratonPulsado, this, [this](const EventoRaton& e) {
        if (e.boton == Qt::LeftButton && !mHistoria->abierto()) mHistoria->abrir(QStringLiteral("Mover"));
        mRaton->pulsar(e);
    });
    connect(mCanvas, &CanvasTicket::ratonMovido, mRaton, &RatonCanvas::mover);
    connect(mRaton, &RatonCanvas::guiasCambiadas, mCanvas, &CanvasTicket::setGuias);
    connect(mCanvas, &CanvasTicket::ratonSoltado, this, [this](const EventoRaton& e) {
        mRaton->soltar(e);
        if (e.botones == Qt::NoButton && !mComandos->DibujandoLinea && !mComandos->AlargandoLinea)
            mHistoria->cerrar();
    });
    connect(mCanvas, &CanvasTicket::ratonDobleClic, this, [this](const EventoRaton& e) {
        mHistoria->paso(QStringLiteral("Modificar"), [&] { mRaton->dobleClic(e); });
    });
    // A run of arrow-key nudges of one object is one step.
    connect(mCanvas, &CanvasTicket::teclaMover, this, [this](int dx, int dy) {
        mHistoria->paso(
            QStringLiteral("Mover"), [&] { mRaton->moverConTeclado(dx, dy); }, Historia::IdTeclado);
    });

    ComandosObjeto* c = mComandos;
    auto conectar = [this](const QString& nombre, const QString& paso, auto&& f) {
        if (QAction* a = accion(nombre))
            connect(a, &QAction::triggered, this, [this, paso, f] { mHistoria->paso(paso, f); });
    };
    conectar(QStringLiteral("mnuAnadirTextoFijo"), QStringLiteral("Añadir Texto"),
             [c] { c->AnadirTextoFijo(); });
    conectar(QStringLiteral("mnuAnadirImagen"), QStringLiteral("Añadir Imagen"), [c] { c->AnadirImagen(); });
    conectar(QStringLiteral("mnuAnadirCodigo"), QStringLiteral("Añadir Código"), [c] { c->AnadirCodigo(); });
    // A new line is drawn with the mouse next: the step ends when the drawing does.
    connect(accion(QStringLiteral("mnuAnadirLinea")), &QAction::triggered, this, [this, c] {
        mHistoria->abrir(QStringLiteral("Añadir Línea"));
        c->AnadirLinea();
        if (!c->DibujandoLinea) mHistoria->cerrar();
    });
    const std::pair<const char*, std::function<void(int)>> campos[] = {
        {"Turno", [c](int f) { c->AnadirTurno(f); }},
        {"Fecha", [c](int f) { c->AnadirFecha(f); }},
        {"Hora", [c](int f) { c->AnadirHora(f); }},
    };
    for (const auto& [campo, anadir] : campos) {
        const QString nombre = QString::fromLatin1(campo);
        for (QAction* a : menu(QStringLiteral("mnuAnadir") + nombre)->actions())
            conectar(a->objectName(), QStringLiteral("Añadir ") + nombre,
                     [anadirCampo = anadir, f = a->data().toInt()] { anadirCampo(f); });
    }

    for (const char* sufijo : {"Objeto", "Linea"}) {
        const QString s = QString::fromLatin1(sufijo);
        conectar(QStringLiteral("mnuBorrar") + s, QStringLiteral("Borrar"), [c] { c->Borrar(); });
        conectar(QStringLiteral("mnuCopiar") + s, QStringLiteral("Copiar"), [c] { c->Copiar(); });
        conectar(QStringLiteral("mnuTraerAlFrente") + s, QStringLiteral("Traer al Frente"),
                 [c] { c->TraerAlFrente(); });
        conectar(QStringLiteral("mnuLlevarAlFondo") + s, QStringLiteral("Llevar al Fondo"),
                 [c] { c->LlevarAlFondo(); });
        conectar(QStringLiteral("mnuSelPuls") + s, QStringLiteral("Pulsadores"), [c] { c->SelPulsador(); });
    }
    conectar(QStringLiteral("mnuModificaObjeto"), QStringLiteral("Modificar"),
             [this, c] { c->Modificar(mDiseno.Objeto); });
    conectar(QStringLiteral("mnuCentradoHorizontalObjeto"), QStringLiteral("Centrar"),
             [c] { c->CentrarHorizontal(); });
    conectar(QStringLiteral("mnuCentradoVerticalObjeto"), QStringLiteral("Centrar"),
             [c] { c->CentrarVertical(); });
    conectar(QStringLiteral("mnuCentradoAmbosObjeto"), QStringLiteral("Centrar"), [c] { c->CentrarAmbos(); });
    conectar(QStringLiteral("mnuRotarLinea"), QStringLiteral("Rotar Línea"), [c] { c->RotarLinea(); });
    connect(accion(QStringLiteral("mnuModificarFinalLinea")), &QAction::triggered, this, [this, c] {
        mHistoria->abrir(QStringLiteral("Alargar Línea"));
        c->ModificarFinalLinea();
        if (!c->AlargandoLinea) mHistoria->cerrar();
    });
    for (QAction* a : menu(QStringLiteral("mnuGrosorDeLinea"))->actions())
        conectar(a->objectName(), QStringLiteral("Grosor de Línea"),
                 [c, g = a->data().toInt()] { c->GrosorDeLinea(g); });

    // Zoom of the canvas display, also on Ctrl + mouse wheel; before the help menu.
    QMenu* zoom = nuevoMenu(this, QStringLiteral("&Zoom"), QStringLiteral("mnuZoom"));
    menuBar()->insertMenu(accion(QStringLiteral("mnuAyuda")), zoom);
    auto* grupo = new QActionGroup(zoom);
    for (double z : CanvasTicket::NivelesZoom) {
        const int porcentaje = static_cast<int>(z * 100);
        QAction* a = nuevaAccion(zoom, QStringLiteral("%1 %").arg(porcentaje),
                                 QStringLiteral("mnuZoom_%1").arg(porcentaje));
        a->setCheckable(true);
        a->setChecked(z == mCanvas->zoom());
        a->setData(z);
        grupo->addAction(a);
        connect(a, &QAction::triggered, this, [this, z] { mCanvas->setZoom(z); });
    }
    zoom->addSeparator();
    QAction* ajustar =
        nuevaAccion(zoom, QStringLiteral("Ajustar a la ventana"), QStringLiteral("mnuZoomAjustar"));
    connect(ajustar, &QAction::triggered, this, &FormMain::zoomAjustado);
    connect(mCanvas, &CanvasTicket::zoomCambiado, this, [grupo](double z) {
        for (QAction* a : grupo->actions())
            a->setChecked(a->data().toDouble() == z);
    });
    conectarSeleccion();
    conectarVer();
}

void FormMain::zoomAjustado() {
    // The largest zoom, up to 400 %, at which the whole ticket fits the visible area.
    const QSize visible = mScroll->viewport()->size();
    const double z = std::min(double(visible.width()) / mWs.PicTicket.width(),
                              double(visible.height()) / mWs.PicTicket.height());
    mCanvas->setZoom(std::clamp(z, 0.25, CanvasTicket::NivelesZoom.back()));
}

} // namespace quoravex
