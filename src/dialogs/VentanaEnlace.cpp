#include "VentanaEnlace.h"

#include "platform/PuertoSerie.h"
#include "platform/RelojesEnlace.h"
#include "platform/SystemSerialPort.h"
#include "platform/Ventanas.h"

#include <QApplication>
#include <QDir>
#include <QFontDatabase>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTextCursor>
#include <QVBoxLayout>

namespace quoravex {

namespace {
// 5265 twips at 15 twips a pixel.
constexpr int AnchoVentana = 351;
} // namespace

VentanaEnlace::VentanaEnlace(OpcionesVentanaEnlace opciones, const ConfiguracionLinea& linea,
                             const QString& nombreInicio, QWidget* parent)
    : QDialog(parent), mOpciones(std::move(opciones)) {
    // The port number stands for a device of this machine or a network port.
    const QString dispositivo =
        SystemSerialPort::NombreDispositivo(mOpciones.puertoCom, mOpciones.elegido, mOpciones.dispositivo);
    const bool puertoDePrueba =
        mOpciones.puerto && mOpciones.dispositivo.isEmpty() && mOpciones.elegido.isEmpty();
    mPuertoPropio = mOpciones.puerto ? std::move(mOpciones.puerto) : CrearPuertoSerie(dispositivo);
    mPuerto = mPuertoPropio.get();
    mDirectorio = mOpciones.directorio.isEmpty() ? QDir::currentPath() : mOpciones.directorio;
    mEnlace = std::make_unique<EnlaceImpresora>(*mPuerto, *this, linea, mOpciones.ajustes);
    // Messages name the port by its number and by the device it stands for.
    if (!puertoDePrueba)
        mEnlace->fijarNombrePuerto(QStringLiteral("COM%1 (%2)").arg(mOpciones.puertoCom).arg(dispositivo));
    mRelojes = new RelojesEnlace(this);
    mRelojes->asignar(Reloj::TOut, [this] { mEnlace->tickTOut(); });
    mRelojes->asignar(Reloj::Intermitencia, [this] { mEnlace->tickIntermitencia(); });
    mostrarMensaje = mOpciones.mostrarMensaje;
    if (!mostrarMensaje)
        mostrarMensaje = [this](const QString& texto, const QString& titulo) {
            QMessageBox::critical(isVisible() ? this : parentWidget(), titulo, texto);
        };
    construir(nombreInicio);
}

VentanaEnlace::~VentanaEnlace() {
    mRelojes->detenerTodos();
    soltarCursor();
}

void VentanaEnlace::construir(const QString& nombreInicio) {
    auto* columna = new QVBoxLayout(this);
    for (int i = 0; i < 4; ++i) {
        auto* marco = new QFrame(this);
        marco->setObjectName(QStringLiteral("FrmBarra_%1").arg(i));
        marco->setFrameShape(QFrame::StyledPanel);
        auto* fila = new QHBoxLayout(marco);
        fila->setContentsMargins(4, 2, 4, 2);
        auto* barra = new QProgressBar(marco);
        barra->setObjectName(QStringLiteral("ShBarra_%1").arg(i));
        barra->setRange(0, 100);
        barra->setTextVisible(false);
        auto* etiqueta = new QLabel(QStringLiteral("100%"), marco);
        etiqueta->setObjectName(QStringLiteral("LBBarra_%1").arg(i));
        etiqueta->setMinimumWidth(etiqueta->fontMetrics().horizontalAdvance(QStringLiteral("100%")) + 4);
        etiqueta->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        fila->addWidget(barra, 1);
        fila->addWidget(etiqueta);
        columna->addWidget(marco);
        FrmBarra[static_cast<size_t>(i)] = marco;
        LBBarra[static_cast<size_t>(i)] = etiqueta;
        ShBarra[static_cast<size_t>(i)] = barra;
    }
    // Only the raster bar and the turn-number font bar are shown.
    FrmBarra[2]->setVisible(false);
    FrmBarra[3]->setVisible(false);

    auto* botones = new QHBoxLayout;
    Shape1 = new QFrame(this);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setFixedSize(16, 16);
    Shape1->setFrameShape(QFrame::Box);
    Shape1->setAutoFillBackground(true);
    indicador(false);
    PBIniciar = new QPushButton(QStringLiteral("IniciarEnvio"), this);
    PBIniciar->setObjectName(nombreInicio);
    PBSalirBoton = new QPushButton(QStringLiteral("Salir"), this);
    PBSalirBoton->setObjectName(QStringLiteral("PBSalir"));
    PBSalirBoton->setAutoDefault(false);
    PBIniciar->setAutoDefault(false);
    botones->addWidget(Shape1);
    botones->addStretch(1);
    botones->addWidget(PBIniciar);
    botones->addWidget(PBSalirBoton);
    columna->addLayout(botones);
    connect(PBSalirBoton, &QPushButton::clicked, this, &VentanaEnlace::PBSalir);

    // The log and the single-transfer buttons are kept for service, out of sight.
    AreaDepuracion = new QWidget(this);
    AreaDepuracion->setObjectName(QStringLiteral("AreaDepuracion"));
    auto* area = new QHBoxLayout(AreaDepuracion);
    auto* grupo = new QGroupBox(QStringLiteral("RESPUESTA "), AreaDepuracion);
    auto* columnaLog = new QVBoxLayout(grupo);
    TBBufRX = new QPlainTextEdit(grupo);
    TBBufRX->setObjectName(QStringLiteral("TBBufRX"));
    TBBufRX->setReadOnly(true);
    TBBufRX->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    columnaLog->addWidget(TBBufRX);
    area->addWidget(grupo, 1);
    mBotonesDepuracion = new QVBoxLayout;
    area->addLayout(mBotonesDepuracion);
    PBBorrarRXBoton = botonDepuracion(QStringLiteral("PBBorrarRX"), QStringLiteral("Borrar RX"));
    connect(PBBorrarRXBoton, &QPushButton::clicked, this, &VentanaEnlace::PBBorrarRX);
    AreaDepuracion->setVisible(false);
    columna->addWidget(AreaDepuracion);

    setFixedWidth(AnchoVentana);
    columna->setSizeConstraint(QLayout::SetFixedSize);
}

QPushButton* VentanaEnlace::botonDepuracion(const QString& nombre, const QString& titulo) {
    auto* b = new QPushButton(titulo, AreaDepuracion);
    b->setObjectName(nombre);
    b->setAutoDefault(false);
    mBotonesDepuracion->addWidget(b);
    return b;
}

bool VentanaEnlace::cargar() {
    // Messages of the load are shown before the window is, so they come at once.
    mCargando = true;
    const bool ok = mEnlace->Cargar(mOpciones.puertoCom, mOpciones.otraInstancia);
    mCargando = false;
    mostrarPendientes();
    mCerrarPendiente = false;
    if (!ok) return false;
    MantenerEncima(*this);
    alCargar();
    return true;
}

void VentanaEnlace::log(const QString& linea) {
    TBBufRX->appendPlainText(linea);
    TBBufRX->moveCursor(QTextCursor::End);
}

void VentanaEnlace::barra(int i, int porcentaje) {
    if (i < 0 || i > 3) return;
    ShBarra[static_cast<size_t>(i)]->setValue(porcentaje);
    LBBarra[static_cast<size_t>(i)]->setText(QString::number(porcentaje) + QLatin1Char('%'));
}

void VentanaEnlace::cursorOcupado(bool ocupado) {
    if (ocupado == mCursor) return;
    mCursor = ocupado;
    if (ocupado)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void VentanaEnlace::soltarCursor() {
    cursorOcupado(false);
}

void VentanaEnlace::mensaje(const QString& texto, const QString& titulo) {
    mPendientes.append({texto, titulo});
    // A transfer reports from inside its tick: the box opens once the tick has returned.
    if (!mCargando) QMetaObject::invokeMethod(this, &VentanaEnlace::mostrarPendientes, Qt::QueuedConnection);
}

void VentanaEnlace::mostrarPendientes() {
    if (mMostrando) return;
    mMostrando = true;
    while (!mPendientes.isEmpty()) {
        const Pendiente p = mPendientes.takeFirst();
        if (mostrarMensaje) mostrarMensaje(p.texto, p.titulo);
    }
    mMostrando = false;
    if (mCerrarPendiente && !mCargando) {
        mCerrarPendiente = false;
        done(QDialog::Rejected);
    }
}

void VentanaEnlace::indicador(bool azul) {
    QPalette p = Shape1->palette();
    p.setColor(QPalette::Window, azul ? QColor(0, 0, 255) : QColor(255, 255, 255));
    Shape1->setPalette(p);
}

void VentanaEnlace::reloj(Reloj r, int intervaloMs) {
    mRelojes->reiniciar(r, intervaloMs);
}

void VentanaEnlace::pitido() {
    QApplication::beep();
}

void VentanaEnlace::inicioHabilitado(bool habilitado) {
    PBIniciar->setEnabled(habilitado);
}

void VentanaEnlace::cerrarVentana() {
    mCerrarPendiente = true;
    if (!mCargando) QMetaObject::invokeMethod(this, &VentanaEnlace::mostrarPendientes, Qt::QueuedConnection);
}

void VentanaEnlace::PBSalir() {
    done(QDialog::Rejected);
}

void VentanaEnlace::PBBorrarRX() {
    TBBufRX->clear();
}

void VentanaEnlace::done(int r) {
    // Unload: nothing ticks any more, the data files and the port are closed.
    mRelojes->detenerTodos();
    detenerTransferencias();
    mEnlace->CerrarPuerto();
    soltarCursor();
    QDialog::done(r);
}

} // namespace quoravex
