#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

namespace quoravex {

// Tells whether another copy of the program runs, through a lock file that the first copy
// holds for as long as it runs. Create it at start-up and keep it.
class InstanciaUnica {
public:
    // The default lock lives in the temporary-files folder.
    explicit InstanciaUnica(const QString& rutaBloqueo = RutaPorDefecto());

    // True while another holder has the lock; takes it when that holder has gone.
    bool otraEnEjecucion();

    static QString RutaPorDefecto();

private:
    std::unique_ptr<QLockFile> mBloqueo;
    bool mPropio = false;
};

} // namespace quoravex
