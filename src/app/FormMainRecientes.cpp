#include "FormMain.h"

#include "CursorOcupado.h"

#include "dialogs/Aceptar.h"
#include "document/ArchivoDiseno.h"
#include "editor/CanvasTicket.h"
#include "editor/Historia.h"
#include "editor/ImagenesDiseno.h"
#include "editor/ObjetosCanvas.h"
#include "platform/AjustesUsuario.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <cmath>

namespace quoravex {

namespace {
const QString ClaveRecientes = QStringLiteral("recientes");
const QString ClaveGeometria = QStringLiteral("ventana/geometria");
const QString ClaveZoom = QStringLiteral("ventana/zoom");
} // namespace

void FormMain::conectarRecientes() {
    QMenu* archivo = menu(QStringLiteral("mnuArchivo"));
    auto* recientes = new QMenu(QStringLiteral("Recientes"), archivo);
    recientes->setObjectName(QStringLiteral("mnuRecientes"));
    recientes->menuAction()->setObjectName(QStringLiteral("mnuRecientes"));
    archivo->insertMenu(accion(QStringLiteral("mnuGuardarTicket")), recientes);
    mMenus.insert(QStringLiteral("mnuRecientes"), recientes);
    mAcciones.insert(QStringLiteral("mnuRecientes"), recientes->menuAction());
    llenarRecientes();

    // The dot under the pointer, whatever the zoom.
    mLbCursor = new QLabel(this);
    mLbCursor->setObjectName(QStringLiteral("LbCursor"));
    mLbCursor->setMinimumWidth(mLbCursor->fontMetrics().horizontalAdvance(QStringLiteral("X: 000  Y: 000")));
    statusBar()->addPermanentWidget(mLbCursor);
    connect(mCanvas, &CanvasTicket::ratonMovido, this, [this](const EventoRaton& e) {
        const QPoint p(static_cast<int>(std::floor(e.pos.x())), static_cast<int>(std::floor(e.pos.y())));
        const bool dentro = QRect(0, 0, mWs.PicTicket.width(), mWs.PicTicket.height()).contains(p);
        mLbCursor->setText(dentro ? QStringLiteral("X: %1  Y: %2").arg(p.x()).arg(p.y()) : QString());
    });
    connect(mCanvas, &CanvasTicket::ratonFuera, this, &FormMain::cursorFuera);
}

QString FormMain::textoCursor() const {
    return mLbCursor->text();
}

void FormMain::cursorFuera() {
    mLbCursor->clear();
}

QStringList FormMain::recientes() const {
    return AjustesUsuario()->value(ClaveRecientes).toStringList();
}

void FormMain::agregarReciente(const QString& ruta) {
    const QString absoluta = QFileInfo(ruta).absoluteFilePath();
    QStringList lista = recientes();
    lista.removeAll(absoluta);
    lista.prepend(absoluta);
    while (lista.size() > MaximoRecientes)
        lista.removeLast();
    AjustesUsuario()->setValue(ClaveRecientes, lista);
    llenarRecientes();
}

void FormMain::llenarRecientes() {
    QMenu* m = menu(QStringLiteral("mnuRecientes"));
    m->clear();
    const QStringList lista = recientes();
    for (int i = 0; i < lista.size(); ++i) {
        const QString& ruta = lista.at(i);
        QAction* a = m->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(ruta)));
        a->setObjectName(QStringLiteral("mnuReciente_%1").arg(i + 1));
        a->setData(ruta);
        connect(a, &QAction::triggered, this, [this, ruta] { abrirReciente(ruta); });
    }
    m->menuAction()->setEnabled(!lista.isEmpty());
}

void FormMain::abrirReciente(const QString& ruta) {
    if (!QFileInfo(ruta).isFile()) {
        QStringList lista = recientes();
        lista.removeAll(ruta);
        AjustesUsuario()->setValue(ClaveRecientes, lista);
        llenarRecientes();
        mostrarMensaje(QStringLiteral("No se encuentra el fichero:\n%1\nSe quita de la lista de recientes.")
                           .arg(QDir::toNativeSeparators(ruta)));
        return;
    }
    mnuCerrarTicket();
    if (mDiseno.NumObjetos != 0) return;
    abrirDiseno(ruta);
}

bool FormMain::abrirDiseno(const QString& ruta) {
    ResultadoArchivo r;
    {
        CursorOcupado ocupado;
        r = AbrirDiseno(mDiseno, ruta);
        dimensionarCanvas();
        ApilarSegunOrden(mDiseno, mWs);
        redibujar();
    }
    mHistoria->vaciar();
    mConArchivo = r.correcto;
    if (r.correcto) agregarReciente(ruta);
    if (!r.mensaje.isEmpty()) mostrarMensaje(r.mensaje);
    // Pictures that are found nowhere are named once; the design opens all the same.
    if (const QString aviso = AvisoImagenesQueFaltan(ImagenesQueFaltan(mDiseno, dirDiseno()));
        r.correcto && !aviso.isEmpty())
        mostrarMensaje(aviso);
    return r.correcto;
}

void FormMain::restaurarVentana() {
    const auto ajustes = AjustesUsuario();
    const double zoom = ajustes->value(ClaveZoom, 1.0).toDouble();
    if (std::find(CanvasTicket::NivelesZoom.begin(), CanvasTicket::NivelesZoom.end(), zoom) !=
        CanvasTicket::NivelesZoom.end())
        mCanvas->setZoom(zoom);
    const QByteArray geometria = ajustes->value(ClaveGeometria).toByteArray();
    if (!geometria.isEmpty()) restoreGeometry(geometria);
}

void FormMain::guardarVentana() {
    const auto ajustes = AjustesUsuario();
    ajustes->setValue(ClaveGeometria, saveGeometry());
    ajustes->setValue(ClaveZoom, mCanvas->zoom());
    guardarVer();
}

} // namespace quoravex
