#include "Comandos.h"
#include "Generacion.h"

#include "document/Design.h"
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
    const QString ruta = a.posicionales.first();
    auto d = std::make_unique<Design>();
    if (const int codigo = InformarGeneracion(CargarDesdeFichero(*d, ruta), c); codigo != SalidaCorrecta)
        return codigo;
    // Drawn by the same function as the designer's preview window.
    const VistasDiseno vistas = VistasPreviasDiseno(*d, DirDiseno(ruta));
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
                "Uso: quoravex-cli preview DISEÑO.tck --out CARPETA\n\n"
                "Genera los ficheros de impresora del diseño en una carpeta temporal y escribe en\n"
                "CARPETA una imagen PNG por ticket, de 384 puntos de ancho y el largo del ticket más\n"
                "uno de alto: ticket-comun.png con la parte común y, con varios pulsadores,\n"
                "ticket-pulsador-01.png, ticket-pulsador-02.png... con la parte común y lo del pulsador.\n"
                "Los campos de turno, fecha y hora se dibujan con sus fuentes generadas y un valor de\n"
                "ejemplo de su formato. Escribe la ruta de cada imagen en la salida estándar.\n\n"
                "Opciones:\n"
                "  --out CARPETA  carpeta de las imágenes; se crea si no existe\n"
                "  -h, --help     muestra esta ayuda\n"),
            {QStringLiteral("--out")},
            vistaPrevia};
}

} // namespace quoravex::cli
