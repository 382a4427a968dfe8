#include "Transferencia.h"

#include <utility>

namespace quoravex {

namespace {
// Steps taken in one go without a frame leaving; the file-opening states chain a few.
constexpr int MaximoPasos = 64;
} // namespace

Transferencia::Transferencia(EnlaceImpresora& enlace, const QString& directorio, Reloj reloj, int barra)
    : mEnlace(enlace), mReloj(reloj), mBarra(barra), mDirectorio(directorio) {
    mEnlace.registrar(this);
}

Transferencia::~Transferencia() {
    mEnlace.retirar(this);
}

void Transferencia::arrancar() {
    mTicksRts = 0;
    mEsperandoLinea = false;
    avanzar(false);
}

void Transferencia::tick() {
    avanzar(true);
}

void Transferencia::despertar() {
    avanzar(false);
}

void Transferencia::avanzar(bool tick) {
    // A step can wake this transfer again (a reply delivered while it writes): the wake-up
    // is taken once the step has returned.
    if (mAvanzando) {
        mOtraVez = true;
        mTickPendiente = mTickPendiente || tick;
        return;
    }
    mAvanzando = true;
    do {
        mOtraVez = false;
        pasos(tick);
        tick = std::exchange(mTickPendiente, false);
    } while (mOtraVez);
    mAvanzando = false;
    actualizarBarra();
}

void Transferencia::pasos(bool tick) {
    if (!activo()) return;
    if (mEnlace.puertoPerdido()) {
        cerrarArchivo();
        terminar();
        return;
    }
    if (mEnlace.rts()) {
        if (!tick || ++mTicksRts < TicksMaximosRts) return;
        mEnlace.soltarRts();
    }
    mTicksRts = 0;
    if (mEsperandoLinea) {
        // The frame has left the line: the wait for its reply starts now.
        mEsperandoLinea = false;
        tick = false;
        mEnlace.reiniciarReloj(mReloj);
    }
    for (int i = 0; i < MaximoPasos && activo(); ++i) {
        // A wait without a reply moves only on a wait tick, and not while a reply that is
        // already in waits for the line to go quiet.
        if (enEspera() && !EstadoDeRespuesta(mEnlace.RespuestaRX)) {
            if (!tick || mEnlace.respuestaRetenida()) return;
            tick = false;
        }
        paso();
        if (mEnlace.rts()) {
            mEsperandoLinea = true;
            mEnlace.reiniciarReloj(mReloj); // counts the ticks the line stays busy
            return;
        }
    }
    if (activo()) mEnlace.reiniciarReloj(mReloj); // the next tick goes on
}

void Transferencia::finalizar() {
    mEnlace.sink().reloj(mReloj, 0);
    mEsperandoLinea = false;
    if (alTerminar) alTerminar();
}

bool Transferencia::abrirArchivo(const QString& nombre) {
    cerrarArchivo();
    mArchivo.setFileName(ruta(nombre));
    if (!mArchivo.open(QIODevice::ReadOnly)) return false;
    mEnlace.fijarMaximoBarra(mBarra, mArchivo.size());
    return true;
}

void Transferencia::cerrarArchivo() {
    if (mArchivo.isOpen()) mArchivo.close();
}

bool Transferencia::leer(uint8_t* destino, int n) {
    if (!mArchivo.isOpen() || restante() < n) return false;
    return mArchivo.read(reinterpret_cast<char*>(destino), n) == n;
}

void Transferencia::actualizarBarra() {
    if (mArchivo.isOpen()) mEnlace.ActualizarBarra(mBarra, mArchivo.pos());
}

void Transferencia::fallar(const QString& texto, const QString& titulo) {
    mEnlace.ErrorEnvio = true;
    cerrarArchivo();
    irAlFinal();
    mEnlace.sink().cursorOcupado(false);
    mEnlace.sink().mensaje(texto, titulo);
}

void Transferencia::rendirse() {
    fallar(QStringLiteral("Error de comunicación con Impresora"), QStringLiteral("Error comunicación"));
}

void Transferencia::archivoFaltante(const QString& nombre) {
    fallar(QStringLiteral("No se encuentra el archivo %1").arg(nombre), QStringLiteral("Error de archivo"));
}

void Transferencia::archivoDanado(const QString& nombre) {
    fallar(QStringLiteral("El archivo %1 está incompleto o dañado").arg(nombre),
           QStringLiteral("Error de archivo"));
}

bool Transferencia::gastarReintento() {
    if (Reintentos < 1) {
        rendirse();
        return false;
    }
    --Reintentos;
    return true;
}

} // namespace quoravex
