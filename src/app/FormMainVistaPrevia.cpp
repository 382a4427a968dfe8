#include "FormMain.h"

#include "dialogs/FrmVistaPrevia.h"
#include "editor/Historia.h"

#include <QAction>
#include <QMenu>
#include <QTimer>

namespace quoravex {

void FormMain::conectarVistaPrevia() {
    QMenu* archivo = menu(QStringLiteral("mnuArchivo"));
    QAction* antes = accion(QStringLiteral("mnuImprimirTicket"));
    QAction* vista = new QAction(QStringLiteral("Vista Previa..."), archivo);
    vista->setObjectName(QStringLiteral("mnuVistaPrevia"));
    vista->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    archivo->insertAction(antes, vista);
    mAcciones.insert(vista->objectName(), vista);
    connect(vista, &QAction::triggered, this, &FormMain::mnuVistaPrevia);

    // An open preview follows the design: every step, undo and redo, opening and closing.
    mActualizarVista = new QTimer(this);
    mActualizarVista->setSingleShot(true);
    mActualizarVista->setInterval(200);
    connect(mActualizarVista, &QTimer::timeout, this, [this] {
        if (mVistaPrevia && mVistaPrevia->isVisible()) mVistaPrevia->actualizar();
    });
    connect(&mHistoria->pila(), &QUndoStack::indexChanged, mActualizarVista, qOverload<>(&QTimer::start));
    // Emptying the history (a design opened, closed or new) may leave its index where it was.
    connect(mHistoria, &Historia::vaciada, mActualizarVista, qOverload<>(&QTimer::start));
}

void FormMain::mnuVistaPrevia() {
    if (!mVistaPrevia) {
        mVistaPrevia = new FrmVistaPrevia([this] { return vistasPrevias(); }, this);
        mVistaPrevia->setAttribute(Qt::WA_DeleteOnClose);
    } else {
        mVistaPrevia->actualizar();
    }
    mVistaPrevia->show();
    mVistaPrevia->raise();
    mVistaPrevia->activateWindow();
}

FrmVistaPrevia* FormMain::vistaPrevia() const {
    return mVistaPrevia;
}

} // namespace quoravex
