#include "Comandos.h"
#include "TablaPuertos.h"

#include "platform/PuertosDetectados.h"

namespace quoravex::cli {

namespace {

int puertos(const Argumentos& a, Consola& c) {
    if (!a.posicionales.isEmpty()) {
        c.err << QStringLiteral("Sobra el argumento: %1\n").arg(a.posicionales.first());
        return SalidaUso;
    }
    const QList<PuertoDetectado> lista = DetectarPuertos();
    c.out << (a.bandera(QStringLiteral("--json")) ? PuertosJson(lista) : TablaPuertos(lista));
    return SalidaCorrecta;
}

} // namespace

Comando ComandoPuertos() {
    return {QStringLiteral("puertos"),
            QStringLiteral("Lista los puertos serie presentes en el equipo"),
            QStringLiteral(
                "Uso: quoravex-cli puertos [--json]\n\n"
                "Lista los puertos serie que el sistema ve ahora: el dispositivo, su nombre estable en\n"
                "/dev/serial/by-id/ (el que conviene usar en --port: no cambia al reiniciar ni al conectar\n"
                "otro adaptador), la descripción, el fabricante, el número de serie y el identificador USB\n"
                "(fabricante:producto). Los nombres estables van primero. Sin ningún puerto lo dice y\n"
                "termina con 0.\n\n"
                "Opciones:\n"
                "  --json      una lista JSON con un objeto por puerto: dispositivo, nombre, estable,\n"
                "              descripcion, fabricante, numeroSerie y usb (\"\" cuando no se sabe)\n"
                "  -h, --help  muestra esta ayuda\n"),
            {},
            puertos,
            {QStringLiteral("--json")}};
}

} // namespace quoravex::cli
