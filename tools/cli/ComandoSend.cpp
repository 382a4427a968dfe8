#include "Comandos.h"
#include "Generacion.h"

#include "document/ArchivoDiseno.h"
#include "document/Configuracion.h"
#include "platform/EnvioConsola.h"

#include <QDir>
#include <QTemporaryDir>

namespace quoravex::cli {

namespace {

// The installation's settings, from Morvane.cfg in the current folder.
Configuracion configuracion() {
    Configuracion cfg;
    LeerArchivoConfiguracion(QDir::current().filePath(NombreArchivoConfiguracion), cfg);
    return cfg;
}

// The wait tick from "--tick-ms", else QUORAVEX_TICK_MS, else Morvane.cfg, else 16 ms.
AjustesTick ajustes(const Argumentos& a) {
    const QString ms = a.opcion(QStringLiteral("--tick-ms"));
    return AjustesTick::desdeProceso(
        ms.isEmpty() ? QStringList() : QStringList{QStringLiteral("--tick-ms=") + ms}, configuracion().TickMs);
}

int terminar(const ResultadoEnvioConsola& r, Consola& c) {
    if (r.tiempoAgotado) c.err << QStringLiteral("El envío no ha terminado a tiempo.\n");
    return r.ok ? SalidaCorrecta : SalidaFallo;
}

int enviar(const Argumentos& a, Consola& c) {
    const QString puerto = a.opcion(QStringLiteral("--port"));
    if (a.posicionales.size() != 1 || puerto.isEmpty()) {
        c.err << (puerto.isEmpty() ? QStringLiteral("Falta --port DISPOSITIVO.\n")
                                   : QStringLiteral("Indique un solo fichero de diseño.\n"));
        return SalidaUso;
    }
    // The files go where the program writes them, or to a folder of their own.
    QTemporaryDir temporal;
    const QString dir = a.opcion(QStringLiteral("--dir"), temporal.path());
    const Generacion g = GenerarDesdeDiseno(a.posicionales.first(), dir);
    if (const int codigo = InformarGeneracion(g, c); codigo != SalidaCorrecta) return codigo;
    Design d;
    if (const ResultadoArchivo r = AbrirDiseno(d, a.posicionales.first()); !r.correcto) {
        c.err << r.mensaje << QLatin1Char('\n');
        return SalidaFallo;
    }
    // The keyboard model is a setting of the installation, as in the designer.
    d.ModeloTeclado = configuracion().ModeloTeclado;

    OpcionesEnvioConsola o;
    o.dispositivo = puerto;
    o.carpeta = dir;
    o.ajustes = ajustes(a);
    return terminar(EnviarDisenoConsola(d, std::move(o), c.out), c);
}

int reloj(const Argumentos& a, Consola& c) {
    const QString puerto = a.opcion(QStringLiteral("--port"));
    if (puerto.isEmpty() || !a.posicionales.isEmpty()) {
        c.err << QStringLiteral("Uso: quoravex-cli clock --port DISPOSITIVO\n");
        return SalidaUso;
    }
    OpcionesEnvioConsola o;
    o.dispositivo = puerto;
    o.ajustes = ajustes(a);
    return terminar(EnviarFechaHoraConsola(std::move(o), c.out), c);
}

} // namespace

Comando ComandoSend() {
    return {QStringLiteral("send"),
            QStringLiteral("Genera los ficheros y los envía a la impresora"),
            QStringLiteral(
                "Uso: quoravex-cli send DISEÑO.tck --port DISPOSITIVO [--dir CARPETA] [--tick-ms N]\n\n"
                "Genera los ficheros como \"generate\" y los envía por el puerto serie como\n"
                "\"IniciarEnvio\": primero los ficheros de trama y después la fuente del turno.\n"
                "Escribe las líneas del registro de envío. Termina con 0 solo cuando la impresora ha\n"
                "aceptado todo; si no, con \"Error de comunicación con Impresora\" y 1.\n"
                "El modelo de teclado se lee de Morvane.cfg en la carpeta actual.\n\n"
                "Opciones:\n"
                "  --port DISPOSITIVO  puerto serie, por ejemplo /dev/ttyUSB0\n"
                "  --dir CARPETA       deja allí los ficheros generados (por omisión, una carpeta temporal)\n"
                "  --tick-ms N         duración del tic de espera, en milisegundos (16 por omisión)\n"
                "  -h, --help          muestra esta ayuda\n"),
            {QStringLiteral("--port"), QStringLiteral("--dir"), QStringLiteral("--tick-ms")},
            enviar};
}

Comando ComandoClock() {
    return {QStringLiteral("clock"),
            QStringLiteral("Pone en hora el reloj de la impresora"),
            QStringLiteral("Uso: quoravex-cli clock --port DISPOSITIVO [--tick-ms N]\n\n"
                           "Envía la fecha y la hora del ordenador a la impresora a 1200 baudios.\n\n"
                           "Opciones:\n"
                           "  --port DISPOSITIVO  puerto serie, por ejemplo /dev/ttyUSB0\n"
                           "  --tick-ms N         duración del tic de espera, en milisegundos (16 por omisión)\n"
                           "  -h, --help          muestra esta ayuda\n"),
            {QStringLiteral("--port"), QStringLiteral("--tick-ms")},
            reloj};
}

} // namespace quoravex::cli
