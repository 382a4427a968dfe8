#include "Comandos.h"
#include "Generacion.h"
#include "ValoresCampos.h"

#include <QDir>

namespace quoravex::cli {

namespace {

int generar(const Argumentos& a, Consola& c) {
    if (a.posicionales.size() != 1) {
        c.err << (a.posicionales.isEmpty()
                      ? QStringLiteral("Falta el fichero de diseño.\n")
                      : QStringLiteral("Sobra el argumento: %1\n").arg(a.posicionales.at(1)));
        return SalidaUso;
    }
    const ValoresPedidos valores = ValoresDeArgumentos(a);
    if (!valores.error.isEmpty()) {
        c.err << valores.error << QLatin1Char('\n');
        return valores.uso ? SalidaUso : SalidaFallo;
    }
    const QString dir = a.opcion(QStringLiteral("--dir"), QDir::currentPath());
    const Generacion g = GenerarDesdeDiseno(a.posicionales.first(), dir,
                                            {valores.valores, a.bandera(QStringLiteral("--imagenes-ausentes"))});
    return InformarGeneracion(g, c);
}

} // namespace

Comando ComandoGenerate() {
    return {QStringLiteral("generate"),
            QStringLiteral("Genera los ficheros que se envían a la impresora"),
            QStringLiteral(
                "Uso: quoravex-cli generate DISEÑO.tck [--dir CARPETA] [--valor NOMBRE=VALOR...]\n"
                "                           [--valores FICHERO.csv] [--imagenes-ausentes]\n\n"
                "Carga el diseño como \"Abrir...\" y escribe en CARPETA (por omisión, la carpeta actual)\n"
                "lo mismo que \"Enviar a Impresora\" antes de abrir la ventana de envío: un fichero\n"
                "Salida00.bin para la parte común y uno por pulsador (Salida01.bin...), y los ficheros\n"
                "de fuentes DatosRasterTurno.bin, DatosRasterFecha.bin y DatosRasterHora.bin de los\n"
                "campos que tenga el diseño. Las imágenes se buscan en su ruta guardada, en la carpeta\n"
                "del diseño y en la carpeta actual, también con otras mayúsculas; si falta alguna, se\n"
                "nombra y no se escribe nada. Los campos {NOMBRE} de los textos y códigos se rellenan\n"
                "con los valores dados; si falta alguno, no se escribe nada.\n\n"
                "Opciones:\n"
                "  --dir CARPETA          carpeta de salida; se crea si no existe\n") +
                AyudaValores() +
                QStringLiteral("  --imagenes-ausentes    genera aunque falten imágenes (se nombran igualmente)\n"
                               "  -h, --help             muestra esta ayuda\n"),
            QStringList{QStringLiteral("--dir")} + OpcionesValores(),
            generar,
            {QStringLiteral("--imagenes-ausentes")}};
}

} // namespace quoravex::cli
