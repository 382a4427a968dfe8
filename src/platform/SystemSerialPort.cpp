#include "SystemSerialPort.h"

#include <QtGlobal>
#include <algorithm>

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

SystemSerialPort::SystemSerialPort(QObject* parent) : SerialPort(parent) {
    connect(&mPuerto, &QSerialPort::readyRead, this, &SerialPort::received);
    mReloj.start();
    mVaciado.setSingleShot(true);
    mVaciado.setTimerType(Qt::PreciseTimer);
    connect(&mVaciado, &QTimer::timeout, this, &SystemSerialPort::avisarVaciado);
    connect(&mPuerto, &QSerialPort::bytesWritten, this, &SystemSerialPort::avisarVaciado);
    connect(&mPuerto, &QSerialPort::errorOccurred, this, &SystemSerialPort::alError);
}

SystemSerialPort::~SystemSerialPort() {
    mCambiando = true;
    mPuerto.close();
}

QString SystemSerialPort::NombreDispositivo(int numero) {
#ifdef Q_OS_WIN
    return QStringLiteral("COM") + QString::number(numero);
#else
    const QString nombre = qEnvironmentVariable(qPrintable(QStringLiteral("QUORAVEX_COM%1").arg(numero)));
    if (!nombre.isEmpty()) return nombre;
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
    mPuerto.setPortName(mDispositivo.isEmpty() ? NombreDispositivo(numero) : mDispositivo);
    mPuerto.setBaudRate(linea.baudios);
    mPuerto.setParity(paridad(linea.paridad));
    mPuerto.setDataBits(static_cast<QSerialPort::DataBits>(linea.bitsDatos));
    mPuerto.setStopBits(linea.bitsParada == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop);
    mPuerto.setFlowControl(QSerialPort::NoFlowControl);
    const bool abierto = mPuerto.open(QIODevice::ReadWrite);
    // Start bit, data bits, parity and stop bits: 11 for 8,n,2.
    const int bits = 1 + linea.bitsDatos + (linea.paridad == 'n' ? 0 : 1) + linea.bitsParada;
    mNsPorByte = linea.baudios > 0 ? bits * 1000000000LL / linea.baudios : 0;
    mLineaLibreNs = 0;
    mVaciado.stop();
    mPuerto.clearError();
    mCambiando = false;
    return abierto;
}

void SystemSerialPort::close() {
    mVaciado.stop();
    mCambiando = true;
    mPuerto.close();
    mPuerto.clearError();
    mCambiando = false;
}

bool SystemSerialPort::write(const QByteArray& bytes) {
    if (!mPuerto.isOpen() || mPuerto.write(bytes) != bytes.size()) return false;
    // The device takes the bytes at once; the line needs its time to carry them.
    const qint64 ahora = mReloj.nsecsElapsed();
    mLineaLibreNs = std::max(ahora, mLineaLibreNs) + bytes.size() * mNsPorByte;
    return true;
}

void SystemSerialPort::avisarVaciado() {
    if (!mPuerto.isOpen() || mPuerto.bytesToWrite() > 0) return;
    // The output is drained when its last byte has left the line, not when the device
    // driver took it; a frame counts as sent only then.
    const qint64 falta = mLineaLibreNs - mReloj.nsecsElapsed();
    if (falta > 0) {
        mVaciado.start(static_cast<int>((falta + 999999) / 1000000));
        return;
    }
    emit drained();
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
