#include "HiloRed.h"

#include <gensio/gensio.h>
#include <gensio/gensio_os_funcs.h>

#include <csignal>
#include <future>
#include <pthread.h>

namespace quoravex {

namespace {
constexpr int SenalDespertar = SIGUSR2;
} // namespace

HiloRed& HiloRed::instancia() {
    static HiloRed hilo;
    return hilo;
}

HiloRed::HiloRed() {
    // A write to a connection the server has just closed must fail with an error that the
    // port reports, not end the program: gensio writes to its sockets without MSG_NOSIGNAL.
    std::signal(SIGPIPE, SIG_IGN);
    struct sigaction accion {};
    accion.sa_handler = [](int) {};
    sigemptyset(&accion.sa_mask);
    sigaction(SenalDespertar, &accion, nullptr);
    std::promise<void> listo;
    mHilo = std::thread([this, &listo] {
        sigset_t senales;
        sigemptyset(&senales);
        sigaddset(&senales, SenalDespertar);
        pthread_sigmask(SIG_BLOCK, &senales, nullptr);
        if (gensio_default_os_hnd(SenalDespertar, &mOs) == 0) {
            gensio_os_funcs_set_vlog(mOs, [](gensio_os_funcs*, gensio_log_levels, const char*, va_list) {});
            mEspera = gensio_os_funcs_alloc_waiter(mOs);
        }
        listo.set_value();
        if (!mEspera) return;
        while (!mFin.load()) gensio_os_funcs_wait(mOs, mEspera, 1, nullptr);
        // Connections closed at exit still get their close handshake.
        for (int i = 0; i < 100 && vivas.load() > 0; ++i) {
            gensio_time t{0, 10000000};
            gensio_os_funcs_service(mOs, &t);
        }
    });
    listo.get_future().wait();
}

HiloRed::~HiloRed() {
    mFin = true;
    if (mEspera) gensio_os_funcs_wake(mOs, mEspera);
    if (mHilo.joinable()) mHilo.join();
    if (mEspera) gensio_os_funcs_free_waiter(mOs, mEspera);
}

} // namespace quoravex
