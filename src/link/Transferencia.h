#pragma once

#include "EnlaceImpresora.h"

#include <QDir>
#include <QFile>
#include <cstdint>
#include <functional>

namespace quoravex {

// What the raster and font transfers share: the transmit buffer, the wait and retry
// counters, the data file and the give-up action. A transfer steps as soon as what it
// waits for has happened: its frame has left the line, a reply is in, or a wait tick of
// its window's timer has passed. It never waits by itself.
class Transferencia {
public:
    Transferencia(const Transferencia&) = delete;
    Transferencia& operator=(const Transferencia&) = delete;
    virtual ~Transferencia();

    int32_t TicksEspera = 0;
    int16_t Reintentos = 0;
    BufferTX BufTX{};
    uint8_t LongTX = 0;

    // A wait tick passed: a wait without a reply counts it.
    void tick();
    // The line drained or a reply came in: the transfer goes on if it was waiting for that.
    void despertar();

    // Called once the transfer has ended, whatever the outcome.
    std::function<void()> alTerminar;

    // Wait ticks a frame may keep RTS on before the line is taken as sent anyway; a port
    // that never reports its output drained must not stall the transfer for good.
    static constexpr int TicksMaximosRts = 100;

protected:
    Transferencia(EnlaceImpresora& enlace, const QString& directorio, Reloj reloj, int barra);

    // Starts stepping at once.
    void arrancar();
    void enviar(int n) { mEnlace.SendMsgBinario(QByteArrayView(BufTX.data(), LargoBufTX), n); }
    void log(const QString& linea) { mEnlace.sink().log(linea); }
    QString ruta(const QString& nombre) const { return mDirectorio.filePath(nombre); }

    // Opens the data file and sets the bar's maximum to its length.
    bool abrirArchivo(const QString& nombre);
    void cerrarArchivo();
    // Reads exactly n bytes; false at the end of the file (nothing is then consumed).
    bool leer(uint8_t* destino, int n);
    bool leer(uint8_t& b) { return leer(&b, 1); }
    qint64 restante() const { return mArchivo.isOpen() ? mArchivo.size() - mArchivo.pos() : 0; }
    void actualizarBarra();

    // Out of retries: the failure is flagged and shown, and the machine goes to its end state.
    void rendirse();
    // Spends one retry; with none left the transfer gives up. True when one was spent.
    bool gastarReintento();
    void fallar(const QString& texto, const QString& titulo);
    // A data file that is missing or that the printer must not receive: the failure is
    // flagged and shown, and the machine goes to its end state.
    void archivoFaltante(const QString& nombre);
    void archivoDanado(const QString& nombre);
    // The end of the transfer: its timer stops and whoever waits for it is told.
    void finalizar();
    virtual void irAlFinal() = 0;
    // Whether the transfer is running, whether its state waits for a reply, and one step
    // of its state machine.
    virtual bool activo() const = 0;
    virtual bool enEspera() const = 0;
    virtual void paso() = 0;
    // The port was lost: the transfer ends without another frame.
    virtual void terminar() = 0;

    EnlaceImpresora& mEnlace;
    QFile mArchivo; // data file 1
    const Reloj mReloj;
    const int mBarra;

private:
    void avanzar(bool tick);
    void pasos(bool tick);

    QDir mDirectorio;
    int mTicksRts = 0;
    bool mEsperandoLinea = false; // the last step put a frame on the line
    bool mAvanzando = false;
    bool mOtraVez = false;
    bool mTickPendiente = false;
};

} // namespace quoravex
