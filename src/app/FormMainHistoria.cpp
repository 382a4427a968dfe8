#include "FormMain.h"

#include "editor/ComandosObjeto.h"
#include "editor/Historia.h"
#include "editor/ObjetosCanvas.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QMenuBar>

namespace quoravex {

void FormMain::conectarHistoria() {
    mHistoria = new Historia(
        mDiseno, [this] { return dirDiseno(); }, this);
    mHistoria->alRestaurar = [this](const EstadoDiseno& antes, const EstadoDiseno& ahora) {
        mComandos->terminarModosLinea();
        // The view selector is filled anew for another push-button count: back to the common part.
        if (antes.numPulsadores != ahora.numPulsadores) mDiseno.VistaActual = 1;
        if (antes.largoTicket != ahora.largoTicket) dimensionarCanvas();
        ApilarSegunOrden(mDiseno, mWs);
        redibujar();
        actualizarComandos();
    };

    // "Edición", right after "Archivo".
    QMenu* edicion = new QMenu(QStringLiteral("Edición"), this);
    edicion->setObjectName(QStringLiteral("mnuEdicion"));
    edicion->menuAction()->setObjectName(QStringLiteral("mnuEdicion"));
    menuBar()->insertMenu(accion(QStringLiteral("mnuTicket")), edicion);
    mMenus.insert(QStringLiteral("mnuEdicion"), edicion);
    mAcciones.insert(QStringLiteral("mnuEdicion"), edicion->menuAction());

    QAction* deshacer = mHistoria->pila().createUndoAction(edicion, QStringLiteral("Deshacer"));
    deshacer->setObjectName(QStringLiteral("mnuDeshacer"));
    deshacer->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    QAction* rehacer = mHistoria->pila().createRedoAction(edicion, QStringLiteral("Rehacer"));
    rehacer->setObjectName(QStringLiteral("mnuRehacer"));
    rehacer->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    edicion->addAction(deshacer);
    edicion->addAction(rehacer);
    edicion->addSeparator();
    mAcciones.insert(deshacer->objectName(), deshacer);
    mAcciones.insert(rehacer->objectName(), rehacer);
    QAction* borrar = nuevaAccion(edicion, QStringLiteral("Borrar"), QStringLiteral("mnuBorrar"),
                                  QKeySequence(Qt::Key_Delete));
    connect(borrar, &QAction::triggered, this,
            [this] { mHistoria->paso(QStringLiteral("Borrar"), [this] { borrarSeleccion(); }); });
}

void FormMain::pasoDiseno(const QString& nombre, const std::function<void()>& cambio) {
    mHistoria->paso(nombre, cambio);
}

} // namespace quoravex
