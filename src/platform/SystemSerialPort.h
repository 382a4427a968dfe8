#pragma once

#include "TiempoLinea.h"
#include "link/SerialPort.h"

#include <QSerialPort>

namespace quoravex {

// The printer port on the operating system's serial device.
class SystemSerialPort : public SerialPort {
    Q_OBJECT
public:
    explicit SystemSerialPort(QObject* parent = nullptr);
    ~SystemSerialPort() override;

    // "COMn" on Windows; elsewhere the device named by QUORAVEX_COM<n>, or /dev/ttyS<n-1>.
    static QString NombreDispositivo(int numero);
    // The port error event that a serial device error stands for, or 0 for none.
    static int EventoDeError(QSerialPort::SerialPortError error);

    // Opens this device whatever port number is asked for; empty: the number decides.
    void fijarDispositivo(const QString& ruta) { mDispositivo = ruta; }

    bool open(int numero, const ConfiguracionLinea& linea) override;
    void close() override;
    bool isOpen() const override { return mPuerto.isOpen(); }
    bool write(const QByteArray& bytes) override;
    QByteArray readAll() override { return mPuerto.readAll(); }
    qint64 bytesAvailable() const override { return mPuerto.bytesAvailable(); }
    qint64 bytesToWrite() const override { return mPuerto.bytesToWrite(); }
    bool setRts(bool on) override;
    bool setDtr(bool on) override;
    QString ultimoError() const override { return mError; }

private:
    void alError(QSerialPort::SerialPortError error);
    void avisarVaciado();

    QSerialPort mPuerto;
    bool mCambiando = false; // open and close report their own failures
    QString mDispositivo;
    TiempoLinea mLinea;
    QString mError;
};

} // namespace quoravex
