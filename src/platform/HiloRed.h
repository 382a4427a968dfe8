#pragma once

#include <atomic>
#include <thread>

struct gensio_os_funcs;
struct gensio_waiter;

namespace quoravex {

// One thread runs every network connection of the program; the ports talk to it through
// orders and hear from it through events queued to their own thread. gensio wakes it with
// SIGUSR2, which must not be used for anything else.
class HiloRed {
public:
    static HiloRed& instancia();
    gensio_os_funcs* os() const { return mOs; }
    // Connections still open; the thread waits for them before it ends.
    std::atomic<int> vivas{0};

private:
    HiloRed();
    ~HiloRed();

    std::thread mHilo;
    gensio_os_funcs* mOs = nullptr;
    gensio_waiter* mEspera = nullptr;
    std::atomic<bool> mFin{false};
};

} // namespace quoravex
