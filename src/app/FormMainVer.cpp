#include "FormMain.h"

#include "AreaCanvas.h"
#include "IconosHerramientas.h"

#include "dialogs/PanelPropiedades.h"
#include "editor/CanvasTicket.h"
#include "editor/ComandosObjeto.h"
#include "editor/Historia.h"
#include "editor/RatonCanvas.h"
#include "editor/ReglaCanvas.h"
#include "editor/Seleccion.h"
#include "platform/AjustesUsuario.h"

#include <QAction>
#include <QEvent>
#include <QInputDialog>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolBar>
#include <QToolButton>

namespace quoravex {

namespace {

const QString ClaveHerramientas = QStringLiteral("ver/herramientas");
const QString ClavePropiedades = QStringLiteral("ver/propiedades");
const QString ClaveReglas = QStringLiteral("ver/reglas");
const QString ClaveCuadricula = QStringLiteral("ver/cuadricula");
const QString ClaveEspaciado = QStringLiteral("ver/espaciadoCuadricula");
const QString ClaveAjustar = QStringLiteral("ver/ajustarCuadricula");
constexpr int GruesoRegla = 20;

// Keeps the rulers in the scroll area's margins as it is resized.
class VigiaScroll : public QObject {
public:
    VigiaScroll(QObject* padre, std::function<void()> f) : QObject(padre), mF(std::move(f)) {}
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Resize) mF();
        return false;
    }

private:
    std::function<void()> mF;
};

} // namespace

void FormMain::conectarVer() {
    const auto ajustes = AjustesUsuario();
    pedirEspaciado = [this](int actual) -> std::optional<int> {
        bool ok = false;
        const int v = QInputDialog::getInt(this, QStringLiteral("Espaciado de Cuadrícula"),
                                           QStringLiteral("Espaciado en puntos (8 puntos son 1 mm):"), actual, 2, 64,
                                           1, &ok);
        return ok ? std::optional<int>(v) : std::nullopt;
    };

    // The toolbar.
    mHerramientas = new QToolBar(QStringLiteral("Herramientas"), this);
    mHerramientas->setObjectName(QStringLiteral("Herramientas"));
    mHerramientas->setAccessibleName(QStringLiteral("Herramientas"));
    addToolBar(Qt::TopToolBarArea, mHerramientas);
    const auto boton = [this](const QString& nombre, const QString& tema, const QString& dibujo,
                              const QString& consejo) {
        QAction* a = accion(nombre);
        a->setIcon(IconoHerramienta(tema, dibujo));
        a->setToolTip(consejo);
        mHerramientas->addAction(a);
        if (QWidget* w = mHerramientas->widgetForAction(a)) w->setAccessibleName(consejo);
    };
    boton(QStringLiteral("mnuAnadirTextoFijo"), QStringLiteral("insert-text"), QStringLiteral("texto"),
          QStringLiteral("Añadir texto"));
    boton(QStringLiteral("mnuAnadirImagen"), QStringLiteral("insert-image"), QStringLiteral("imagen"),
          QStringLiteral("Añadir imagen"));
    boton(QStringLiteral("mnuAnadirCodigo"), QStringLiteral("view-barcode-qr"), QStringLiteral("codigo"),
          QStringLiteral("Añadir código QR o de barras"));
    boton(QStringLiteral("mnuAnadirLinea"), QStringLiteral("draw-line"), QStringLiteral("linea"),
          QStringLiteral("Añadir línea"));
    boton(QStringLiteral("mnuAnadirTurno"), QStringLiteral("format-number"), QStringLiteral("turno"),
          QStringLiteral("Añadir campo de turno"));
    if (auto* t = qobject_cast<QToolButton*>(mHerramientas->widgetForAction(accion(QStringLiteral("mnuAnadirTurno")))))
        t->setPopupMode(QToolButton::InstantPopup);
    mHerramientas->addSeparator();
    boton(QStringLiteral("mnuDeshacer"), QStringLiteral("edit-undo"), QStringLiteral("deshacer"),
          QStringLiteral("Deshacer"));
    boton(QStringLiteral("mnuRehacer"), QStringLiteral("edit-redo"), QStringLiteral("rehacer"),
          QStringLiteral("Rehacer"));
    mHerramientas->addSeparator();
    QMenu* zoom = menu(QStringLiteral("mnuZoom"));
    QAction* acercar = nuevaAccion(zoom, QStringLiteral("Acercar"), QStringLiteral("mnuAcercar"),
                                   QKeySequence(QKeySequence::ZoomIn));
    QAction* alejar = nuevaAccion(zoom, QStringLiteral("Alejar"), QStringLiteral("mnuAlejar"),
                                  QKeySequence(QKeySequence::ZoomOut));
    connect(acercar, &QAction::triggered, mCanvas, &CanvasTicket::acercar);
    connect(alejar, &QAction::triggered, mCanvas, &CanvasTicket::alejar);
    boton(QStringLiteral("mnuAcercar"), QStringLiteral("zoom-in"), QStringLiteral("acercar"), QStringLiteral("Acercar"));
    boton(QStringLiteral("mnuAlejar"), QStringLiteral("zoom-out"), QStringLiteral("alejar"), QStringLiteral("Alejar"));
    mHerramientas->addSeparator();
    boton(QStringLiteral("mnuVistaPrevia"), QStringLiteral("document-print-preview"), QStringLiteral("vista"),
          QStringLiteral("Vista previa"));
    boton(QStringLiteral("mnuEnviarAPrinter"), QStringLiteral("document-send"), QStringLiteral("enviar"),
          QStringLiteral("Enviar a la impresora"));

    // The properties panel.
    mPropiedades = new PanelPropiedades(mDiseno, mWs, this);
    addDockWidget(Qt::RightDockWidgetArea, mPropiedades);
    mPropiedades->paso = [this](const QString& nombre, const std::function<void()>& cambio) {
        mHistoria->paso(nombre, cambio);
    };
    mPropiedades->redibujar = [this] { redibujar(); };
    mPropiedades->abrirFuente = [this](int i) {
        mHistoria->paso(QStringLiteral("Modificar"), [this, i] { mComandos->Modificar(i); });
    };
    mPropiedades->cambiado = [this] { mCanvas->update(); };
    connect(mSeleccion, &Seleccion::cambiada, this, &FormMain::mostrarPropiedades);
    connect(&mHistoria->pila(), &QUndoStack::indexChanged, this, &FormMain::mostrarPropiedades);
    connect(mHistoria, &Historia::vaciada, this, &FormMain::mostrarPropiedades);

    // The rulers, in the scroll area's margins.
    mReglaH = new ReglaCanvas(Qt::Horizontal, mScroll);
    mReglaV = new ReglaCanvas(Qt::Vertical, mScroll);
    mScroll->installEventFilter(new VigiaScroll(mScroll, [this] { colocarReglas(); }));
    connect(mScroll->horizontalScrollBar(), &QScrollBar::valueChanged, mReglaH, &ReglaCanvas::setDesplazamiento);
    connect(mScroll->verticalScrollBar(), &QScrollBar::valueChanged, mReglaV, &ReglaCanvas::setDesplazamiento);
    connect(mCanvas, &CanvasTicket::zoomCambiado, this, [this](double z) {
        mReglaH->setZoom(z);
        mReglaV->setZoom(z);
    });
    connect(&mWs, &Workspace::cambiado, this, [this] {
        mReglaH->setLargo(mWs.PicTicket.width() - 1);
        mReglaV->setLargo(mWs.PicTicket.height());
    });
    connect(mCanvas, &CanvasTicket::ratonMovido, this, [this](const EventoRaton& e) {
        mReglaH->setPuntero(static_cast<int>(std::floor(e.pos.x())));
        mReglaV->setPuntero(static_cast<int>(std::floor(e.pos.y())));
    });
    connect(mCanvas, &CanvasTicket::ratonFuera, this, [this] {
        mReglaH->setPuntero(-1);
        mReglaV->setPuntero(-1);
    });
    mReglaH->setZoom(mCanvas->zoom());
    mReglaV->setZoom(mCanvas->zoom());
    mReglaH->setLargo(mWs.PicTicket.width() - 1);
    mReglaV->setLargo(mWs.PicTicket.height());

    // "Ver", right after "Edición".
    QMenu* ver = nuevoMenu(this, QStringLiteral("Ver"), QStringLiteral("mnuVer"));
    menuBar()->insertMenu(accion(QStringLiteral("mnuOrganizar")), ver);
    QAction* verHerramientas = mHerramientas->toggleViewAction();
    verHerramientas->setText(QStringLiteral("Barra de Herramientas"));
    verHerramientas->setObjectName(QStringLiteral("mnuVerHerramientas"));
    ver->addAction(verHerramientas);
    mAcciones.insert(verHerramientas->objectName(), verHerramientas);
    QAction* verPropiedades = mPropiedades->toggleViewAction();
    verPropiedades->setText(QStringLiteral("Propiedades"));
    verPropiedades->setObjectName(QStringLiteral("mnuVerPropiedades"));
    ver->addAction(verPropiedades);
    mAcciones.insert(verPropiedades->objectName(), verPropiedades);
    mVerReglas = nuevaAccion(ver, QStringLiteral("Reglas"), QStringLiteral("mnuVerReglas"));
    mVerReglas->setCheckable(true);
    connect(mVerReglas, &QAction::toggled, this, [this] { colocarReglas(); });
    ver->addSeparator();
    QAction* cuadricula = nuevaAccion(ver, QStringLiteral("Cuadrícula"), QStringLiteral("mnuVerCuadricula"));
    cuadricula->setCheckable(true);
    QAction* espaciado =
        nuevaAccion(ver, QStringLiteral("Espaciado de Cuadrícula..."), QStringLiteral("mnuEspaciadoCuadricula"));
    QAction* ajustar = nuevaAccion(ver, QStringLiteral("Ajustar a la Cuadrícula"), QStringLiteral("mnuAjustarCuadricula"));
    ajustar->setCheckable(true);
    connect(cuadricula, &QAction::toggled, this, [this, ajustar](bool v) {
        fijarCuadricula(v, mCanvas->pasoCuadricula(), ajustar->isChecked());
    });
    connect(ajustar, &QAction::toggled, this, [this, cuadricula](bool v) {
        fijarCuadricula(cuadricula->isChecked(), mCanvas->pasoCuadricula(), v);
    });
    connect(espaciado, &QAction::triggered, this, [this, cuadricula, ajustar] {
        if (const std::optional<int> paso = pedirEspaciado(mCanvas->pasoCuadricula()))
            fijarCuadricula(cuadricula->isChecked(), *paso, ajustar->isChecked());
    });

    // As they were left.
    mHerramientas->setVisible(ajustes->value(ClaveHerramientas, true).toBool());
    mPropiedades->setVisible(ajustes->value(ClavePropiedades, true).toBool());
    mVerReglas->setChecked(ajustes->value(ClaveReglas, true).toBool());
    const int paso = std::clamp(ajustes->value(ClaveEspaciado, 8).toInt(), 2, 64);
    cuadricula->setChecked(ajustes->value(ClaveCuadricula, false).toBool());
    ajustar->setChecked(ajustes->value(ClaveAjustar, false).toBool());
    fijarCuadricula(cuadricula->isChecked(), paso, ajustar->isChecked());
    colocarReglas();
    mostrarPropiedades();
}

void FormMain::fijarCuadricula(bool visible, int paso, bool ajustar) {
    paso = std::clamp(paso, 2, 64);
    mCanvas->setCuadricula(visible, paso);
    mRaton->setAjusteCuadricula(ajustar, paso);
    if (QAction* a = accion(QStringLiteral("mnuVerCuadricula")); a && a->isChecked() != visible) a->setChecked(visible);
    if (QAction* a = accion(QStringLiteral("mnuAjustarCuadricula")); a && a->isChecked() != ajustar) a->setChecked(ajustar);
    guardarVer();
}

void FormMain::colocarReglas() {
    const bool visibles = mVerReglas && mVerReglas->isChecked();
    const int margen = visibles ? GruesoRegla : 0;
    static_cast<AreaCanvas*>(mScroll)->setMargenes(margen, margen);
    mReglaH->setVisible(visibles);
    mReglaV->setVisible(visibles);
    const QRect vista = mScroll->viewport()->geometry();
    mReglaH->setGeometry(vista.left(), vista.top() - margen, vista.width(), margen);
    mReglaV->setGeometry(vista.left() - margen, vista.top(), margen, vista.height());
    guardarVer();
}

void FormMain::guardarVer() const {
    if (!mPropiedades || !mVerReglas) return;
    const auto ajustes = AjustesUsuario();
    // Hidden on purpose, not merely with the window.
    ajustes->setValue(ClaveHerramientas, !mHerramientas->isHidden());
    ajustes->setValue(ClavePropiedades, !mPropiedades->isHidden());
    ajustes->setValue(ClaveReglas, mVerReglas->isChecked());
    ajustes->setValue(ClaveCuadricula, mCanvas->cuadriculaVisible());
    ajustes->setValue(ClaveEspaciado, mCanvas->pasoCuadricula());
    if (const QAction* a = accion(QStringLiteral("mnuAjustarCuadricula")))
        ajustes->setValue(ClaveAjustar, a->isChecked());
}

void FormMain::mostrarPropiedades() {
    if (mPropiedades) mPropiedades->mostrar(objetosElegidos());
}

} // namespace quoravex
