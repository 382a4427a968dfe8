#pragma once

#include "link/SerialPort.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <optional>

class QSocketNotifier;
class QTimer;

namespace quoravex {

// How the line between the designer and the printer behaves, and how the printer's answers
// are spoiled on the way out.
struct FallosLinea {
    int descartarCada = 0; // every Nth answer is never sent
    int basuraCada = 0;    // every Nth answer is preceded by noise bytes, and noise follows it to the printer
    bool partir = false;   // answers leave in two chunks
    int pausaPartirMs = 1; // between the two chunks
    bool ritmo = false;    // bytes take their time on the line: 11 bits each at the set speed
    // Latency timer of a USB serial adapter on the designer's side, 0 for none: answers
    // cross the line at its speed into the adapter, which hands what it holds to the
    // designer at most once every usbMs, on a fixed grid.
    int usbMs = 0;
};

// The printer's end of a pseudo-terminal. The designer opens the slave device; this side
// reads and writes the master. Received bytes are handed on as they reach the printer's
// end of the line, and a quiet line is reported.
class PuertoPty : public SerialPort {
    Q_OBJECT
public:
    explicit PuertoPty(QObject* parent = nullptr);
    ~PuertoPty() override;

    // Creates the pseudo-terminal in raw mode; false with the reason in `error`.
    bool crear(QString* error);
    QString rutaEsclavo() const { return mEsclavo; }

    FallosLinea fallos;

    qint64 bytesRecibidos() const { return mRecibidos; }
    // Bytes of every answer handed to the line, including those still crossing it.
    qint64 bytesEnviados() const { return mEnviados; }
    // Speed the designer set on the line, from the terminal's settings.
    int baudios() const;
    // Speed, parity, data and stop bits the designer set, from the terminal's settings.
    std::optional<ConfiguracionLinea> linea() const;

    bool open(int, const ConfiguracionLinea&) override { return mMaestro >= 0; }
    void close() override {}
    bool isOpen() const override { return mMaestro >= 0; }
    bool write(const QByteArray& bytes) override;
    QByteArray readAll() override;
    qint64 bytesAvailable() const override { return mEntrada.size(); }
    qint64 bytesToWrite() const override { return 0; }
    bool setRts(bool) override { return true; }
    bool setDtr(bool) override { return true; }

signals:
    // No byte reached the printer for PausaSincroniaMs after the last one.
    void lineaQuieta();

private:
    struct Envio {
        qint64 cuandoNs; // when the chunk has fully crossed the line
        QByteArray bytes;
        bool salida; // toward the designer, or arriving at the printer
    };
    void leerMaestro();
    void programar(QByteArray bytes, bool salida, qint64 pausaNs = 0);
    void programarUsb(const QByteArray& bytes, qint64 pausaNs);
    void despachar();
    void despacharPronto();
    void entregar(const QByteArray& bytes);
    qint64 tiempoLinea(qsizetype n) const;
    qint64 tiempoByte() const;
    // Now on the line's clock: while bytes are handed to the printer, the moment they
    // arrived, so that a late timer does not delay the answer they cause.
    qint64 ahoraLinea() const;

    int mMaestro = -1;
    int mEsclavoAbierto = -1; // kept open so the master never sees a hang-up between sessions
    QString mEsclavo;
    QSocketNotifier* mAviso = nullptr;
    QTimer* mDespacho = nullptr;
    QTimer* mSilencio = nullptr;
    QElapsedTimer mReloj;
    QList<Envio> mCola;
    qint64 mLibreSalidaNs = 0;
    qint64 mLibreEntradaNs = 0;
    qint64 mEntregaNs = -1;
    QByteArray mEntrada; // bytes that reached the printer and were not read yet
    int mRespuestas = 0;
    qint64 mRecibidos = 0;
    qint64 mEnviados = 0;
};

} // namespace quoravex
