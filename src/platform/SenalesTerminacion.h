#pragma once

#include <QObject>

class QSocketNotifier;

namespace quoravex {

// A clean termination request from the system (SIGTERM, SIGHUP) as a Qt signal, delivered in
// the event loop. The handler only writes the signal's number into a socket pair, which is
// all a handler may safely do, and never blocks. One per process; the previous handlers come
// back when it goes.
class SenalesTerminacion : public QObject {
    Q_OBJECT
public:
    explicit SenalesTerminacion(QObject* parent = nullptr);
    ~SenalesTerminacion() override;

signals:
    void terminacionPedida(int senal);

private:
    void leer();
    QSocketNotifier* mNotificador = nullptr;
};

} // namespace quoravex
