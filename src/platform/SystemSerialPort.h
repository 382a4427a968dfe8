#pragma once

#include "PuertosDetectados.h"
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

    // The device that port number n stands for: the one named by QUORAVEX_COM<n>, else the
    // user's choice ("Dispositivo..."), else the configured one (Morvane.cfg), else "COMn" on
    // Windows and /dev/ttyS<n-1> elsewhere. It may name a network port.
    static QString NombreDispositivo(int numero, const QString& elegido = {},
                                     const QString& configurado = {});
    // The system's own serial device for port number n: "COMn" or /dev/ttyS<n-1>.
    static QString DispositivoSistema(int numero);
    // The port error event that a serial device error stands for, or 0 for none.
    static int EventoDeError(QSerialPort::SerialPortError error);

    // Opens this device whatever port number is asked for; empty: the number decides.
    void fijarDispositivo(const QString& ruta) { mDispositivo = ruta; }
    // Where the ports named in the reasons for a missing device come from (tests).
    void fijarDetector(DetectorPuertos detectar) { mDetectar = std::move(detectar); }
    // The driver took the request for low latency when the port last opened.
    bool bajaLatencia() const { return mBajaLatencia; }

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
    DetectorPuertos mDetectar;
    bool mBajaLatencia = false;
};

} // namespace quoravex
