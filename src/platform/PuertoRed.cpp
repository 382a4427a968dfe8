#include "PuertoRed.h"

#include "ConexionRed.h"

#include <QHostAddress>
#include <QHostInfo>
#include <QTimer>

#include <chrono>

namespace quoravex {

PuertoRed::PuertoRed(const QString& nombre, QObject* parent)
    : SerialPort(parent), mNombre(nombre), mDireccion(DireccionRed::desdeTexto(nombre)),
      mConexion(new ConexionRed(this)), mLinea([this] {
          if (isOpen() && bytesToWrite() == 0) emit drained();
      }) {
    if (!mDireccion) mError = QStringLiteral("%1: no es una dirección de red válida (rfc2217://HOST:PUERTO o socket://HOST:PUERTO)").arg(nombre);
}

PuertoRed::~PuertoRed() {
    {
        std::lock_guard l(mConexion->m);
        mConexion->destino = nullptr;
    }
    mConexion->ordenar(OrdenLiberar{});
}

void PuertoRed::conectar() {
    const auto terminar = [this] { QMetaObject::invokeMethod(this, &PuertoRed::conexionTerminada, Qt::QueuedConnection); };
    if (!mDireccion) return terminar();
    {
        std::lock_guard l(mConexion->m);
        mConectado = false;
        if (mConexion->estado != ConexionRed::Estado::Inactiva) return terminar();
        mConexion->estado = ConexionRed::Estado::Conectando;
        mConexion->error.clear();
    }
    mBuscando = true;
    const int generacion = ++mGeneracion;
    // A host that does not answer is given up after the same wait as open()'s.
    QTimer::singleShot(EsperaConexionMs, this, [this, generacion] {
        if (generacion != mGeneracion) return;
        {
            std::lock_guard l(mConexion->m);
            if (mConexion->estado != ConexionRed::Estado::Conectando) return;
            mConexion->estado = ConexionRed::Estado::Caida;
            mConexion->error = QStringLiteral("tiempo agotado");
        }
        ++mGeneracion;
        mBuscando = false;
        mConexion->ordenar(OrdenCerrar{});
        emit conexionTerminada();
    });
    QHostInfo::lookupHost(mDireccion->host, this, [this, generacion](const QHostInfo& info) {
        if (generacion != mGeneracion) return;
        mBuscando = false;
        if (info.error() != QHostInfo::NoError || info.addresses().isEmpty()) {
            {
                std::lock_guard l(mConexion->m);
                mConexion->estado = ConexionRed::Estado::Caida;
                mConexion->error = QStringLiteral("no se encuentra el servidor %1").arg(mDireccion->host);
            }
            // Whoever hears this may open the port at once, which takes the lock again.
            emit conexionTerminada();
            return;
        }
        const QHostAddress a = info.addresses().first();
        pedirConexion(a.toString(), a.protocol() == QAbstractSocket::IPv6Protocol);
    });
}

void PuertoRed::pedirConexion(const QString& direccionIp, bool ipv6) {
    const QString descripcion = QStringLiteral("%1tcp(nodelay),%2%3,%4")
                                    .arg(mDireccion->rfc2217 ? QStringLiteral("telnet(rfc2217),") : QString(),
                                         ipv6 ? QStringLiteral("ipv6,") : QString(), direccionIp)
                                    .arg(mDireccion->puerto);
    mConexion->ordenar(OrdenConectar{descripcion.toLatin1()});
}

bool PuertoRed::esperarConexion() {
    if (!mDireccion) return false;
    ConexionRed::Estado estado;
    {
        std::lock_guard l(mConexion->m);
        estado = mConexion->estado;
        if (estado == ConexionRed::Estado::Inactiva) {
            mConexion->estado = ConexionRed::Estado::Conectando;
            mConexion->error.clear();
        }
    }
    if (estado == ConexionRed::Estado::Inactiva || (estado == ConexionRed::Estado::Conectando && mBuscando)) {
        // Nobody else is resolving the name: it is looked up here, blocking.
        ++mGeneracion;
        mBuscando = false;
        const QHostInfo info = QHostInfo::fromName(mDireccion->host);
        if (info.error() != QHostInfo::NoError || info.addresses().isEmpty()) {
            std::lock_guard l(mConexion->m);
            mConexion->estado = ConexionRed::Estado::Caida;
            mConexion->error = QStringLiteral("no se encuentra el servidor %1").arg(mDireccion->host);
            return false;
        }
        const QHostAddress a = info.addresses().first();
        pedirConexion(a.toString(), a.protocol() == QAbstractSocket::IPv6Protocol);
    }
    std::unique_lock l(mConexion->m);
    const bool hecho = mConexion->cambio.wait_for(l, std::chrono::milliseconds(EsperaConexionMs), [this] {
        return mConexion->estado != ConexionRed::Estado::Conectando;
    });
    if (!hecho) {
        mConexion->estado = ConexionRed::Estado::Caida;
        mConexion->error = QStringLiteral("tiempo agotado");
        l.unlock();
        mConexion->ordenar(OrdenCerrar{});
        return false;
    }
    return mConexion->estado == ConexionRed::Estado::Conectada;
}

bool PuertoRed::open(int, const ConfiguracionLinea& linea) {
    {
        // A connection that failed or broke stays failed until the port is closed.
        std::lock_guard l(mConexion->m);
        if (mConexion->estado == ConexionRed::Estado::Caida) {
            mAbierto = false;
            return false;
        }
    }
    if (mAbierto) close();
    mConectado = false;
    if (!esperarConexion()) return false;
    {
        std::lock_guard l(mConexion->m);
        mConexion->entrada.clear();
        mConexion->avisoEntrada = false;
    }
    mConexion->ordenar(OrdenLinea{linea});
    mLinea.configurar(linea);
    mAbierto = true;
    mConectado = true;
    return true;
}

void PuertoRed::close() {
    mAbierto = false;
    mLinea.detener();
    ++mGeneracion;
    mBuscando = false;
    mConexion->ordenar(OrdenCerrar{});
    // The next open connects afresh: it waits for this connection to be gone.
    std::unique_lock l(mConexion->m);
    mConexion->cambio.wait_for(l, std::chrono::seconds(2), [this] { return !mConexion->enCurso; });
    mConexion->estado = ConexionRed::Estado::Inactiva;
    mConexion->entrada.clear();
}

bool PuertoRed::isOpen() const {
    if (!mAbierto) return false;
    std::lock_guard l(mConexion->m);
    return mConexion->estado == ConexionRed::Estado::Conectada;
}

bool PuertoRed::write(const QByteArray& bytes) {
    if (!isOpen()) return false;
    {
        std::lock_guard l(mConexion->m);
        mConexion->pendientes += bytes.size();
    }
    mConexion->ordenar(OrdenEscribir{bytes});
    mLinea.escrito(bytes.size());
    return true;
}

void PuertoRed::escrito() {
    if (isOpen() && bytesToWrite() == 0) mLinea.revisar();
}

QByteArray PuertoRed::readAll() {
    std::lock_guard l(mConexion->m);
    mConexion->avisoEntrada = false;
    QByteArray bytes;
    bytes.swap(mConexion->entrada);
    return mAbierto ? bytes : QByteArray();
}

qint64 PuertoRed::bytesAvailable() const {
    std::lock_guard l(mConexion->m);
    return mAbierto ? mConexion->entrada.size() : 0;
}

qint64 PuertoRed::bytesToWrite() const {
    std::lock_guard l(mConexion->m);
    return mConexion->pendientes;
}

bool PuertoRed::setRts(bool on) {
    if (!isOpen() || !mDireccion->rfc2217) return false;
    mConexion->ordenar(OrdenControl{true, on});
    return true;
}

bool PuertoRed::setDtr(bool on) {
    if (!isOpen() || !mDireccion->rfc2217) return false;
    mConexion->ordenar(OrdenControl{false, on});
    return true;
}

QString PuertoRed::ultimoError() const {
    if (!mDireccion) return mError;
    std::lock_guard l(mConexion->m);
    if (mConexion->estado != ConexionRed::Estado::Caida) return {};
    return (mConectado ? QStringLiteral("Conexión con %1 perdida: %2") : QStringLiteral("No se puede conectar con %1: %2"))
        .arg(mDireccion->texto(), mConexion->error);
}

} // namespace quoravex
