#pragma once

#include <QEventLoop>
#include <QTimer>
#include <functional>

namespace quoravex::test {

// Runs the event loop until the condition holds or the time is up; true when it holds.
// Unlike QTest::qWaitFor it never sleeps, so millisecond timers keep their pace.
inline bool EsperarHasta(const std::function<bool()>& condicion, int maximoMs) {
    if (condicion()) return true;
    QEventLoop bucle;
    QTimer sondeo;
    QObject::connect(&sondeo, &QTimer::timeout, &bucle, [&] {
        if (condicion()) bucle.quit();
    });
    sondeo.start(0);
    QTimer::singleShot(maximoMs, &bucle, &QEventLoop::quit);
    bucle.exec();
    return condicion();
}

} // namespace quoravex::test
