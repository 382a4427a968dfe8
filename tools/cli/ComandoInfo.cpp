#include "Comandos.h"
#include "InfoDiseno.h"

#include "document/ArchivoDiseno.h"
#include "document/RecordCodec.h"

#include <QFile>
#include <memory>

namespace quoravex::cli {

namespace {

int info(const Argumentos& a, Consola& c) {
    if (a.posicionales.size() != 1) {
        c.err << (a.posicionales.isEmpty()
                      ? QStringLiteral("Falta el fichero de diseño.\n")
                      : QStringLiteral("Sobra el argumento: %1\n").arg(a.posicionales.at(1)));
        return SalidaUso;
    }
    const QString ruta = a.posicionales.first();
    // The same checks and messages as "Abrir...": a missing file, a wrong version...
    auto prueba = std::make_unique<Design>();
    if (const ResultadoArchivo r = AbrirDiseno(*prueba, ruta); !r.correcto) {
        c.err << r.mensaje << QLatin1Char('\n');
        return SalidaFallo;
    }
    QFile archivo(ruta);
    if (!archivo.open(QIODevice::ReadOnly)) {
        c.err << QStringLiteral("No se ha podido abrir el fichero:\n%1\n").arg(ruta);
        return SalidaFallo;
    }
    const QByteArray datos = archivo.read(qint64(RegistrosMaximosInfo + 1) * LongitudRegistro);
    c.out << QString::fromUtf8(InfoDisenoJson(datos, ruta, archivo.size()));
    return SalidaCorrecta;
}

} // namespace

Comando ComandoInfo() {
    return {QStringLiteral("info"),
            QStringLiteral("Muestra la cabecera y los registros de un diseño en JSON"),
            QStringLiteral(
                "Uso: quoravex-cli info DISEÑO.tck\n\n"
                "Escribe en la salida estándar, en JSON, la cabecera del diseño y cada registro del\n"
                "fichero tal como están guardados: los campos con sus nombres de registro y los textos\n"
                "sin los espacios de relleno. \"posicion\" es el número de registro (1 el primero tras la\n"
                "cabecera); un registro con EnUso 0 es una posición vacía.\n\n"
                "Opciones:\n"
                "  -h, --help  muestra esta ayuda\n"),
            {},
            info};
}

} // namespace quoravex::cli
