#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <optional>

namespace quoravex {

// The symbologies a ticket can carry.
enum class Simbologia { QR, DataMatrix, PDF417, Code128, EAN13, Code39 };

// QR error-correction levels: about 7, 15, 25 and 30 % of the symbol may be lost.
enum class NivelQR { L, M, Q, H };

// Everything that makes a code's picture; kept beside it so that it can be edited again.
struct ParametrosCodigo {
    Simbologia tipo = Simbologia::QR;
    QString datos;
    int modulo = 4;            // printer dots per module (narrowest bar), 1..12
    NivelQR nivel = NivelQR::M; // QR only
    int versionQR = 0;          // QR only: 0 the smallest symbol that holds the data, else 1..40
    bool textoLegible = true;   // linear codes only: the data printed under the bars
    bool operator==(const ParametrosCodigo&) const = default;
};

constexpr int ModuloMinimo = 1;
constexpr int ModuloMaximo = 12;

struct CodigoGenerado {
    // Pure black (0x000000) and white (0xFFFFFF) pixels, exactly `modulo` dots per module,
    // quiet zone included; null when the data cannot be encoded.
    QImage imagen;
    // Why not, in Spanish; empty when the code was made.
    QString error;
};

// Encodes the data with the code library and draws the symbol at its module size.
CodigoGenerado GenerarCodigo(const ParametrosCodigo& p);

bool EsLineal(Simbologia s);
// Module size a new code of this kind starts with.
int ModuloPorDefecto(Simbologia s);
// The name used on the command line and in description files: "qr", "datamatrix", "pdf417",
// "code128", "ean13", "code39".
QString ClaveSimbologia(Simbologia s);
std::optional<Simbologia> SimbologiaDesdeClave(const QString& clave);
// The name shown to the user: "QR", "DataMatrix", "PDF417", "Code 128", "EAN-13", "Code 39".
QString NombreSimbologia(Simbologia s);

// The description file of a code (UTF-8 JSON) and back; nullopt for anything else.
QByteArray EscribirDescripcionCodigo(const ParametrosCodigo& p);
std::optional<ParametrosCodigo> LeerDescripcionCodigo(const QByteArray& bytes);

} // namespace quoravex
