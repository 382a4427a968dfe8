#pragma once

#include "link/SerialPort.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>

namespace quoravex {

// When the bytes written to a port will have crossed the serial line: a frame counts as
// sent only once its last byte has left, not when a driver or a socket took it.
class TiempoLinea : public QObject {
    Q_OBJECT
public:
    // `vaciado` is called once the line is free and nothing waits to be handed over.
    explicit TiempoLinea(std::function<void()> vaciado, QObject* parent = nullptr);

    void configurar(const ConfiguracionLinea& linea);
    void escrito(qsizetype bytes);
    // Reports the line as drained now or when its last byte will have left.
    void revisar();
    void detener();

private:
    std::function<void()> mVaciado;
    QElapsedTimer mReloj;
    QTimer mTemporizador;
    qint64 mNsPorByte = 0;    // time one byte takes on the line at the set speed
    qint64 mLineaLibreNs = 0; // when the last byte written will have left
};

} // namespace quoravex
