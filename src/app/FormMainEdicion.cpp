#include "FormMain.h"

#include "dialogs/FrmGetImagen.h"
#include "editor/CanvasTicket.h"
#include "editor/ComandosObjeto.h"
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
    mComandos->nuevoEditorImagen = [this](QWidget* padre) -> std::unique_ptr<QDialog> {
        return std::make_unique<FrmGetImagen>(mDiseno, mWs, dirDiseno(), padre);
    };
    mRaton = new RatonCanvas(mDiseno, mWs, *mComandos, this);
    mRaton->setMenus(menu(QStringLiteral("mnuTicket")), menu(QStringLiteral("mnuObjetos")),
                     menu(QStringLiteral("mnuLinea")));
    connect(mCanvas, &CanvasTicket::ratonPulsado, mRaton, &RatonCanvas::pulsar);
    connect(mCanvas, &CanvasTicket::ratonMovido, mRaton, &RatonCanvas::mover);
    connect(mCanvas, &CanvasTicket::ratonSoltado, mRaton, &RatonCanvas::soltar);
    connect(mCanvas, &CanvasTicket::ratonDobleClic, mRaton, &RatonCanvas::dobleClic);
    connect(mCanvas, &CanvasTicket::teclaMover, mRaton, &RatonCanvas::moverConTeclado);

    ComandosObjeto* c = mComandos;
    auto conectar = [this](const QString& nombre, auto&& f) {
        if (QAction* a = accion(nombre)) connect(a, &QAction::triggered, this, f);
    };
    conectar(QStringLiteral("mnuAnadirTextoFijo"), [c] { c->AnadirTextoFijo(); });
    conectar(QStringLiteral("mnuAnadirImagen"), [c] { c->AnadirImagen(); });
    conectar(QStringLiteral("mnuAnadirLinea"), [c] { c->AnadirLinea(); });
    for (QAction* a : menu(QStringLiteral("mnuAnadirTurno"))->actions())
        connect(a, &QAction::triggered, this, [c, a] { c->AnadirTurno(a->data().toInt()); });
    for (QAction* a : menu(QStringLiteral("mnuAnadirFecha"))->actions())
        connect(a, &QAction::triggered, this, [c, a] { c->AnadirFecha(a->data().toInt()); });
    for (QAction* a : menu(QStringLiteral("mnuAnadirHora"))->actions())
        connect(a, &QAction::triggered, this, [c, a] { c->AnadirHora(a->data().toInt()); });

    for (const char* sufijo : {"Objeto", "Linea"}) {
        const QString s = QString::fromLatin1(sufijo);
        conectar(QStringLiteral("mnuBorrar") + s, [c] { c->Borrar(); });
        conectar(QStringLiteral("mnuCopiar") + s, [c] { c->Copiar(); });
        conectar(QStringLiteral("mnuTraerAlFrente") + s, [c] { c->TraerAlFrente(); });
        conectar(QStringLiteral("mnuLlevarAlFondo") + s, [c] { c->LlevarAlFondo(); });
        conectar(QStringLiteral("mnuSelPuls") + s, [c] { c->SelPulsador(); });
    }
    conectar(QStringLiteral("mnuModificaObjeto"), [this, c] { c->Modificar(mDiseno.Objeto); });
    conectar(QStringLiteral("mnuCentradoHorizontalObjeto"), [c] { c->CentrarHorizontal(); });
    conectar(QStringLiteral("mnuCentradoVerticalObjeto"), [c] { c->CentrarVertical(); });
    conectar(QStringLiteral("mnuCentradoAmbosObjeto"), [c] { c->CentrarAmbos(); });
    conectar(QStringLiteral("mnuRotarLinea"), [c] { c->RotarLinea(); });
    conectar(QStringLiteral("mnuModificarFinalLinea"), [c] { c->ModificarFinalLinea(); });
    for (QAction* a : menu(QStringLiteral("mnuGrosorDeLinea"))->actions())
        connect(a, &QAction::triggered, this, [c, a] { c->GrosorDeLinea(a->data().toInt()); });

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
}

void FormMain::zoomAjustado() {
    // The largest zoom, up to 400 %, at which the whole ticket fits the visible area.
    const QSize visible = mScroll->viewport()->size();
    const double z = std::min(double(visible.width()) / mWs.PicTicket.width(),
                              double(visible.height()) / mWs.PicTicket.height());
    mCanvas->setZoom(std::clamp(z, 0.25, CanvasTicket::NivelesZoom.back()));
}

} // namespace quoravex
