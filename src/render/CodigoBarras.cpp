#include "CodigoBarras.h"

#include "Color.h"
#include "Surface.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <cmath>
#include <memory>
#include <zint.h>

namespace quoravex {

namespace {

struct BorrarSimbolo {
    void operator()(zint_symbol* s) const { ZBarcode_Delete(s); }
};
using Simbolo = std::unique_ptr<zint_symbol, BorrarSimbolo>;

// The same rule as BlancoYNegro: 3R + 6G + B up to this is black.
constexpr int UmbralNegro = 1280;
constexpr int VersionQRMaxima = 40;
// ECI 26 declares the bytes as UTF-8.
constexpr int EciUtf8 = 26;

int SimbologiaZint(Simbologia s) {
    switch (s) {
    case Simbologia::QR:
        return BARCODE_QRCODE;
    case Simbologia::DataMatrix:
        return BARCODE_DATAMATRIX;
    case Simbologia::PDF417:
        return BARCODE_PDF417;
    case Simbologia::Code128:
        return BARCODE_CODE128;
    case Simbologia::EAN13:
        return BARCODE_EANX;
    case Simbologia::Code39:
        return BARCODE_CODE39;
    }
    return BARCODE_QRCODE;
}

QString LetraNivel(NivelQR n) {
    return QString(QLatin1Char("LMQH"[static_cast<int>(n)]));
}

std::optional<NivelQR> NivelDesdeLetra(const QString& letra) {
    const qsizetype i = QStringLiteral("LMQH").indexOf(letra.toUpper());
    if (letra.size() != 1 || i < 0) return std::nullopt;
    return static_cast<NivelQR>(i);
}

bool SoloAscii(const QByteArray& bytes) {
    for (const char c : bytes)
        if (static_cast<unsigned char>(c) > 0x7F) return false;
    return true;
}

bool SoloDigitos(const QString& s) {
    for (const QChar c : s)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    return true;
}

const QString MensajeEanNoValido = QStringLiteral("EAN-13 solo admite dígitos (12, o 13 con el de control)");

Simbolo NuevoSimbolo(const ParametrosCodigo& p, const QByteArray& datos) {
    Simbolo s(ZBarcode_Create());
    if (!s) return s;
    s->symbology = SimbologiaZint(p.tipo);
    s->input_mode = UNICODE_MODE;
    s->output_options = BARCODE_QUIET_ZONES;
    // The library draws the X-dimension as twice the scale in pixels.
    s->scale = static_cast<float>(p.modulo / 2.0);
    s->show_hrt = EsLineal(p.tipo) && p.textoLegible ? 1 : 0;
    // A warning (an automatic ECI, a symbol outside the standard, an option overridden)
    // refuses the code like an error: what is printed must read back as written.
    s->warn_level = WARN_FAIL_ALL;
    if (p.tipo == Simbologia::QR) {
        s->option_1 = static_cast<int>(p.nivel) + 1;
        s->option_2 = p.versionQR;
    }
    // Without an ECI the library stores accented text as Latin-1 or Shift JIS, which
    // readers guess wrongly ("atención" comes back as CJK characters); declared as UTF-8 it
    // reads back as written. Plain ASCII needs no declaration.
    if (ZBarcode_Cap(s->symbology, ZINT_CAP_ECI) && !SoloAscii(datos)) s->eci = EciUtf8;
    return s;
}

// The check digit the library computes for the first twelve digits.
QString DigitoControlEan(const ParametrosCodigo& p) {
    const QByteArray doce = p.datos.left(12).toLatin1();
    Simbolo s = NuevoSimbolo(p, doce);
    if (!s || ZBarcode_Encode(s.get(), reinterpret_cast<const unsigned char*>(doce.constData()),
                              static_cast<int>(doce.size())) >= ZINT_ERROR)
        return QString();
    return QString::fromUtf8(reinterpret_cast<const char*>(s->text)).mid(12, 1);
}

QString MensajeZint(const ParametrosCodigo& p, int codigo) {
    switch (codigo) {
    case ZINT_ERROR_TOO_LONG:
        if (p.tipo == Simbologia::QR && p.versionQR > 0)
            return QStringLiteral("Los datos no caben en un código QR de la versión %1 con corrección %2")
                .arg(p.versionQR)
                .arg(LetraNivel(p.nivel));
        if (p.tipo == Simbologia::QR)
            return QStringLiteral("Los datos no caben en ningún código QR con corrección %1")
                .arg(LetraNivel(p.nivel));
        return QStringLiteral("Demasiados datos para este código");
    case ZINT_ERROR_INVALID_DATA:
        switch (p.tipo) {
        case Simbologia::EAN13:
            return MensajeEanNoValido;
        case Simbologia::Code39:
            return QStringLiteral(
                "Code 39 solo admite letras sin acentos, dígitos, espacios y los signos - . $ / + %");
        case Simbologia::Code128:
            return QStringLiteral(
                "Code 128 solo admite letras, dígitos y signos de Europa occidental (Latin-1)");
        default:
            return QStringLiteral("Los datos tienen caracteres que este código no admite");
        }
    case ZINT_ERROR_INVALID_CHECK:
        if (p.tipo == Simbologia::EAN13) {
            const QString esperado = DigitoControlEan(p);
            if (!esperado.isEmpty())
                return QStringLiteral("El dígito de control de este EAN-13 es %1, no %2")
                    .arg(esperado, p.datos.mid(12, 1));
            return QStringLiteral("El dígito de control del EAN-13 no es correcto");
        }
        return QStringLiteral("El dígito de control no es correcto");
    case ZINT_ERROR_INVALID_OPTION:
        return QStringLiteral("Las opciones elegidas no sirven para este código");
    case ZINT_ERROR_USES_ECI:
        return QStringLiteral("Los datos necesitan un juego de caracteres que este código no puede declarar");
    case ZINT_ERROR_NONCOMPLIANT:
        return QStringLiteral("Con estos datos el código no cumpliría su norma y podría no leerse");
    case ZINT_ERROR_MEMORY:
        return QStringLiteral("No hay memoria suficiente para generar el código");
    default:
        // Should not happen; the library's number helps to find out why.
        return QStringLiteral("No se ha podido generar el código (error %1 de la biblioteca de códigos)")
            .arg(codigo);
    }
}

// The library's RGB picture as pure black and white pixels.
QImage ImagenDeSimbolo(const zint_symbol& s) {
    QImage img = Surface::nuevaImagen(s.bitmap_width, s.bitmap_height, ColorBlanco);
    const unsigned char* rgb = s.bitmap;
    for (int y = 0; y < s.bitmap_height; ++y) {
        auto* linea = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < s.bitmap_width; ++x, rgb += 3) {
            const Color c = Color(rgb[0]) | Color(rgb[1]) << 8 | Color(rgb[2]) << 16;
            linea[x] = AQRgb(Oscuridad(c) > UmbralNegro ? ColorBlanco : ColorNegro);
        }
    }
    return img;
}

CodigoGenerado Rechazo(const QString& error) {
    return {QImage(), error};
}

} // namespace

CodigoGenerado GenerarCodigo(const ParametrosCodigo& p) {
    if (p.datos.isEmpty()) return Rechazo(QStringLiteral("Escriba los datos del código"));
    if (p.modulo < ModuloMinimo || p.modulo > ModuloMaximo)
        return Rechazo(
            QStringLiteral("El módulo debe medir entre %1 y %2 puntos").arg(ModuloMinimo).arg(ModuloMaximo));
    if (p.tipo == Simbologia::QR && (p.versionQR < 0 || p.versionQR > VersionQRMaxima))
        return Rechazo(QStringLiteral("La versión del código QR debe ser de 1 a %1, o 0 para elegirla sola")
                           .arg(VersionQRMaxima));
    // The library would take fewer digits as EAN-8 or as an add-on.
    if (p.tipo == Simbologia::EAN13 &&
        (!SoloDigitos(p.datos) || (p.datos.size() != 12 && p.datos.size() != 13)))
        return Rechazo(MensajeEanNoValido);
    const QByteArray datos = p.datos.toUtf8();
    if (datos.size() > ZINT_MAX_DATA_LEN) return Rechazo(QStringLiteral("Demasiados datos para este código"));

    Simbolo s = NuevoSimbolo(p, datos);
    if (!s) return Rechazo(MensajeZint(p, ZINT_ERROR_MEMORY));
    const int codigo =
        ZBarcode_Encode_and_Buffer(s.get(), reinterpret_cast<const unsigned char*>(datos.constData()),
                                   static_cast<int>(datos.size()), 0);
    if (codigo >= ZINT_ERROR) return Rechazo(MensajeZint(p, codigo));
    if (!s->bitmap || s->bitmap_width <= 0 || s->bitmap_height <= 0)
        return Rechazo(MensajeZint(p, ZINT_ERROR_ENCODING_PROBLEM));
    return {ImagenDeSimbolo(*s), QString()};
}

bool EsLineal(Simbologia s) {
    return s == Simbologia::Code128 || s == Simbologia::EAN13 || s == Simbologia::Code39;
}

int ModuloPorDefecto(Simbologia s) {
    switch (s) {
    case Simbologia::QR:
    case Simbologia::DataMatrix:
        return 4;
    // PDF417 and the linear codes are long: at 2 dots a module they still fit the ticket.
    default:
        return 2;
    }
}

QString ClaveSimbologia(Simbologia s) {
    switch (s) {
    case Simbologia::QR:
        return QStringLiteral("qr");
    case Simbologia::DataMatrix:
        return QStringLiteral("datamatrix");
    case Simbologia::PDF417:
        return QStringLiteral("pdf417");
    case Simbologia::Code128:
        return QStringLiteral("code128");
    case Simbologia::EAN13:
        return QStringLiteral("ean13");
    case Simbologia::Code39:
        return QStringLiteral("code39");
    }
    return QString();
}

std::optional<Simbologia> SimbologiaDesdeClave(const QString& clave) {
    for (const Simbologia s : {Simbologia::QR, Simbologia::DataMatrix, Simbologia::PDF417,
                               Simbologia::Code128, Simbologia::EAN13, Simbologia::Code39})
        if (clave.compare(ClaveSimbologia(s), Qt::CaseInsensitive) == 0) return s;
    return std::nullopt;
}

QString NombreSimbologia(Simbologia s) {
    switch (s) {
    case Simbologia::QR:
        return QStringLiteral("QR");
    case Simbologia::DataMatrix:
        return QStringLiteral("DataMatrix");
    case Simbologia::PDF417:
        return QStringLiteral("PDF417");
    case Simbologia::Code128:
        return QStringLiteral("Code 128");
    case Simbologia::EAN13:
        return QStringLiteral("EAN-13");
    case Simbologia::Code39:
        return QStringLiteral("Code 39");
    }
    return QString();
}

QByteArray EscribirDescripcionCodigo(const ParametrosCodigo& p) {
    const QJsonObject o{
        {QStringLiteral("tipo"), ClaveSimbologia(p.tipo)},
        {QStringLiteral("datos"), p.datos},
        {QStringLiteral("modulo"), p.modulo},
        {QStringLiteral("nivel"), LetraNivel(p.nivel)},
        {QStringLiteral("versionQR"), p.versionQR},
        {QStringLiteral("textoLegible"), p.textoLegible},
    };
    return QJsonDocument(o).toJson();
}

std::optional<ParametrosCodigo> LeerDescripcionCodigo(const QByteArray& bytes) {
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject()) return std::nullopt;
    const QJsonObject o = doc.object();
    // A whole number within [minimo, maximo].
    auto entero = [&o](const char* clave, int minimo, int maximo) -> std::optional<int> {
        const QJsonValue v = o.value(QLatin1String(clave));
        if (!v.isDouble()) return std::nullopt;
        const double d = v.toDouble();
        if (d != std::floor(d) || d < minimo || d > maximo) return std::nullopt;
        return static_cast<int>(d);
    };
    const QJsonValue tipo = o.value(QLatin1String("tipo")), datos = o.value(QLatin1String("datos")),
                     nivel = o.value(QLatin1String("nivel")), texto = o.value(QLatin1String("textoLegible"));
    const std::optional<Simbologia> simbologia = SimbologiaDesdeClave(tipo.toString());
    const std::optional<NivelQR> n = NivelDesdeLetra(nivel.toString());
    const std::optional<int> modulo = entero("modulo", ModuloMinimo, ModuloMaximo);
    const std::optional<int> version = entero("versionQR", 0, VersionQRMaxima);
    if (!tipo.isString() || !simbologia || !datos.isString() || datos.toString().isEmpty() ||
        !nivel.isString() || !n || !modulo || !version || !texto.isBool())
        return std::nullopt;
    ParametrosCodigo p;
    p.tipo = *simbologia;
    p.datos = datos.toString();
    p.modulo = *modulo;
    p.nivel = *n;
    p.versionQR = *version;
    p.textoLegible = texto.toBool();
    return p;
}

} // namespace quoravex
