#include "Comandos.h"

#include "render/CodigoBarras.h"
#include "render/ImagenObjeto.h"

#include <QDir>
#include <optional>

namespace quoravex::cli {

namespace {

// A whole number given as the option's value; nullopt (and the reason on err) when it is not one.
std::optional<int> Entero(const Argumentos& a, const QString& opcion, int porDefecto, Consola& c) {
    if (!a.opciones.contains(opcion)) return porDefecto;
    bool ok = false;
    const int n = a.opcion(opcion).toInt(&ok);
    if (ok) return n;
    c.err << QStringLiteral("%1 necesita un número entero: %2\n").arg(opcion, a.opcion(opcion));
    return std::nullopt;
}

int codigo(const Argumentos& a, Consola& c) {
    if (!a.posicionales.isEmpty()) {
        c.err << QStringLiteral("Sobra el argumento: %1\n").arg(a.posicionales.first());
        return SalidaUso;
    }
    const QString clave = a.opcion(QStringLiteral("--tipo"));
    if (clave.isEmpty()) {
        c.err << QStringLiteral("Falta la opción --tipo con el tipo de código.\n");
        return SalidaUso;
    }
    const std::optional<Simbologia> tipo = SimbologiaDesdeClave(clave);
    if (!tipo) {
        c.err << QStringLiteral(
                     "Tipo de código desconocido: %1 (qr, datamatrix, pdf417, code128, ean13 o code39)\n")
                     .arg(clave);
        return SalidaUso;
    }
    if (!a.opciones.contains(QStringLiteral("--datos"))) {
        c.err << QStringLiteral("Falta la opción --datos con los datos del código.\n");
        return SalidaUso;
    }
    const bool qr = *tipo == Simbologia::QR;
    if (!qr && (a.opciones.contains(QStringLiteral("--nivel")) ||
                a.opciones.contains(QStringLiteral("--version")))) {
        c.err << QStringLiteral("--nivel y --version solo valen para códigos QR.\n");
        return SalidaUso;
    }
    if (!EsLineal(*tipo) && a.bandera(QStringLiteral("--sin-texto"))) {
        c.err << QStringLiteral("--sin-texto solo vale para code128, ean13 y code39.\n");
        return SalidaUso;
    }

    ParametrosCodigo p;
    p.tipo = *tipo;
    p.datos = a.opcion(QStringLiteral("--datos"));
    p.textoLegible = !a.bandera(QStringLiteral("--sin-texto"));
    const std::optional<int> modulo = Entero(a, QStringLiteral("--modulo"), ModuloPorDefecto(*tipo), c);
    const std::optional<int> version = Entero(a, QStringLiteral("--version"), 0, c);
    if (!modulo || !version) return SalidaUso;
    p.modulo = *modulo;
    p.versionQR = *version;
    const QString nivel = a.opcion(QStringLiteral("--nivel"), QStringLiteral("M")).toUpper();
    const qsizetype n = QStringLiteral("LMQH").indexOf(nivel);
    if (nivel.size() != 1 || n < 0) {
        c.err
            << QStringLiteral("--nivel debe ser L, M, Q o H: %1\n").arg(a.opcion(QStringLiteral("--nivel")));
        return SalidaUso;
    }
    p.nivel = static_cast<NivelQR>(n);

    const CodigoGenerado g = GenerarCodigo(p);
    if (g.imagen.isNull()) {
        c.err << g.error << QLatin1Char('\n');
        return SalidaFallo;
    }
    const QString salida = a.opcion(QStringLiteral("--out"), QStringLiteral("codigo.bmp"));
    if (!GuardarImagenTrabajo(g.imagen, salida)) {
        c.err << QStringLiteral("No se puede escribir %1.\n").arg(QDir::toNativeSeparators(salida));
        return SalidaFallo;
    }
    c.out << QStringLiteral("%1: %2 x %3 puntos\n")
                 .arg(QDir::toNativeSeparators(salida))
                 .arg(g.imagen.width())
                 .arg(g.imagen.height());
    return SalidaCorrecta;
}

} // namespace

Comando ComandoCodigo() {
    return {QStringLiteral("codigo"),
            QStringLiteral("Dibuja un código QR o de barras como imagen en blanco y negro"),
            QStringLiteral(
                "Uso: quoravex-cli codigo --tipo TIPO --datos TEXTO [--modulo N] [--nivel L|M|Q|H]\n"
                "                         [--version N] [--sin-texto] [--out FICHERO.bmp]\n\n"
                "Codifica los datos y escribe el código como mapa de bits de Windows de un bit por punto,\n"
                "listo para ponerlo como imagen en un diseño: cada módulo (la barra o el cuadro más\n"
                "estrecho) mide exactamente N puntos de impresora y los márgenes en blanco que pide el\n"
                "código van incluidos. Escribe en la salida estándar el fichero y su tamaño en puntos.\n"
                "Si los datos no caben o no sirven para ese código, explica por qué y termina con 1.\n\n"
                "Opciones:\n"
                "  --tipo TIPO       qr, datamatrix, pdf417, code128, ean13 o code39\n"
                "  --datos TEXTO     lo que se codifica; ean13 admite 12 dígitos (se añade el de\n"
                "                    control) o 13 (se comprueba)\n"
                "  --modulo N        puntos por módulo, de 1 a 12 (4 en qr y datamatrix, 2 en los demás)\n"
                "  --nivel L|M|Q|H   solo qr: corrección de errores, del 7 al 30 % (M por omisión)\n"
                "  --version N       solo qr: versión de 1 a 40; 0 (por omisión) la menor en que caben\n"
                "  --sin-texto       solo code128, ean13 y code39: sin el texto bajo las barras\n"
                "  --out FICHERO     el mapa de bits; por omisión codigo.bmp en la carpeta actual\n"
                "  -h, --help        muestra esta ayuda\n"),
            {QStringLiteral("--tipo"), QStringLiteral("--datos"), QStringLiteral("--modulo"),
             QStringLiteral("--nivel"), QStringLiteral("--version"), QStringLiteral("--out")},
            codigo,
            {QStringLiteral("--sin-texto")}};
}

} // namespace quoravex::cli
