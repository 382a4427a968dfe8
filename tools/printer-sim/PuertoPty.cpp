#include "PuertoPty.h"

#include "link/RecepcionTramas.h"

#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace quoravex {

namespace {

int baudiosDe(speed_t v) {
    switch (v) {
    case B300:
        return 300;
    case B600:
        return 600;
    case B1200:
        return 1200;
    case B2400:
        return 2400;
    case B4800:
        return 4800;
    case B9600:
        return 9600;
    case B19200:
        return 19200;
    case B38400:
        return 38400;
    case B57600:
        return 57600;
    case B115200:
        return 115200;
    default:
        return 0;
    }
}

const QByteArray Ruido = QByteArray::fromHex("aa55fe0013");

} // namespace

PuertoPty::PuertoPty(QObject* parent) : SerialPort(parent) {
    mReloj.start();
    mDespacho = new QTimer(this);
    mDespacho->setSingleShot(true);
    mDespacho->setTimerType(Qt::PreciseTimer);
    connect(mDespacho, &QTimer::timeout, this, &PuertoPty::despachar);
    mSilencio = new QTimer(this);
    mSilencio->setSingleShot(true);
    mSilencio->setTimerType(Qt::PreciseTimer);
    connect(mSilencio, &QTimer::timeout, this, &PuertoPty::lineaQuieta);
}

PuertoPty::~PuertoPty() {
    delete mAviso;
    if (mEsclavoAbierto >= 0) ::close(mEsclavoAbierto);
    if (mMaestro >= 0) ::close(mMaestro);
}

bool PuertoPty::crear(QString* error) {
    mMaestro = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (mMaestro < 0 || grantpt(mMaestro) != 0 || unlockpt(mMaestro) != 0) {
        if (error) *error = QString::fromLocal8Bit(strerror(errno));
        return false;
    }
    mEsclavo = QString::fromLocal8Bit(ptsname(mMaestro));
    mEsclavoAbierto = ::open(ptsname(mMaestro), O_RDWR | O_NOCTTY);
    // The line starts at the transfers' settings, 19200 8N2, until the designer sets its own.
    termios t{};
    if (tcgetattr(mMaestro, &t) == 0) {
        cfmakeraw(&t);
        cfsetspeed(&t, B19200);
        t.c_cflag |= CSTOPB;
        tcsetattr(mMaestro, TCSANOW, &t);
    }
    mAviso = new QSocketNotifier(mMaestro, QSocketNotifier::Read);
    connect(mAviso, &QSocketNotifier::activated, this, &PuertoPty::leerMaestro);
    return true;
}

int PuertoPty::baudios() const {
    termios t{};
    if (mMaestro < 0 || tcgetattr(mMaestro, &t) != 0) return 0;
    return baudiosDe(cfgetospeed(&t));
}

std::optional<ConfiguracionLinea> PuertoPty::linea() const {
    // The master's settings are the slave's: what the designer's port was opened with.
    termios t{};
    if (mMaestro < 0 || tcgetattr(mMaestro, &t) != 0) return std::nullopt;
    ConfiguracionLinea l;
    l.baudios = baudiosDe(cfgetospeed(&t));
    switch (t.c_cflag & CSIZE) {
    case CS5:
        l.bitsDatos = 5;
        break;
    case CS6:
        l.bitsDatos = 6;
        break;
    case CS7:
        l.bitsDatos = 7;
        break;
    default:
        l.bitsDatos = 8;
        break;
    }
    const bool impar = (t.c_cflag & PARODD) != 0;
    if (!(t.c_cflag & PARENB))
        l.paridad = 'n';
    else if (t.c_cflag & CMSPAR)
        l.paridad = impar ? 'm' : 's';
    else
        l.paridad = impar ? 'o' : 'e';
    l.bitsParada = (t.c_cflag & CSTOPB) ? 2 : 1;
    return l;
}

qint64 PuertoPty::tiempoByte() const {
    const int b = baudios();
    return b > 0 ? 11 * 1000000000LL / b : 0;
}

qint64 PuertoPty::tiempoLinea(qsizetype n) const {
    return fallos.ritmo ? static_cast<qint64>(n) * tiempoByte() : 0;
}

void PuertoPty::leerMaestro() {
    char buf[4096];
    for (;;) {
        const ssize_t n = ::read(mMaestro, buf, sizeof buf);
        if (n <= 0) break;
        mRecibidos += n;
        programar(QByteArray(buf, static_cast<qsizetype>(n)), false);
    }
    despachar();
}

bool PuertoPty::write(const QByteArray& bytes) {
    ++mRespuestas;
    if (fallos.descartarCada > 0 && mRespuestas % fallos.descartarCada == 0) return true;
    QByteArray salida = bytes;
    const bool basura = fallos.basuraCada > 0 && mRespuestas % fallos.basuraCada == 0;
    if (basura) salida.prepend(Ruido);
    mEnviados += salida.size();
    if (fallos.partir && salida.size() > 1) {
        const qsizetype mitad = salida.size() / 2;
        programar(salida.left(mitad), true);
        programar(salida.mid(mitad), true, static_cast<qint64>(fallos.pausaPartirMs) * 1000000);
    } else {
        programar(salida, true);
    }
    // Noise on the line while the designer reads the answer: the printer finds the next
    // frame behind it.
    if (basura) programar(Ruido, false);
    return true;
}

void PuertoPty::programar(QByteArray bytes, bool salida, qint64 pausaNs) {
    if (salida && fallos.usbMs > 0) {
        programarUsb(bytes, pausaNs);
        return;
    }
    // Each direction is one line: a chunk starts when the previous one has crossed.
    qint64& libre = salida ? mLibreSalidaNs : mLibreEntradaNs;
    const qint64 cuando = std::max(ahoraLinea(), libre) + pausaNs + tiempoLinea(bytes.size());
    libre = cuando;
    mCola.append({cuando, std::move(bytes), salida});
    despacharPronto();
}

qint64 PuertoPty::ahoraLinea() const {
    return mEntregaNs >= 0 ? mEntregaNs : mReloj.nsecsElapsed();
}

void PuertoPty::despacharPronto() {
    // Never from inside a write: bytes handed to the printer there would reach it while it
    // is still answering.
    mDespacho->start(0);
}

void PuertoPty::programarUsb(const QByteArray& bytes, qint64 pausaNs) {
    // Each byte reaches the adapter when its 11 bits have crossed the line; the adapter
    // hands what it holds to the designer on its next latency tick, so the bytes of one
    // answer on either side of a tick arrive in two packets.
    const qint64 rejilla = static_cast<qint64>(fallos.usbMs) * 1000000;
    const qint64 porByte = tiempoByte();
    qint64 llegada = std::max(ahoraLinea(), mLibreSalidaNs) + pausaNs;
    qsizetype desde = 0;
    qint64 paquete = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        llegada += porByte;
        const qint64 tick = (llegada + rejilla - 1) / rejilla * rejilla;
        if (i > desde && tick != paquete) {
            mCola.append({paquete, bytes.mid(desde, i - desde), true});
            desde = i;
        }
        paquete = tick;
    }
    if (desde < bytes.size()) mCola.append({paquete, bytes.mid(desde), true});
    mLibreSalidaNs = llegada;
    despacharPronto();
}

void PuertoPty::despachar() {
    while (!mCola.isEmpty()) {
        const qint64 ahora = mReloj.nsecsElapsed();
        // The earliest chunk; of chunks due at once, the first queued.
        auto siguiente = std::min_element(mCola.begin(), mCola.end(), [](const Envio& a, const Envio& b) {
            return a.cuandoNs < b.cuandoNs;
        });
        if (siguiente->cuandoNs > ahora) {
            // Timers count whole milliseconds: the last fraction is waited in the event loop.
            mDespacho->start(static_cast<int>((siguiente->cuandoNs - ahora) / 1000000));
            break;
        }
        const Envio e = *siguiente;
        mCola.erase(siguiente);
        if (e.salida) {
            qsizetype hecho = 0;
            while (hecho < e.bytes.size()) {
                const ssize_t n = ::write(mMaestro, e.bytes.constData() + hecho, e.bytes.size() - hecho);
                if (n <= 0) break;
                hecho += n;
            }
        } else {
            mEntregaNs = e.cuandoNs;
            entregar(e.bytes);
            mEntregaNs = -1;
        }
    }
}

void PuertoPty::entregar(const QByteArray& bytes) {
    mEntrada.append(bytes);
    emit received();
    mSilencio->start(PausaSincroniaMs);
}

QByteArray PuertoPty::readAll() {
    QByteArray r = mEntrada;
    mEntrada.clear();
    return r;
}

} // namespace quoravex
