#pragma once

#include "link/SerialPort.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <functional>

class QSocketNotifier;
class QTimer;

namespace quoravex {

// How the printer's answers are spoiled on the way out.
struct FallosLinea {
    int descartarCada = 0; // every Nth answer is never sent
    int basuraCada = 0;    // every Nth answer is preceded by noise bytes
    bool partir = false;   // answers leave in two chunks
    int pausaPartirMs = 1; // between the two chunks
    bool ritmo = false;    // bytes take their time on the line: 11 bits each at the set speed
};

// The printer's end of a pseudo-terminal. The designer opens the slave device; this side
// reads and writes the master. Frames are handed on one at a time.
class PuertoPty : public SerialPort {
    Q_OBJECT
public:
    explicit PuertoPty(QObject* parent = nullptr);
    ~PuertoPty() override;

    // Creates the pseudo-terminal in raw mode; false with the reason in `error`.
    bool crear(QString* error);
    QString rutaEsclavo() const { return mEsclavo; }

    FallosLinea fallos;
    // Called before each complete frame is handed on, with the frame's bytes.
    std::function<void(const QByteArray& trama)> antesDeTrama;
    // Called after each frame was handed on.
    std::function<void()> despuesDeTrama;

    qint64 bytesRecibidos() const { return mRecibidos; }
    // Bytes of every answer handed to the line, including those still crossing it.
    qint64 bytesEnviados() const { return mEnviados; }
    // Speed the designer set on the line, from the terminal's settings.
    int baudios() const;

    bool open(int, const ConfiguracionLinea&) override { return mMaestro >= 0; }
    void close() override {}
    bool isOpen() const override { return mMaestro >= 0; }
    bool write(const QByteArray& bytes) override;
    QByteArray readAll() override;
    qint64 bytesAvailable() const override { return mEntrada.size(); }
    qint64 bytesToWrite() const override { return 0; }
    bool setRts(bool) override { return true; }
    bool setDtr(bool) override { return true; }

private:
    struct Envio {
        qint64 cuandoNs; // when the chunk has fully crossed the line
        QByteArray bytes;
        bool salida; // toward the designer, or arriving at the printer
    };
    void leerMaestro();
    void programar(QByteArray bytes, bool salida, qint64 pausaNs = 0);
    void despachar();
    void entregar(const QByteArray& bytes);
    qint64 tiempoLinea(qsizetype n) const;

    int mMaestro = -1;
    int mEsclavoAbierto = -1; // kept open so the master never sees a hang-up between sessions
    QString mEsclavo;
    QSocketNotifier* mAviso = nullptr;
    QTimer* mDespacho = nullptr;
    QElapsedTimer mReloj;
    QList<Envio> mCola;
    qint64 mLibreSalidaNs = 0;
    qint64 mLibreEntradaNs = 0;
    QByteArray mTramando; // bytes of a frame not yet complete
    QByteArray mEntrada;  // the frame being handed on
    int mRespuestas = 0;
    qint64 mRecibidos = 0;
    qint64 mEnviados = 0;
};

} // namespace quoravex
