#include "Comandos.h"
#include "Generacion.h"
#include "ValoresCampos.h"

#include "document/Design.h"
#include "render/Relleno.h"
#include "render/VistaPrevia.h"

#include <QDir>
#include <memory>

namespace quoravex::cli {

namespace {

int vistaPrevia(const Argumentos& a, Consola& c) {
    if (a.posicionales.size() != 1) {
        c.err << (a.posicionales.isEmpty()
                      ? QStringLiteral("Falta el fichero de diseño.\n")
                      : QStringLiteral("Sobra el argumento: %1\n").arg(a.posicionales.at(1)));
        return SalidaUso;
    }
    const QString salida = a.opcion(QStringLiteral("--out"));
    if (salida.isEmpty()) {
        c.err << QStringLiteral("Falta la opción --out con la carpeta de las vistas previas.\n");
        return SalidaUso;
    }
    const ValoresPedidos valores = ValoresDeArgumentos(a);
    if (!valores.error.isEmpty()) {
        c.err << valores.error << QLatin1Char('\n');
        return valores.uso ? SalidaUso : SalidaFallo;
    }
    const QString ruta = a.posicionales.first();
    auto d = std::make_unique<Design>();
    Generacion carga = CargarDesdeFichero(*d, ruta);
    const QString dirDiseno = DirDiseno(ruta);
    Relleno relleno;
    if (carga.error.isEmpty()) {
        // Missing pictures are named; the preview shows what would be printed without them.
        ComprobarImagenes(*d, dirDiseno, {valores.valores, true}, carga);
        carga.avisos << AvisosValoresSinUso(CamposDelDiseno(*d, dirDiseno), valores.valores.keys(), false);
        relleno = RellenarDiseno(*d, valores.valores, dirDiseno);
        carga.error = relleno.error;
        carga.avisos << relleno.avisos;
    }
    if (const int codigo = InformarGeneracion(carga, c); codigo != SalidaCorrecta) return codigo;
    // Drawn by the same function as the designer's preview window.
    const VistasDiseno vistas = VistasPreviasDiseno(*d, dirDiseno, &relleno);
    if (!vistas.error.isEmpty()) {
        c.err << vistas.error << QLatin1Char('\n');
        return SalidaFallo;
    }
    if (const QString e = PrepararCarpeta(salida); !e.isEmpty()) {
        c.err << e << QLatin1Char('\n');
        return SalidaFallo;
    }
    for (int n = 0; n < vistas.tickets.size(); ++n) {
        const VistaPreviaTicket& v = vistas.tickets.at(n);
        for (const QString& aviso : v.avisos)
            c.err << aviso << QLatin1Char('\n');
        const QString imagen = QDir(salida).filePath(NombreVistaPrevia(n));
        if (!v.imagen.save(imagen, "PNG")) {
            c.err << QStringLiteral("No se puede escribir la vista previa %1.\n")
                         .arg(QDir::toNativeSeparators(imagen));
            return SalidaFallo;
        }
        c.out << QDir::toNativeSeparators(imagen) << QLatin1Char('\n');
    }
    return SalidaCorrecta;
}

} // namespace

Comando ComandoPreview() {
    return {QStringLiteral("preview"),
            QStringLiteral("Dibuja cada ticket del diseño como lo imprime la impresora"),
            QStringLiteral(
                "Uso: quoravex-cli preview DISEÑO.tck --out CARPETA [--valor NOMBRE=VALOR...]\n"
                "                          [--valores FICHERO.csv]\n\n"
                "Genera los ficheros de impresora del diseño en una carpeta temporal y escribe en\n"
                "CARPETA una imagen PNG por ticket, de 384 puntos de ancho y el largo del ticket más\n"
                "uno de alto: ticket-comun.png con la parte común y, con varios pulsadores,\n"
                "ticket-pulsador-01.png, ticket-pulsador-02.png... con la parte común y lo del pulsador.\n"
                "Los campos de turno, fecha y hora se dibujan con sus fuentes generadas y un valor de\n"
                "ejemplo de su formato, y los campos {NOMBRE} con los valores dados. Las imágenes que\n"
                "falten se nombran y se ven en blanco. Escribe la ruta de cada imagen en la salida\n"
                "estándar.\n\n"
                "Opciones:\n"
                "  --out CARPETA          carpeta de las imágenes; se crea si no existe\n") +
                AyudaValores() + QStringLiteral("  -h, --help             muestra esta ayuda\n"),
            QStringList{QStringLiteral("--out")} + OpcionesValores(),
            vistaPrevia};
}

} // namespace quoravex::cli
