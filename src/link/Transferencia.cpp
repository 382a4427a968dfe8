#include "Transferencia.h"

namespace quoravex {

Transferencia::Transferencia(EnlaceImpresora& enlace, const QString& directorio, Reloj reloj, int barra)
    : mEnlace(enlace), mReloj(reloj), mBarra(barra), mDirectorio(directorio) {}

bool Transferencia::lineaOcupada() {
    if (!mEnlace.rts()) {
        mTicksRts = 0;
        return false;
    }
    if (++mTicksRts < TicksMaximosRts) return true;
    mTicksRts = 0;
    mEnlace.soltarRts();
    return false;
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

void Transferencia::tick() {
    if (activo() && mEnlace.puertoPerdido()) {
        cerrarArchivo();
        terminar();
    } else if (activo() && !lineaOcupada()) {
        paso();
    }
    actualizarBarra();
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
