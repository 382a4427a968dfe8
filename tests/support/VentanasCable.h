#pragma once
// A transfer window's port at one end of a cable in memory, the virtual printer at the
// other; the cable delivers on every turn of the event loop.
#include "link/ImpresoraVirtual.h"
#include "link/ParPuertos.h"

#include <QPointer>
#include <QTimer>
#include <memory>

namespace quoravex::test {

struct CablePrueba {
    CablePrueba() {
        QObject::connect(&reparto, &QTimer::timeout, &reparto, [this] {
            while (cable && (cable->entregar() || lado.entregar())) {
            }
        });
        reparto.start(0);
    }
    // The computer's end, to hand to a window; one that refuses to open when asked to.
    std::unique_ptr<PuertoEnlazado> puerto(bool rechazar = false) {
        auto pc = std::make_unique<PuertoEnlazado>();
        pc->rechazarApertura = rechazar;
        pc->otro = &lado;
        lado.otro = pc.get();
        lado.abierto = true;
        cable = pc.get();
        return pc;
    }

    PuertoEnlazado lado;            // the printer's end
    QPointer<PuertoEnlazado> cable; // gone with the window that owned it
    ImpresoraVirtual impresora{lado};
    QTimer reparto;
};

} // namespace quoravex::test
