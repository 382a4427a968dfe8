#include "SenalesTerminacion.h"

#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace quoravex {

#ifdef Q_OS_UNIX
namespace {

int gPar[2] = {-1, -1};
constexpr int Senales[] = {SIGTERM, SIGHUP};
struct sigaction gAnteriores[2];

void Manejador(int senal) {
    const int guardado = errno;
    const char c = static_cast<char>(senal);
    [[maybe_unused]] const ssize_t n = ::write(gPar[0], &c, 1);
    errno = guardado;
}

} // namespace

SenalesTerminacion::SenalesTerminacion(QObject* parent) : QObject(parent) {
    if (gPar[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, gPar) != 0) return;
    mNotificador = new QSocketNotifier(gPar[1], QSocketNotifier::Read, this);
    connect(mNotificador, &QSocketNotifier::activated, this, &SenalesTerminacion::leer);
    struct sigaction sa = {};
    sa.sa_handler = Manejador;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (size_t i = 0; i < std::size(Senales); ++i)
        ::sigaction(Senales[i], &sa, &gAnteriores[i]);
}

SenalesTerminacion::~SenalesTerminacion() {
    if (!mNotificador) return;
    for (size_t i = 0; i < std::size(Senales); ++i)
        ::sigaction(Senales[i], &gAnteriores[i], nullptr);
    delete mNotificador;
    ::close(gPar[0]);
    ::close(gPar[1]);
    gPar[0] = gPar[1] = -1;
}

void SenalesTerminacion::leer() {
    char c = 0;
    if (::read(gPar[1], &c, 1) == 1) emit terminacionPedida(c);
}

#else

SenalesTerminacion::SenalesTerminacion(QObject* parent) : QObject(parent) {}
SenalesTerminacion::~SenalesTerminacion() = default;
void SenalesTerminacion::leer() {}

#endif

} // namespace quoravex
