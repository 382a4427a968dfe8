#include "Comandos.h"
#include "Generacion.h"
#include "ListaPuertos.h"
#include "ValoresCampos.h"

#include "document/ArchivoDiseno.h"
#include "document/Configuracion.h"
#include "platform/FlotaEnvio.h"
#include "render/Relleno.h"
#include "render/Workspace.h"

#include <QDir>
#include <QTemporaryDir>
#include <algorithm>
#include <memory>

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
    return AjustesTick::desdeProceso(ms.isEmpty() ? QStringList()
                                                  : QStringList{QStringLiteral("--tick-ms=") + ms},
                                     configuracion().TickMs);
}

// What send and clock share: the ports, how many run at once, where the logs go and where
// the failed ports are written.
struct Flota {
    OpcionesFlota opciones;
    QString fallidos; // --failed-to
    PuertosPedidos pedidos;
};

// Reads the shared options into f; SalidaCorrecta, or the exit code once the message is out.
int leerFlota(const Argumentos& a, Consola& c, const QString& faltaPuerto, Flota& f) {
    const PuertosPedidos pedidos = PuertosDeArgumentos(a);
    if (!pedidos.error.isEmpty()) {
        c.err << pedidos.error << QLatin1Char('\n');
        return SalidaFallo;
    }
    if (pedidos.puertos.isEmpty()) {
        c.err << faltaPuerto;
        return SalidaUso;
    }
    for (const QString& aviso : pedidos.avisos)
        c.err << aviso << QLatin1Char('\n');
    bool numero = true;
    const QString paralelo = a.opcion(QStringLiteral("--parallel"), QStringLiteral("16"));
    f.opciones.paralelo = paralelo.toInt(&numero);
    if (!numero || f.opciones.paralelo < 1) {
        c.err << QStringLiteral("--parallel necesita un número entero mayor que 0: %1\n").arg(paralelo);
        return SalidaUso;
    }
    const QString tick = a.opcion(QStringLiteral("--tick-ms"));
    if (!a.valores(QStringLiteral("--tick-ms")).isEmpty() && AjustesTick::leer(tick) == 0) {
        c.err << QStringLiteral("--tick-ms necesita un número entero de 1 a 1000: %1\n").arg(tick);
        return SalidaUso;
    }
    f.opciones.carpetaRegistros = a.opcion(QStringLiteral("--log-dir"));
    if (!f.opciones.carpetaRegistros.isEmpty()) {
        if (const QString error = PrepararCarpeta(f.opciones.carpetaRegistros); !error.isEmpty()) {
            c.err << error << QLatin1Char('\n');
            return SalidaFallo;
        }
        QStringList acortados;
        const QStringList nombres = NombresRegistro(pedidos.puertos, &acortados);
        for (const QString& puerto : acortados)
            c.err << QStringLiteral("Aviso: el nombre de %1 es demasiado largo para un fichero; su registro es %2.\n")
                         .arg(puerto, nombres.at(pedidos.puertos.indexOf(puerto)));
    }
    f.opciones.puertos = pedidos.puertos;
    f.opciones.etiquetas = pedidos.etiquetas;
    f.opciones.tituloEtiqueta = pedidos.tituloEtiqueta;
    f.pedidos = pedidos;
    f.opciones.ajustes = ajustes(a);
    f.fallidos = a.opcion(QStringLiteral("--failed-to"));
    // One printer's log is the command's output, as it always was; several would be mixed up.
    if (pedidos.puertos.size() == 1) f.opciones.registro = &c.out;
    f.opciones.alTerminar = [&c](const ResultadoImpresora& r) { c.err << LineaResultado(r) << Qt::endl; };
    return SalidaCorrecta;
}

// The table, the list of failed ports, and the exit code: 0 only when every printer took it.
int terminar(const ResultadoFlota& r, const Flota& f, Consola& c) {
    c.err << QLatin1Char('\n') << TablaResultados(r.impresoras, f.opciones.tituloEtiqueta);
    if (std::any_of(r.impresoras.begin(), r.impresoras.end(),
                    [](const ResultadoImpresora& i) { return i.envio.tiempoAgotado; }))
        c.err << QStringLiteral("El envío no ha terminado a tiempo.\n");
    c.err.flush();
    if (!f.fallidos.isEmpty()) {
        if (const QString error = GuardarListaPuertos(f.fallidos, r.fallidos()); !error.isEmpty()) {
            c.err << error << QLatin1Char('\n');
            return SalidaFallo;
        }
    }
    return r.ok() ? SalidaCorrecta : SalidaFallo;
}

int enviar(const Argumentos& a, Consola& c) {
    const QString falta = QStringLiteral("Falta --port DISPOSITIVO o --ports-from FICHERO.\n");
    const bool sinPuertos =
        a.valores(QStringLiteral("--port")).isEmpty() && a.valores(QStringLiteral("--ports-from")).isEmpty();
    if (sinPuertos || a.posicionales.size() != 1) {
        c.err << (sinPuertos ? falta : QStringLiteral("Indique un solo fichero de diseño.\n"));
        return SalidaUso;
    }
    Flota f;
    if (const int codigo = leerFlota(a, c, falta, f); codigo != SalidaCorrecta) return codigo;
    const ValoresPedidos comunes = ValoresDeArgumentos(a);
    if (!comunes.error.isEmpty()) {
        c.err << comunes.error << QLatin1Char('\n');
        return comunes.uso ? SalidaUso : SalidaFallo;
    }
    const QString ruta = a.posicionales.first();
    const QString dirDiseno = DirDiseno(ruta);
    auto d = std::make_unique<Design>();
    // Everything that would stop every printer is found before any is contacted.
    Generacion carga = CargarDesdeFichero(*d, ruta);
    QStringList campos;
    if (carga.error.isEmpty() &&
        ComprobarImagenes(*d, dirDiseno, {comunes.valores, a.bandera(QStringLiteral("--imagenes-ausentes"))}, carga)) {
        campos = CamposDelDiseno(*d, dirDiseno);
        carga.avisos << AvisosValoresSinUso(campos, comunes.valores.keys(), false)
                     << AvisosValoresSinUso(campos, f.pedidos.columnas, true);
    }
    if (const int codigo = InformarGeneracion(carga, c); codigo != SalidaCorrecta) return codigo;

    // The files are made where the program writes them or in a folder of their own, and
    // every printer's session reads them there: once for all, or, when a table gives each
    // printer its own values, once for each printer in a folder named after its port.
    QTemporaryDir temporal;
    const QString dir = a.opcion(QStringLiteral("--dir"), temporal.path());
    auto ws = std::make_unique<Workspace>();
    if (!f.pedidos.conTabla || campos.isEmpty()) {
        const Relleno relleno = RellenarDiseno(*d, comunes.valores, dirDiseno);
        Generacion g;
        g.avisos = relleno.avisos;
        g.error = relleno.error.isEmpty() ? GenerarConRelleno(*d, *ws, dirDiseno, relleno, dir) : relleno.error;
        if (const int codigo = InformarGeneracion(g, c); codigo != SalidaCorrecta) return codigo;
    } else {
        const QStringList nombres = NombresRegistro(f.opciones.puertos);
        for (qsizetype i = 0; i < f.opciones.puertos.size(); ++i) {
            ValoresCampos valores = comunes.valores;
            const ValoresCampos& fila = f.pedidos.valores.at(i);
            for (auto v = fila.constBegin(); v != fila.constEnd(); ++v)
                if (!v.value().isEmpty()) valores.insert(v.key(), v.value());
            const Relleno relleno = RellenarDiseno(*d, valores, dirDiseno);
            const QString carpeta = QDir(dir).filePath(nombres.at(i).chopped(4)); // without ".log"
            QString motivo = relleno.error;
            if (motivo.isEmpty()) motivo = GenerarConRelleno(*d, *ws, dirDiseno, relleno, carpeta);
            for (const QString& aviso : relleno.avisos)
                c.err << f.opciones.puertos.at(i) << QStringLiteral(": ") << aviso << QLatin1Char('\n');
            f.opciones.carpetas << carpeta;
            f.opciones.rechazos << motivo;
        }
    }
    // The keyboard model is a setting of the installation, as in the designer.
    d->ModeloTeclado = configuracion().ModeloTeclado;
    f.opciones.carpeta = dir;
    return terminar(EnviarDisenoFlota(*d, f.opciones), f, c);
}

int reloj(const Argumentos& a, Consola& c) {
    const QString uso = QStringLiteral("Uso: quoravex-cli clock --port DISPOSITIVO | --ports-from FICHERO\n");
    if (!a.posicionales.isEmpty()) {
        c.err << uso;
        return SalidaUso;
    }
    Flota f;
    if (const int codigo = leerFlota(a, c, uso, f); codigo != SalidaCorrecta) return codigo;
    return terminar(EnviarFechaHoraFlota(f.opciones), f, c);
}

const QStringList OpcionesFlotaCli = {QStringLiteral("--port"),     QStringLiteral("--ports-from"),
                                      QStringLiteral("--parallel"), QStringLiteral("--failed-to"),
                                      QStringLiteral("--log-dir"),  QStringLiteral("--tick-ms")};

const QString AyudaFlota = QStringLiteral(
    "  --port DISPOSITIVO     puerto serie, por ejemplo /dev/ttyUSB0, o en la red:\n"
    "                         rfc2217://HOST:PUERTO o socket://HOST:PUERTO; puede repetirse\n"
    "  --ports-from FICHERO   lee los puertos de un fichero: uno por línea; \"#\" empieza un\n"
    "                         comentario y las líneas en blanco no cuentan. O una tabla CSV\n"
    "                         (UTF-8, con comas o puntos y comas) con una columna \"puerto\" y\n"
    "                         una columna por campo: cada fila es una impresora y sus valores\n"
    "  --parallel N           atiende a lo sumo N impresoras a la vez (16 por omisión)\n"
    "  --failed-to FICHERO    escribe allí los puertos que han fallado, en el formato de\n"
    "                         --ports-from, para repetir con ellos (vacío si ninguno ha fallado)\n"
    "  --log-dir CARPETA      escribe el registro de cada impresora en su propio fichero\n"
    "  --tick-ms N            duración del tic de espera, en milisegundos (16 por omisión)\n"
    "  -h, --help             muestra esta ayuda\n");

const QString AyudaVarias = QStringLiteral(
    "Con varios puertos atiende a todas las impresoras a la vez; el fallo de una no detiene a\n"
    "las demás. Al terminar cada impresora escribe una línea en la salida de errores\n"
    "(\"PUERTO: correcto (12.3 s, 0 repeticiones)\" o \"PUERTO: lo que ha fallado\") y al final\n"
    "una tabla con el puerto, el resultado, los segundos y las tramas repetidas. Con un solo\n"
    "puerto el registro de envío va a la salida estándar; con varios, solo a los ficheros de\n"
    "--log-dir. Termina con 0 solo si todas las impresoras han ido bien.\n");

} // namespace

Comando ComandoSend() {
    return {
        QStringLiteral("send"), QStringLiteral("Genera los ficheros y los envía a una o varias impresoras"),
        QStringLiteral("Uso: quoravex-cli send DISEÑO.tck --port DISPOSITIVO [--port DISPOSITIVO...]\n"
                       "                       [--ports-from FICHERO] [--parallel N] [--failed-to FICHERO]\n"
                       "                       [--log-dir CARPETA] [--dir CARPETA] [--tick-ms N]\n"
                       "                       [--valor NOMBRE=VALOR...] [--valores FICHERO.csv]\n"
                       "                       [--imagenes-ausentes]\n\n"
                       "Genera los ficheros como \"generate\", una sola vez, y los envía por el puerto\n"
                       "serie como \"IniciarEnvio\": primero los ficheros de trama y después la fuente\n"
                       "del turno, escribiendo las líneas del registro de envío. Una impresora va bien\n"
                       "cuando lo ha aceptado todo; si no, se dice qué ha fallado, por ejemplo \"Error\n"
                       "de comunicación con Impresora\".\n"
                       "Con una tabla en --ports-from, cada impresora recibe los ficheros generados con\n"
                       "los valores de su fila (que completan los de --valor y --valores); una impresora\n"
                       "a la que le falte un valor falla sin que se le envíe nada y las demás siguen.\n"
                       "Si faltan imágenes del diseño, se nombran y no se envía nada a ninguna impresora.\n"
                       "El modelo de teclado se lee de Morvane.cfg en la carpeta actual.\n\n") +
            AyudaVarias +
            QStringLiteral("\nOpciones:\n"
                           "  --dir CARPETA          deja allí los ficheros generados (por omisión, una\n"
                           "                         carpeta temporal); con una tabla, los de cada\n"
                           "                         impresora en una subcarpeta con el nombre de su puerto\n") +
            AyudaValores() +
            QStringLiteral("  --imagenes-ausentes    envía aunque falten imágenes (se nombran igualmente)\n") +
            AyudaFlota,
        OpcionesFlotaCli + QStringList{QStringLiteral("--dir")} + OpcionesValores(), enviar,
        {QStringLiteral("--imagenes-ausentes")}};
}

Comando ComandoClock() {
    return {
        QStringLiteral("clock"), QStringLiteral("Pone en hora el reloj de una o varias impresoras"),
        QStringLiteral("Uso: quoravex-cli clock --port DISPOSITIVO [--port DISPOSITIVO...]\n"
                       "                        [--ports-from FICHERO] [--parallel N] [--failed-to FICHERO]\n"
                       "                        [--log-dir CARPETA] [--tick-ms N]\n\n"
                       "Envía la fecha y la hora del ordenador a la impresora a 1200 baudios.\n\n") +
            AyudaVarias + QStringLiteral("\nOpciones:\n") + AyudaFlota,
        OpcionesFlotaCli, reloj};
}

} // namespace quoravex::cli
