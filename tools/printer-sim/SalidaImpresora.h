#pragma once

#include "link/ImpresoraVirtual.h"

#include <QDateTime>
#include <QDir>
#include <QImage>
#include <QTextStream>
#include <set>

namespace quoravex {

// Keeps what the virtual printer received in a folder, as the designer wrote it: the raster
// files, the font files and, once every raster of a send is in, one picture per ticket
// variant as the printer would print it.
class SalidaImpresora {
public:
    SalidaImpresora(const ImpresoraVirtual& impresora, const QString& carpeta, QTextStream& informe);

    // Looks at what the printer holds now and writes what is new.
    void revisar(qint64 bytesRecibidos, qint64 bytesEnviados);

    // The push-button count the erase frame announced.
    static int NumPulsadores(int codigoTeclado) { return PulsadoresDeTeclado(codigoTeclado); }
    // The raster file as the designer wrote it (a file without segments has two bytes).
    static QByteArray ArchivoRaster(const RasterRecibido& r);
    // Plots raster file bytes onto the picture in black.
    static void DibujarRaster(QImage& imagen, const QByteArray& archivo);
    // Prints the text with a received font at the field's place.
    static void DibujarNumero(QImage& imagen, const QByteArray& font, const QString& texto);
    // The ticket of variant k (0 common part): the common part and push-button k.
    static QImage Ticket(const std::map<int, RasterRecibido>& rasters, int k, int largo,
                         const QByteArray& fontTurno);

private:
    void escribir(const QString& nombre, const QByteArray& datos);
    void escribirTickets();

    const ImpresoraVirtual& mImpresora;
    QDir mCarpeta;
    QTextStream& mInforme;
    int mBorrados = 0;
    std::set<int> mRastersEscritos;
    std::map<int, QByteArray> mFontsEscritas;
    bool mTicketsEscritos = false;
    std::optional<QDateTime> mFechaHora;
};

} // namespace quoravex
