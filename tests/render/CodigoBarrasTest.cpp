#include "render/CodigoBarras.h"
#include "render/Surface.h"
#include "support/FicherosImagen.h"
#include "support/Tinta.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace quoravex;
using quoravex::pruebas::TintaEn;

namespace {

ParametrosCodigo Parametros(Simbologia tipo, const char* datos, int modulo = 1, NivelQR nivel = NivelQR::M,
                            int version = 0, bool texto = true) {
    ParametrosCodigo p;
    p.tipo = tipo;
    p.datos = QString::fromUtf8(datos);
    p.modulo = modulo;
    p.nivel = nivel;
    p.versionQR = version;
    p.textoLegible = texto;
    return p;
}

} // namespace

TEST(GenerarCodigo, ExactModulesPureBlackAndWhiteAndQuietZones) {
    const struct {
        ParametrosCodigo p;
        QSize tamano;    // at one dot per module
        int izq, der, v; // quiet zone in modules: left, right, top and bottom
    } casos[] = {
        {Parametros(Simbologia::QR, "HELLO"), {29, 29}, 4, 4, 4},                   // version 1: 21 + 2 x 4
        {Parametros(Simbologia::QR, "HELLO", 1, NivelQR::M, 5), {45, 45}, 4, 4, 4}, // version 5: 37
        {Parametros(Simbologia::QR, "HELLO WORLD 12", 1, NivelQR::L), {29, 29}, 4, 4, 4},
        {Parametros(Simbologia::QR, "HELLO WORLD 12", 1, NivelQR::H), {33, 33}, 4, 4, 4}, // needs version 2
        {Parametros(Simbologia::DataMatrix, "HELLO"), {14, 14}, 1, 1, 1},
        {Parametros(Simbologia::PDF417, "HELLO"), {107, 22}, 2, 2, 2},
        {Parametros(Simbologia::Code128, "Turno A-042"), {176, 50}, 10, 10, 0},
        {Parametros(Simbologia::EAN13, "590123412345"), {113, 55}, 11, 7, 0}, // guard bars 5 longer
        {Parametros(Simbologia::Code39, "ABC-1"), {110, 50}, 10, 10, 0}};
    for (const auto& c : casos) {
        const std::string nombre = (NombreSimbologia(c.p.tipo) + QLatin1Char(' ') + c.p.datos).toStdString();
        ParametrosCodigo sinTexto = c.p;
        sinTexto.textoLegible = false;
        const CodigoGenerado base = GenerarCodigo(sinTexto);
        ASSERT_EQ(std::pair(base.imagen.size(), base.error), std::pair(c.tamano, QString())) << nombre;
        // Quiet zones white, the symbol right after them (EAN-13 prints its first digit in the left
        // one, beside the text); at larger modules the same picture enlarged, so the same zones.
        const QImage& b = base.imagen;
        const int w = b.width(), h = b.height();
        EXPECT_EQ(std::tuple(TintaEn(b, QRect(0, 0, c.izq, h)), TintaEn(b, QRect(w - c.der, 0, c.der, h)),
                             TintaEn(b, QRect(0, 0, w, c.v)), TintaEn(b, QRect(0, h - c.v, w, c.v)),
                             TintaEn(b, QRect(c.izq, c.v, 1, h - 2 * c.v)) > 0),
                  std::tuple(0, 0, 0, 0, true))
            << nombre;
        for (const int k : {1, 2, 3, 4, 7, 12}) {
            ParametrosCodigo p = c.p, q = sinTexto;
            p.modulo = k;
            q.modulo = k;
            const QImage img = GenerarCodigo(p).imagen, barras = GenerarCodigo(q).imagen;
            // Each module k x k dots: the picture at one dot per module, enlarged k times. Pure black
            // and white: a grey would not survive the trip through one bit per pixel.
            const QImage unBit = img.convertToFormat(QImage::Format_Mono).convertToFormat(img.format());
            EXPECT_EQ(std::tuple(barras, img.format(), img.width(), img),
                      std::tuple(b.scaled(b.size() * k), Surface::nuevaImagen(1, 1, ColorBlanco).format(),
                                 w * k, unBit))
                << nombre << " k=" << k;
            if (EsLineal(c.p.tipo) && k >= 2) {
                // The text under the bars (the library draws none at one dot per module).
                EXPECT_GT(TintaEn(img, QRect(0, barras.height(), w * k, img.height() - barras.height())), 0)
                    << nombre << " k=" << k;
            } else {
                EXPECT_EQ(img, barras) << nombre << " k=" << k;
            }
        }
    }
    // The check digit added or verified: the same symbol.
    EXPECT_EQ(GenerarCodigo(Parametros(Simbologia::EAN13, "5901234123457", 2)).imagen,
              GenerarCodigo(Parametros(Simbologia::EAN13, "590123412345", 2)).imagen);
}

TEST(GenerarCodigo, RefusalsSayWhyInSpanish) {
    const QString ean = QStringLiteral("EAN-13 solo admite dígitos (12, o 13 con el de control)");
    const QString modulo = QStringLiteral("El módulo debe medir entre 1 y 12 puntos");
    const QByteArray largo(300, 'x'), enorme(3000, 'x');
    const std::pair<ParametrosCodigo, QString> casos[] = {
        {Parametros(Simbologia::EAN13, "59012341234a"), ean}, {Parametros(Simbologia::EAN13, "12345"), ean},
        {Parametros(Simbologia::EAN13, "59012341234567"), ean},
        {Parametros(Simbologia::EAN13, "5901234123458"),
         QStringLiteral("El dígito de control de este EAN-13 es 7, no 8")},
        {Parametros(Simbologia::QR, largo.constData(), 4, NivelQR::M, 3),
         QStringLiteral("Los datos no caben en un código QR de la versión 3 con corrección M")},
        {Parametros(Simbologia::QR, enorme.constData(), 4, NivelQR::H),
         QStringLiteral("Los datos no caben en ningún código QR con corrección H")},
        {Parametros(Simbologia::QR, "x", 4, NivelQR::M, 41),
         QStringLiteral("La versión del código QR debe ser de 1 a 40, o 0 para elegirla sola")},
        {Parametros(Simbologia::Code128, largo.constData()),
         QStringLiteral("Demasiados datos para este código")},
        {Parametros(Simbologia::Code39, "AB_C"),
         QStringLiteral(
             "Code 39 solo admite letras sin acentos, dígitos, espacios y los signos - . $ / + %")},
        {Parametros(Simbologia::Code128, "Ωmega"),
         QStringLiteral("Code 128 solo admite letras, dígitos y signos de Europa occidental (Latin-1)")},
        {Parametros(Simbologia::DataMatrix, ""), QStringLiteral("Escriba los datos del código")},
        {Parametros(Simbologia::QR, "x", 0), modulo}, {Parametros(Simbologia::Code39, "X", 13), modulo}};
    for (const auto& [p, mensaje] : casos) {
        const CodigoGenerado g = GenerarCodigo(p);
        EXPECT_EQ(std::pair(g.imagen.isNull(), g.error), std::pair(true, mensaje))
            << p.datos.left(20).toStdString();
    }
}

// Every code is written with its key and read back as it was, whatever the key's capitals;
// a file with one field wrong or missing, or no whole JSON object, is refused.
TEST(DescripcionCodigo, FileRoundTripAndMalformedFilesRefused) {
    const std::pair<Simbologia, const char*> claves[] = {
        {Simbologia::QR, "qr"},         {Simbologia::DataMatrix, "datamatrix"},
        {Simbologia::PDF417, "pdf417"}, {Simbologia::Code128, "code128"},
        {Simbologia::EAN13, "ean13"},   {Simbologia::Code39, "code39"}};
    for (const auto& [s, clave] : claves) {
        const ParametrosCodigo p = Parametros(s, "Turno nº 5 — \"atención\"\n\\", ModuloPorDefecto(s),
                                              NivelQR::Q, 7, s != Simbologia::EAN13);
        QJsonObject o = QJsonDocument::fromJson(EscribirDescripcionCodigo(p)).object();
        EXPECT_EQ(std::pair(o.size(), o.value(QStringLiteral("tipo")).toString()),
                  std::pair(qsizetype(6), QString::fromLatin1(clave)));
        EXPECT_EQ(LeerDescripcionCodigo(EscribirDescripcionCodigo(p)), std::optional(p)) << clave;
        o.insert(QStringLiteral("tipo"), QString::fromLatin1(clave).toUpper());
        EXPECT_EQ(LeerDescripcionCodigo(QJsonDocument(o).toJson()), std::optional(p)) << clave;
    }

    const ParametrosCodigo valido = Parametros(Simbologia::QR, "x", 4, NivelQR::H, 40, false);
    const QByteArray bytes = EscribirDescripcionCodigo(valido);
    EXPECT_EQ(LeerDescripcionCodigo(bytes), std::optional(valido));
    const QJsonObject original = QJsonDocument::fromJson(bytes).object();
    // One field changed at a time (a missing field reads as one of the wrong type).
    const std::pair<const char*, QJsonValue> cambios[] = {
        {"tipo", QStringLiteral("aztec")}, {"tipo", 1}, {"datos", QString()}, {"datos", 5}, {"modulo", 0},
        {"modulo", 13}, {"modulo", 2.5}, {"modulo", QStringLiteral("4")}, {"nivel", QStringLiteral("X")},
        {"nivel", QStringLiteral("MM")}, {"versionQR", -1}, {"versionQR", 41}, {"textoLegible", 1},
        {"textoLegible", QStringLiteral("true")}};
    for (const auto& [clave, valor] : cambios) {
        QJsonObject o = original;
        o.insert(QLatin1String(clave), valor);
        EXPECT_FALSE(LeerDescripcionCodigo(QJsonDocument(o).toJson()).has_value()) << clave;
    }
    for (const QByteArray& roto : {QByteArray(), QByteArray("null"), QByteArray("[]"),
                                   bytes.left(bytes.size() / 2), bytes + "x", QByteArray("\xff\xfe")})
        EXPECT_FALSE(LeerDescripcionCodigo(roto).has_value()) << roto.constData();
}
