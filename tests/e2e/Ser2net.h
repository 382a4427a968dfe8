#pragma once
// A serial device server (ser2net) for the end-to-end tests and the fleet benchmark.

#include "Simulador.h"

#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

namespace quoravex::test {

// A TCP port of the loopback interface that nobody listens on right now.
inline quint16 PuertoTcpLibre() {
    QTcpServer s;
    s.listen(QHostAddress::LocalHost);
    return s.serverPort();
}

inline QString NombreRed(bool rfc2217, quint16 puerto) {
    return QStringLiteral("%1://127.0.0.1:%2")
        .arg(rfc2217 ? QStringLiteral("rfc2217") : QStringLiteral("socket"))
        .arg(puerto);
}

// A serial device server (ser2net) on the loopback interface, started for one test with a
// configuration of its own: each device is reached on its own TCP port, over RFC 2217 or as
// raw bytes. The devices start at 9600 8N1: only a client's RFC 2217 settings change that.
class Ser2net {
public:
    using Acceso = std::pair<QString, bool>; // the device, and whether over RFC 2217

    Ser2net(const QString& carpeta, const QList<Acceso>& accesos) {
        QString yaml;
        QList<quint16> puertos;
        for (const Acceso& a : accesos) {
            puertos << PuertoTcpLibre();
            mNombres << NombreRed(a.second, puertos.last());
            // A raw port's line is the server's: set to what the transfers use.
            yaml += QStringLiteral("connection: &c%1\n"
                                   "  accepter: %2tcp,127.0.0.1,%1\n"
                                   "  connector: serialdev,%3,%4,local\n"
                                   "  options:\n"
                                   "    kickolduser: true\n"
                                   "    mdns: false\n")
                        .arg(puertos.last())
                        .arg(a.second ? QStringLiteral("telnet(rfc2217),") : QString(), a.first,
                             a.second ? QStringLiteral("9600n81") : QStringLiteral("19200n82"));
        }
        const QString config =
            QDir(carpeta).filePath(QStringLiteral("ser2net-%1.yaml").arg(puertos.value(0)));
        const QString programa = QStandardPaths::findExecutable(
            QStringLiteral("ser2net"),
            {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin"), QStringLiteral("/usr/bin")});
        if (programa.isEmpty() || !pruebas::Escribir(config, yaml.toUtf8())) return;
        mProceso.setProcessChannelMode(QProcess::MergedChannels);
        mProceso.start(programa, {QStringLiteral("-n"), QStringLiteral("-u"), QStringLiteral("-c"), config,
                                  QStringLiteral("-P"), config + QStringLiteral(".pid")});
        // Ready once every port takes a connection.
        QElapsedTimer t;
        t.start();
        mListo = mProceso.waitForStarted(5000);
        for (const quint16 puerto : std::as_const(puertos)) {
            for (bool listo = false; mListo && !listo; QThread::msleep(listo ? 0 : 50)) {
                QTcpSocket s;
                s.connectToHost(QHostAddress::LocalHost, puerto);
                listo = s.waitForConnected(200);
                mListo = listo || (t.elapsed() < 10000 && mProceso.state() == QProcess::Running);
            }
        }
    }
    ~Ser2net() { detener(); }

    bool listo() const { return mListo; }
    QString salida() { return QString::fromUtf8(mProceso.readAll()); }
    // "rfc2217://127.0.0.1:PORT" or "socket://127.0.0.1:PORT" of the i-th device.
    QString nombre(int i) const { return mNombres.value(i); }
    const QStringList& nombres() const { return mNombres; }

    void detener() { Detener(mProceso); }

private:
    QProcess mProceso;
    QStringList mNombres;
    bool mListo = false;
};

} // namespace quoravex::test
