#include "Configuracion.h"

#include "Numeros.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace quoravex {

namespace {

// The number after the first `marca` in the text, or nothing when there is no such mark,
// no text after it, or the number does not fit.
std::optional<int16_t> numeroTras(const QString& texto, QStringView marca) {
    const qsizetype pos = texto.indexOf(marca);
    if (pos < 0) return std::nullopt;
    const QStringView resto = QStringView(texto).mid(pos + marca.size());
    if (resto.isEmpty()) return std::nullopt;
    return EnteroDe16(LeerNumero(resto));
}

std::optional<int16_t> puertoTrasCom(const QString& texto) {
    return numeroTras(texto, u"COM");
}

std::optional<int16_t> valorTrasIgual(const QString& linea) {
    return numeroTras(linea, u"=");
}

constexpr int MaximoAutoguardadoS = 3600;

// Lines longer than this are not configuration lines; they are read and dropped.
constexpr qint64 LongitudMaximaLinea = 4096;

} // namespace

void LeerLineaConfiguracion(const QString& linea, Configuracion& cfg) {
    if (linea.contains(QLatin1String("Comunication Port"))) {
        if (const auto puerto = puertoTrasCom(linea)) cfg.PuertoCom = *puerto;
        return;
    }
    if (linea.contains(QLatin1String("Keyboard Model"))) {
        // Only the three models exist; anything else leaves the current one.
        const auto modelo = valorTrasIgual(linea);
        if (modelo && *modelo >= 1 && *modelo <= 3) cfg.ModeloTeclado = static_cast<uint8_t>(*modelo);
        return;
    }
    static const QRegularExpression dispositivo(QStringLiteral(R"(^\s*Device\s+COM([1-9])\s*=\s*(\S+)\s*$)"));
    if (const QRegularExpressionMatch m = dispositivo.match(linea); m.hasMatch()) {
        cfg.Dispositivos.insert(m.captured(1).toInt(), m.captured(2));
        return;
    }
    if (linea.contains(QLatin1String("Autoguardado s"))) {
        const auto s = valorTrasIgual(linea);
        if (s && *s >= 0 && *s <= MaximoAutoguardadoS) cfg.AutoguardadoS = *s;
        return;
    }
    if (linea.contains(QLatin1String("Tick ms"))) {
        const auto ms = valorTrasIgual(linea);
        if (ms && *ms >= 1 && *ms <= 1000) cfg.TickMs = *ms;
    }
}

void LeerArchivoConfiguracion(const QString& ruta, Configuracion& cfg) {
    QFile archivo(ruta);
    if (!archivo.open(QIODevice::ReadOnly)) return;
    while (!archivo.atEnd()) {
        QByteArray linea = archivo.readLine(LongitudMaximaLinea);
        if (linea.isEmpty() && archivo.error() != QFileDevice::NoError) return;
        const bool completa = linea.endsWith('\n') || archivo.atEnd();
        if (!completa) {
            // Skip the rest of an over-long line.
            while (!archivo.atEnd() && !archivo.readLine(LongitudMaximaLinea).endsWith('\n')) {
            }
            continue;
        }
        while (linea.endsWith('\n') || linea.endsWith('\r'))
            linea.chop(1);
        // The file is 8-bit text; its keys are plain ASCII.
        LeerLineaConfiguracion(QString::fromLatin1(linea), cfg);
    }
}

void LeerEntornoAutoguardado(const QString& valor, Configuracion& cfg) {
    bool ok = false;
    const int s = valor.trimmed().toInt(&ok);
    if (ok && s >= 0 && s <= MaximoAutoguardadoS) cfg.AutoguardadoS = s;
}

void LeerLineaComandos(const QString& lineaComandos, Configuracion& cfg) {
    if (lineaComandos.size() <= 3 || !lineaComandos.contains(QLatin1String("COM"))) return;
    if (const auto puerto = puertoTrasCom(lineaComandos)) cfg.PuertoCom = *puerto;
}

ArgumentosPrograma LeerArgumentos(const QStringList& argumentos) {
    ArgumentosPrograma r;
    QStringList resto;
    const QString carpeta = QStringLiteral("--carpeta-trabajo");
    for (qsizetype i = 0; i < argumentos.size(); ++i) {
        const QString& a = argumentos.at(i);
        if (a == carpeta && i + 1 < argumentos.size()) {
            r.carpetaTrabajo = argumentos.at(++i);
            continue;
        }
        if (a.startsWith(carpeta + QLatin1Char('='))) {
            r.carpetaTrabajo = a.mid(carpeta.size() + 1);
            continue;
        }
        if (a == QStringLiteral("--carpeta-usuario")) {
            r.carpetaUsuario = true;
            continue;
        }
        const bool diseno = !a.startsWith(QLatin1Char('-')) &&
                            (a.endsWith(QLatin1String(".tck"), Qt::CaseInsensitive) || QFileInfo(a).isFile());
        if (diseno) {
            r.archivoDiseno = a;
        } else {
            resto << a;
        }
    }
    r.lineaComandos = UnirArgumentos(resto);
    return r;
}

QString UnirArgumentos(const QStringList& argumentos) {
    return argumentos.join(QLatin1Char(' '));
}

} // namespace quoravex
