#include "FormMain.h"

#include "AreaCanvas.h"

#include "editor/CanvasTicket.h"
#include "editor/Historia.h"
#include "platform/AjustesUsuario.h"
#include "platform/Rutas.h"
#include "platform/Ventanas.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

namespace quoravex {

FormMain::FormMain(const OpcionesArranque& opciones, QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(QStringLiteral("Quoravex  -  Version 1.4"));
    construirMenus();

    // Settings from the configuration file, then the command line.
    Configuracion cfg;
    const QString dir = opciones.dirActual.isEmpty() ? QDir::currentPath() : opciones.dirActual;
    LeerArchivoConfiguracion(QDir(dir).filePath(NombreArchivoConfiguracion), cfg);
    LeerLineaComandos(opciones.lineaComandos, cfg);
    LeerEntornoAutoguardado(qEnvironmentVariable("QUORAVEX_AUTOGUARDADO_S"), cfg);
    mDiseno.ModeloTeclado = cfg.ModeloTeclado;
    mDiseno.PuertoCom = cfg.PuertoCom;
    dispositivos = cfg.Dispositivos;
    elegidos = DispositivosElegidos();

    prepararDirectorioTrabajo(opciones);

    mDiseno.LargoTicket = 500;
    mDiseno.VistaActual = 1;
    mDiseno.NumPulsadores = 0;

    // These two serve only as context menus on the canvas.
    mMenus.value(QStringLiteral("mnuObjetos"))->menuAction()->setVisible(false);
    mMenus.value(QStringLiteral("mnuTicket"))->menuAction()->setVisible(false);

    mDiseno.vaciarTabla();
    for (int i = 0; i < NumSlots; ++i) {
        mWs.item(i).setBorder(false);
        mWs.aparcar(i);
    }

    mostrarMensaje = [this](const QString& texto) {
        QMessageBox::warning(this, QStringLiteral("Quoravex"), texto, QMessageBox::Ok);
    };
    mostrarCritico = [this](const QString& texto) {
        QMessageBox::critical(this, QStringLiteral("Quoravex"), texto, QMessageBox::Ok);
    };
    ejecutarDialogo = [](QDialog& dialogo) { return dialogo.exec(); };
    construirVentana();
    conectarComandos();
    conectarEnvio(cfg.TickMs);
    llenarSelectorVista(0);
    mPulsadoresVistos = 0;

    mDiseno.DirTickets = DirectorioTicketsInicial(DirectorioPrograma());
    mDiseno.TicketModificado = Falso;
    mDiseno.ArchivoTicket = mDiseno.DirTickets + QStringLiteral("TICKET.tck");
    mDiseno.IdxObjMasAlto = 0;
    dimensionarCanvas();
    conectarEdicion();
    conectarCampos();

    mMenus.value(QStringLiteral("MnuConfig"))->menuAction()->setVisible(false);
    aplicarModeloTeclado();

    mTimer1 = new QTimer(this);
    mTimer1->setObjectName(QStringLiteral("Timer1"));
    mTimer1->setInterval(200);
    connect(mTimer1, &QTimer::timeout, this, &FormMain::actualizarEstado);
    mTimer1->start();
    mTimScheduler = new QTimer(this);
    mTimScheduler->setObjectName(QStringLiteral("TimScheduler"));
    mTimScheduler->setInterval(250);
    connect(mTimScheduler, &QTimer::timeout, this, &FormMain::actualizarComandos);
    mTimScheduler->start();
    actualizarComandos();
    actualizarEstado();
    conectarRecuperacion(opciones, cfg.AutoguardadoS);
    CentrarFormulario(*this);
}

FormMain::~FormMain() {
    // The undo stack is a child, destroyed after this window's members: what it says as it
    // goes must not reach them.
    if (mHistoria) {
        mHistoria->pila().disconnect(this);
        mHistoria->disconnect(this);
    }
}

void FormMain::prepararDirectorioTrabajo(const OpcionesArranque& opciones) {
    const QString temporal = opciones.usarRutaTemporal ? opciones.rutaTemporal : RutaTemporal();
    // Without a usable temporary folder the work folder is relative to the current one.
    mDirTrabajo = temporal.isEmpty() ? QStringLiteral("Trenvast/")
                                     : ConSeparador(temporal) + QStringLiteral("Trenvast/");
    if (!QFileInfo(mDirTrabajo).isDir()) CrearDirectorio(mDirTrabajo);
}

void FormMain::construirVentana() {
    auto* central = new QWidget(this);
    auto* columna = new QVBoxLayout(central);
    columna->setContentsMargins(4, 4, 4, 4);
    columna->setSpacing(2);

    mCBSelTicket = new QComboBox(central);
    mCBSelTicket->setObjectName(QStringLiteral("CBSelTicket"));
    mCBSelTicket->setVisible(false);
    auto* fila = new QHBoxLayout;
    fila->addStretch(1);
    fila->addWidget(mCBSelTicket);
    columna->addLayout(fila);

    mCanvas = new CanvasTicket(mWs);
    mScroll = new AreaCanvas(central);
    mScroll->setWidget(mCanvas);
    mScroll->setWidgetResizable(false);
    mScroll->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    mScroll->setFrameShape(QFrame::NoFrame);
    columna->addWidget(mScroll, 1);

    mLbEstado = new QLabel(central);
    mLbEstado->setObjectName(QStringLiteral("LbEstado"));
    mLbArchivo = new QLabel(central);
    mLbArchivo->setObjectName(QStringLiteral("LbArchivo"));
    columna->addWidget(mLbEstado);
    columna->addWidget(mLbArchivo);
    construirAreaDepuracion(central);
    setCentralWidget(central);
    mLbPuerto = new QLabel(this);
    mLbPuerto->setObjectName(QStringLiteral("LbPuerto"));
    mLbPuerto->setAccessibleName(QStringLiteral("Puerto de la impresora"));
    statusBar()->addPermanentWidget(mLbPuerto);
    marcarPuerto();
}

void FormMain::dimensionarCanvas() {
    mWs.dimensionarCanvas(mDiseno.LargoTicket);
    mCanvas->ajustarTamano();
    mScroll->setMinimumWidth(mCanvas->width() + mScroll->verticalScrollBar()->sizeHint().width());
    // The window follows the canvas, but never beyond the screen.
    const int extra = sizeHint().height() - mScroll->sizeHint().height();
    int alto = mCanvas->height() + extra + 8;
    if (const QScreen* pantalla = screen() ? screen() : QGuiApplication::primaryScreen())
        alto = std::min(alto, pantalla->availableGeometry().height() - 40);
    resize(std::max(minimumSizeHint().width(), mScroll->minimumWidth() + 8), alto);
}

void FormMain::llenarSelectorVista(int n) {
    mCBSelTicket->clear();
    mNombresVista[0] = QStringLiteral("Parte Común");
    mCBSelTicket->addItem(mNombresVista[0]);
    if (n > 1) {
        for (int i = 1; i <= n && i < static_cast<int>(mNombresVista.size()); ++i) {
            mNombresVista[static_cast<size_t>(i)] = QStringLiteral("Ticket Pulsador ") + QString::number(i);
            mCBSelTicket->addItem(mNombresVista[static_cast<size_t>(i)], i);
        }
    }
    mCBSelTicket->setCurrentIndex(0);
    mUltimaVista = mNombresVista[0];
}

void FormMain::aplicarModeloTeclado() {
    for (int m = 1; m <= 3; ++m)
        if (QAction* a = accion(QStringLiteral("MnuConfigTeclas_%1").arg(m)))
            a->setChecked(m == mDiseno.ModeloTeclado);
    const int maximo = mDiseno.ModeloTeclado == 3 ? 16 : mDiseno.ModeloTeclado == 2 ? 8 : 4;
    for (int n = 2; n <= MaxPulsadores; ++n)
        if (QAction* a = accion(QStringLiteral("nmuConfNumPuls_%1").arg(n))) a->setVisible(n <= maximo);
}

void FormMain::marcarPuerto() {
    for (int p = 1; p <= 9; ++p)
        if (QAction* a = accion(QStringLiteral("MnuPortSerie_%1").arg(p))) {
            a->setChecked(p == mDiseno.PuertoCom);
            a->setStatusTip(dispositivoPuerto(p));
        }
    if (mLbPuerto) mLbPuerto->setText(textoPuerto());
}

QString FormMain::textoEstado() const {
    const int orden = Design::slotValido(mDiseno.Objeto) ? mDiseno.objeto(mDiseno.Objeto).Orden : 0;
    return QStringLiteral("[Num Objetos] : ") + QString::number(mDiseno.NumObjetos) +
           QStringLiteral("       [IdxObjMasAlto] : ") + QString::number(mDiseno.IdxObjMasAlto) +
           QStringLiteral("        [Objeto] : ") + QString::number(mDiseno.Objeto) +
           QStringLiteral("        [Orden] : ") + QString::number(orden);
}

void FormMain::actualizarEstado() {
    mLbEstado->setText(textoEstado());
    const QString archivo = mDiseno.ArchivoTicket.trimmed();
    mLbArchivo->setText(archivo);
    statusBar()->showMessage(archivo);
}

} // namespace quoravex
