#pragma once

#include "Transferencia.h"

namespace quoravex {

class Design;

// Sends the raster files 00..NumPulsadores: the erase frame with the ticket length and the
// keyboard code, then each file block by block, every block acknowledged.
class TransferenciaRaster : public Transferencia {
public:
    TransferenciaRaster(EnlaceImpresora& enlace, const Design& design, const QString& directorio);

    // "Env Raster": starts from the erase frame with the design's current values.
    void iniciar();

    bool RasterActivo = false;
    int EstadoRaster = 0;
    uint8_t NumFichero = 0;
    uint8_t CabeceraRaster = 0;
    bool HayDatos = false;

    // NAKs are answered by sending the block again without spending retries; a printer
    // that refuses the same block this many times in a row is given up on.
    static constexpr int MaximoNaks = 100;

    // ".\Salida" + two digits + ".bin" for file number k (0 common part, n push-button n).
    static QString NombreArchivo(int k);
    // The keyboard and push-button code of the erase frame.
    static int CodigoTeclado(int numPulsadores, int modeloTeclado);

private:
    void irAlFinal() override { EstadoRaster = 9; }
    bool activo() const override { return RasterActivo; }
    bool enEspera() const override { return EstadoRaster == 1 || EstadoRaster == 5; }
    void paso() override;
    void borrar();
    void esperarBorrado(const std::optional<uint8_t>& estado);
    void abrirSiguiente();
    void siguienteBloque();
    void esperarBloque(const std::optional<uint8_t>& estado);
    void pedirEstado();
    void enviarBloque(const QString& etiqueta);
    void terminar() override;

    const Design& mDesign;
    int16_t mLargoTicket = 0;
    int16_t mNumPulsadores = 0;
    int mModeloTeclado = 0;
    int mNaks = 0;
};

} // namespace quoravex
