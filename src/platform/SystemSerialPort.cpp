#include "SystemSerialPort.h"

#include "DispositivoSerie.h"

#include <QtGlobal>

namespace quoravex {

namespace {

QSerialPort::Parity paridad(char p) {
    switch (p) {
    case 'e':
        return QSerialPort::EvenParity;
    case 'o':
        return QSerialPort::OddParity;
    case 'm':
        return QSerialPort::MarkParity;
    case 's':
        return QSerialPort::SpaceParity;
    default:
        return QSerialPort::NoParity;
    }
}

} // namespace

SystemSerialPort::SystemSerialPort(QObject* parent)
    : SerialPort(parent), mLinea([this] {
          if (mPuerto.isOpen() && mPuerto.bytesToWrite() == 0) emit drained();
      }) {
    connect(&mPuerto, &QSerialPort::readyRead, this, &SerialPort::received);
    connect(&mPuerto, &QSerialPort::bytesWritten, this, &SystemSerialPort::avisarVaciado);
    connect(&mPuerto, &QSerialPort::errorOccurred, this, &SystemSerialPort::alError);
}

SystemSerialPort::~SystemSerialPort() {
    mCambiando = true;
    mPuerto.close();
}

QString SystemSerialPort::NombreDispositivo(int numero, const QString& elegido, const QString& configurado) {
    const QString nombre = qEnvironmentVariable(qPrintable(QStringLiteral("QUORAVEX_COM%1").arg(numero)));
    if (!nombre.isEmpty()) return nombre;
    if (!elegido.isEmpty()) return elegido;
    if (!configurado.isEmpty()) return configurado;
    return DispositivoSistema(numero);
}

QString SystemSerialPort::DispositivoSistema(int numero) {
#ifdef Q_OS_WIN
    return QStringLiteral("COM") + QString::number(numero);
#else
    return QStringLiteral("/dev/ttyS") + QString::number(numero - 1);
#endif
}

int SystemSerialPort::EventoDeError(QSerialPort::SerialPortError error) {
    switch (error) {
    case QSerialPort::ReadError:
        return EventoSobrescritura;
    case QSerialPort::WriteError:
        return EventoTxLleno;
    case QSerialPort::ResourceError:
    case QSerialPort::UnknownError:
        return EventoDcb;
    default:
        // Open failures are the result of open(); a device that refuses RTS or DTR
        // changes (UnsupportedOperationError) keeps working.
        return 0;
    }
}

bool SystemSerialPort::open(int numero, const ConfiguracionLinea& linea) {
    mCambiando = true;
    if (mPuerto.isOpen()) mPuerto.close();
    const QString nombre = mDispositivo.isEmpty() ? NombreDispositivo(numero) : mDispositivo;
    mPuerto.setPortName(nombre);
    mPuerto.setBaudRate(linea.baudios);
    mPuerto.setParity(paridad(linea.paridad));
    mPuerto.setDataBits(static_cast<QSerialPort::DataBits>(linea.bitsDatos));
    mPuerto.setStopBits(linea.bitsParada == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop);
    mPuerto.setFlowControl(QSerialPort::NoFlowControl);
    const bool abierto = mPuerto.open(QIODevice::ReadWrite);
    mError = abierto ? QString() : MotivoNoAbre(nombre, mPuerto.error(), mPuerto.errorString(), mDetectar);
    // USB adapters hold received bytes for their latency timer unless asked not to.
    mBajaLatencia = abierto && PedirBajaLatencia(static_cast<int>(mPuerto.handle()));
    mLinea.configurar(linea);
    mPuerto.clearError();
    mCambiando = false;
    return abierto;
}

void SystemSerialPort::close() {
    mLinea.detener();
    mCambiando = true;
    mPuerto.close();
    mPuerto.clearError();
    mCambiando = false;
}

bool SystemSerialPort::write(const QByteArray& bytes) {
    if (!mPuerto.isOpen() || mPuerto.write(bytes) != bytes.size()) return false;
    // The device takes the bytes at once; the line needs its time to carry them.
    mLinea.escrito(bytes.size());
    return true;
}

void SystemSerialPort::avisarVaciado() {
    if (!mPuerto.isOpen() || mPuerto.bytesToWrite() > 0) return;
    mLinea.revisar();
}

bool SystemSerialPort::setRts(bool on) {
    const bool ok = mPuerto.isOpen() && mPuerto.setRequestToSend(on);
    mPuerto.clearError();
    return ok;
}

bool SystemSerialPort::setDtr(bool on) {
    const bool ok = mPuerto.isOpen() && mPuerto.setDataTerminalReady(on);
    mPuerto.clearError();
    return ok;
}

void SystemSerialPort::alError(QSerialPort::SerialPortError error) {
    const int evento = EventoDeError(error);
    if (mCambiando || evento == 0) return;
    // The user of the port may close and reopen it: not from inside the device's own call.
    QMetaObject::invokeMethod(
        this, [this, evento] { emit errorEvent(evento); }, Qt::QueuedConnection);
}

} // namespace quoravex
