#include "PuertoPty.h"

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
    termios t{};
    if (tcgetattr(mMaestro, &t) == 0) {
        cfmakeraw(&t);
        cfsetspeed(&t, B19200);
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

qint64 PuertoPty::tiempoLinea(qsizetype n) const {
    const int b = baudios();
    if (!fallos.ritmo || b <= 0) return 0;
    return static_cast<qint64>(n) * 11 * 1000000000LL / b;
}

void PuertoPty::leerMaestro() {
    char buf[4096];
    for (;;) {
        const ssize_t n = ::read(mMaestro, buf, sizeof buf);
        if (n <= 0) break;
        mRecibidos += n;
        programar(QByteArray(buf, static_cast<qsizetype>(n)), false);
    }
}

bool PuertoPty::write(const QByteArray& bytes) {
    ++mRespuestas;
    if (fallos.descartarCada > 0 && mRespuestas % fallos.descartarCada == 0) return true;
    QByteArray salida = bytes;
    if (fallos.basuraCada > 0 && mRespuestas % fallos.basuraCada == 0) salida.prepend(Ruido);
    mEnviados += salida.size();
    if (fallos.partir && salida.size() > 1) {
        const qsizetype mitad = salida.size() / 2;
        programar(salida.left(mitad), true);
        programar(salida.mid(mitad), true, static_cast<qint64>(fallos.pausaPartirMs) * 1000000);
    } else {
        programar(salida, true);
    }
    return true;
}

void PuertoPty::programar(QByteArray bytes, bool salida, qint64 pausaNs) {
    // Each direction is one line: a chunk starts when the previous one has crossed.
    qint64& libre = salida ? mLibreSalidaNs : mLibreEntradaNs;
    const qint64 ahora = mReloj.nsecsElapsed();
    const qint64 cuando = std::max(ahora, libre) + pausaNs + tiempoLinea(bytes.size());
    libre = cuando;
    mCola.append({cuando, std::move(bytes), salida});
    despachar();
}

void PuertoPty::despachar() {
    const qint64 ahora = mReloj.nsecsElapsed();
    while (!mCola.isEmpty()) {
        auto siguiente = std::min_element(mCola.begin(), mCola.end(), [](const Envio& a, const Envio& b) {
            return a.cuandoNs < b.cuandoNs;
        });
        if (siguiente->cuandoNs > ahora) {
            const qint64 faltaMs = (siguiente->cuandoNs - ahora + 999999) / 1000000;
            mDespacho->start(static_cast<int>(std::max<qint64>(faltaMs, 0)));
            return;
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
            entregar(e.bytes);
        }
    }
}

void PuertoPty::entregar(const QByteArray& bytes) {
    // A frame is address, command, length, payload and two CRC bytes.
    mTramando.append(bytes);
    while (mTramando.size() >= 3) {
        const qsizetype total = 3 + static_cast<uint8_t>(mTramando.at(2)) + 2;
        if (mTramando.size() < total) return;
        mEntrada = mTramando.left(total);
        mTramando.remove(0, total);
        if (antesDeTrama) antesDeTrama(mEntrada);
        emit received();
        mEntrada.clear();
        if (despuesDeTrama) despuesDeTrama();
    }
}

QByteArray PuertoPty::readAll() {
    QByteArray r = mEntrada;
    mEntrada.clear();
    return r;
}

} // namespace quoravex
