#include "render/CodigoBarras.h"
#include "render/DescripcionCodigo.h"
#include "render/GenerarSalida.h"
#include "render/ImagenObjeto.h"
#include "render/Redibujar.h"
#include "render/Relleno.h"
#include "render/Workspace.h"

#include "document/Design.h"
#include "document/Ficheros.h"
#include "document/Numeros.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quoravex;

TEST(Relleno, PlacementByTable) {
    const struct {
        int left, tecleado, relleno;
        Colocacion esperada;
        const char* caso;
    } filas[] = {
        {10, 50, 120, {10, 120, false}, "left edge kept, grows"},
        {10, 50, 20, {10, 20, false}, "left edge kept, shrinks"},
        {142, 100, 200, {92, 200, false}, "centred stays centred"},
        {143, 100, 50, {167, 50, false}, "centre one dot off still counts"},
        {144, 100, 50, {144, 50, false}, "two dots off is left-anchored"},
        {142, 100, 101, {142, 101, false}, "half a dot rounds to even"},
        {284, 50, 100, {284, 100, false}, "reaches the edge exactly"},
        {300, 50, 120, {300, 84, true}, "cut at the right edge"},
        {142, 100, 500, {0, 384, true}, "centred and wider than the ticket"},
    };
    for (const auto& f : filas)
        EXPECT_EQ(ColocarRelleno(f.left, f.tecleado, f.relleno), f.esperada) << f.caso;
}

namespace {

// A fixed text in DejaVu Sans, its box the size of the drawn text; centred across the ticket
// when asked, as "Centrado Horizontal" leaves it.
int Texto(Design& d, const QString& texto, int left, int top, bool centrado = false) {
    const int i = d.agregar(NuevoObjeto{TipoTextoFijo, std::nullopt, top, left, 382, 120, texto});
    ObjetoTicket& o = d.objeto(i);
    o.Pendiente = Falso;
    o.FontName = QStringLiteral("DejaVu Sans");
    o.FontSize = 16;
    o.FontStyle = 2;
    Workspace ws;
    DibujarObjeto(d, ws, i);
    o.Width = ws.item(i).width();
    o.Height = ws.item(i).height();
    if (centrado) o.Left = RedondeoPar((384 - o.Width) / 2.0).value_or(0);
    return i;
}

// A code object as the code dialog leaves it: its bitmap and description in `dir`, centred.
int Codigo(Design& d, const QString& dir, const QString& nombre, const ParametrosCodigo& p, const QImage& imagen,
           int top) {
    const int i = d.agregar(NuevoObjeto{TipoImagen, std::nullopt, top, (385 - imagen.width()) / 2, imagen.width(), imagen.height()});
    ObjetoTicket& o = d.objeto(i);
    o.Pendiente = Falso;
    const QString bitmap = QDir(dir).filePath(nombre + QStringLiteral(".bmp"));
    EXPECT_TRUE(GuardarImagenTrabajo(imagen, bitmap));
    EXPECT_TRUE(EscribirFichero(RutaDescripcionCodigo(bitmap), EscribirDescripcionCodigo(p)));
    o.ImagenTrabajo = bitmap;
    o.ImagenOrigen = RutaDescripcionCodigo(bitmap);
    o.AnchoImagen = static_cast<int16_t>(imagen.width());
    return i;
}

// A QR code of the data, or an EAN-13 two dots per module.
ParametrosCodigo Qr(const QString& datos, bool ean13 = false) {
    ParametrosCodigo p;
    p.datos = datos;
    if (ean13) std::tie(p.tipo, p.modulo) = std::tuple(Simbologia::EAN13, 2);
    return p;
}

QByteArray Salida(Design& d, const QString& dir, const Relleno* r = nullptr) {
    Workspace ws;
    ws.dimensionarCanvas(d.LargoTicket);
    EXPECT_EQ(GenerarSalida(d, ws, dir, dir, nullptr, {}, r), QString());
    return LeerFichero(QDir(dir).filePath(QStringLiteral("Salida00.bin")));
}

} // namespace

// A design with fields, filled, prints byte for byte what the same design typed with the
// values prints: the left text keeps its left edge, the centred text and code stay centred.
TEST(Relleno, FilledTextsAndCodesPrintAsIfTypedAndBadValuesAreRefused) {
    QTemporaryDir tmp;
    const QString dir = tmp.path();
    const QString url = QStringLiteral("https://ejemplo.es/oficina/{id}");
    Design campos;
    Texto(campos, QStringLiteral("{sucursal}:"), 12, 10);
    Texto(campos, QStringLiteral("Oficina {{{sucursal}}}"), 0, 60, true);
    const QImage qrTecleado = GenerarCodigo(Qr(url)).imagen;
    Codigo(campos, dir, QStringLiteral("qr"), Qr(url), qrTecleado, 120);
    ASSERT_EQ(CamposDelDiseno(campos, dir), (QStringList{QStringLiteral("sucursal"), QStringLiteral("id")}));

    const ValoresCampos valores{{QStringLiteral("sucursal"), QStringLiteral("Valdepeñas Centro")},
                                {QStringLiteral("id"), QStringLiteral("4217-madrid-calle-mayor")}};
    const Relleno r = RellenarDiseno(campos, valores, dir);
    ASSERT_EQ(r.error, QString());

    Design tecleado;
    Texto(tecleado, QStringLiteral("Valdepeñas Centro:"), 12, 10);
    Texto(tecleado, QStringLiteral("Oficina {Valdepeñas Centro}"), 0, 60, true);
    const ParametrosCodigo lleno = Qr(QStringLiteral("https://ejemplo.es/oficina/4217-madrid-calle-mayor"));
    Codigo(tecleado, dir, QStringLiteral("qr-lleno"), lleno, GenerarCodigo(lleno).imagen, 120);
    ASSERT_NE(qrTecleado.size(), GenerarCodigo(lleno).imagen.size()) << "the filled code has another size";
    for (int i = 1; i <= 3; ++i)
        EXPECT_EQ(r.objetos.at(i).caja, QRect(tecleado.objeto(i).Left, tecleado.objeto(i).Top,
                                              tecleado.objeto(i).Width, tecleado.objeto(i).Height))
            << i;

    ASSERT_TRUE(QDir(dir).mkdir(QStringLiteral("a")) && QDir(dir).mkdir(QStringLiteral("b")));
    const Design antes = campos;
    const QByteArray conCampos = Salida(campos, dir + QStringLiteral("/a"), &r);
    EXPECT_EQ(campos.Objetos, antes.Objetos) << "the design keeps what was typed";
    EXPECT_EQ(conCampos.toHex(), Salida(tecleado, dir + QStringLiteral("/b")).toHex());

    // The values with one more or one other.
    auto con = [&](const QString& nombre, const QString& valor) {
        ValoresCampos v = valores;
        v.insert(nombre, valor);
        return v;
    };
    const QString sucursal = QStringLiteral("sucursal");
    // Too wide: cut at the edge with a warning naming the object.
    const Relleno ancho = RellenarDiseno(campos, con(sucursal, QString(40, QLatin1Char('W'))), dir);
    ASSERT_EQ(ancho.error, QString());
    EXPECT_EQ(ancho.objetos.at(1).caja.right(), 383);
    EXPECT_EQ(ancho.objetos.at(2).caja, QRect(0, 60, 384, tecleado.objeto(2).Height));
    ASSERT_EQ(ancho.avisos.size(), 2);
    EXPECT_EQ(ancho.avisos.first(), QStringLiteral("Aviso: el texto \"{sucursal}:\" (objeto 1) no cabe en el ancho "
                                                   "del ticket con estos valores; se corta en el borde."));

    // What is refused, and nothing is filled then.
    const ParametrosCodigo ean = Qr(QStringLiteral("841234{art}"), true);
    Codigo(campos, dir, QStringLiteral("ean"), ean, GenerarCodigo(Qr(QStringLiteral("x"))).imagen, 300);
    const struct {
        ValoresCampos valores;
        const char* error;
    } malos[] = {
        {{{sucursal, QStringLiteral("Centro")}}, "Falta el valor del campo {id}"},
        {con(QStringLiteral("art"), QStringLiteral("12345x")),
         "El código EAN-13 \"841234{art}\" (objeto 4) no admite estos valores: EAN-13 solo admite dígitos (12, o 13 "
         "con el de control)"},
    };
    for (const auto& m : malos) {
        const Relleno mal = RellenarDiseno(campos, m.valores, dir);
        EXPECT_EQ(mal.error, QString::fromUtf8(m.error));
        EXPECT_TRUE(mal.vacio());
    }
    EXPECT_EQ(RellenarDiseno(campos, con(QStringLiteral("art"), QStringLiteral("567890")), dir).error, QString());

    // While designed, a code that cannot hold its fields as typed shows stand-in zeros.
    EXPECT_EQ(CodigoDeMuestra(ean).imagen, GenerarCodigo(Qr(QStringLiteral("841234000000"), true)).imagen);
    EXPECT_EQ(CodigoDeMuestra(Qr(url)).imagen, qrTecleado);
}
