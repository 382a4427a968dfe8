#include "CodificacionRaster.h"

namespace quoravex {

namespace {

void escribirSegmento(int fila, int inicio, const uint8_t* datos, int largo, QByteArray& salida) {
    const int direccion = fila * DireccionesPorFila + inicio;
    salida.append(static_cast<char>(direccion >> 8));
    salida.append(static_cast<char>(direccion & 0xFF));
    salida.append(static_cast<char>(largo));
    salida.append(reinterpret_cast<const char*>(datos), largo);
}

} // namespace

void CodificarFila(const uint8_t* bytes, int numBytes, int fila, QByteArray& salida) {
    int inicio = -1; // first byte of the open segment, -1 when none is open
    int ceros = 0;   // zeros appended since the last non-zero byte
    for (int b = 0; b < numBytes; ++b) {
        if (bytes[b] != 0) {
            if (inicio < 0) inicio = b;
            ceros = 0;
        } else if (inicio >= 0) {
            if (++ceros > 3) {
                escribirSegmento(fila, inicio, bytes + inicio, b - inicio - 3, salida);
                inicio = -1;
                ceros = 0;
            }
        }
    }
    if (inicio >= 0) escribirSegmento(fila, inicio, bytes + inicio, numBytes - inicio - ceros, salida);
}

QByteArray CodificarRaster(const RasterBits& raster, uint8_t numeroArchivo) {
    QByteArray salida;
    salida.append(static_cast<char>(numeroArchivo));
    for (int y = 0; y < raster.filas; ++y)
        CodificarFila(raster.fila(y), BytesPorFila, y, salida);
    if (salida.size() == 1) salida.append('\0'); // the header's high byte, when no segment covered it
    return salida;
}

} // namespace quoravex
