#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

namespace quoravex {

// Tells whether another copy of the program runs, through a lock file that the first copy
// holds for as long as it runs. Create it at start-up and keep it.
class InstanciaUnica {
public:
    // The default lock lives in the user's runtime folder.
    explicit InstanciaUnica(const QString& rutaBloqueo = RutaPorDefecto());

    // True while another copy of this user's program holds the lock; takes it when that
    // holder has gone. A lock that cannot be made, or one of another user, blocks nothing.
    bool otraEnEjecucion();

    static QString RutaPorDefecto();

private:
    QString mRuta;
    std::unique_ptr<QLockFile> mBloqueo;
    bool mPropio = false;
};

} // namespace quoravex
