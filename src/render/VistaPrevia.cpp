#include "VistaPrevia.h"

#include "CodificacionRaster.h"
#include "GenerarSalida.h"
#include "Redibujar.h"
#include "SalidaRaster.h"
#include "Workspace.h"

#include "document/Constantes.h"
#include "document/Design.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <memory>

namespace quoravex {

namespace {

// A font file is a few kilobytes; anything far larger is not one.
constexpr qint64 LecturaMaximaFuente = qint64(4) << 20;
// Raster files hold at most 512 rows of 48 bytes plus their segment headers.
constexpr qint64 LecturaMaximaRaster = qint64(1) << 20;

void ponerNegro(QImage& imagen, int x, int y) {
    if (x >= 0 && y >= 0 && x < imagen.width() && y < imagen.height()) imagen.setPixel(x, y, qRgb(0, 0, 0));
}

enum class Lectura { Leido, Falta, Error };

Lectura leerArchivo(const QString& ruta, qint64 maximo, QByteArray& datos) {
    QFile archivo(ruta);
    if (!archivo.exists()) return Lectura::Falta;
    if (!archivo.open(QIODevice::ReadOnly)) return Lectura::Error;
    datos = archivo.read(maximo);
    return archivo.error() == QFileDevice::NoError ? Lectura::Leido : Lectura::Error;
}

QString visible(const QString& ruta) {
    return QDir::toNativeSeparators(ruta);
}

} // namespace

QString MuestraCampo(CampoVariable campo, uint8_t formato) {
    switch (campo) {
    case CampoVariable::Turno:
        switch (formato) {
        case 3:
            return QStringLiteral("123");
        case 4:
            return QStringLiteral("1234");
        case 10:
            return QStringLiteral("A1");
        case 11:
            return QStringLiteral("A12");
        case 12:
            return QStringLiteral("A123");
        default:
            return QStringLiteral("12");
        }
    case CampoVariable::Fecha:
        switch (formato) {
        case 2:
            return QStringLiteral("12/31/09");
        case 3:
            return QStringLiteral("31/12/2009");
        case 4:
            return QStringLiteral("12/31/2009");
        default:
            return QStringLiteral("31/12/09");
        }
    case CampoVariable::Hora:
        switch (formato) {
        case 2:
            return QStringLiteral("11:59 pm");
        case 3:
            return QStringLiteral("23:59:59");
        case 4:
            return QStringLiteral("11:59:59 pm");
        case 5:
            return QStringLiteral("23.59");
        case 6:
            return QStringLiteral("23.59.59");
        default:
            return QStringLiteral("23:59");
        }
    }
    return QString();
}

void DibujarCampo(QImage& imagen, const FuenteLeida& fuente, const QString& valor) {
    const CaracterFuente* separador = fuente.buscar(QLatin1Char(':'));
    if (!separador && !fuente.caracteres.empty()) separador = &fuente.caracteres.front();
    const int hueco = separador ? separador->Avance : 0;
    int pluma = fuente.x;
    for (const QChar c : valor) {
        const CaracterFuente* car = fuente.buscar(c);
        if (!car) {
            pluma += hueco;
            continue;
        }
        const int x0 = pluma;
        RecorrerCelda(car->celda, [&](int x, int y) { ponerNegro(imagen, x0 + x, fuente.y + y); });
        pluma += car->Avance;
    }
}

void DibujarRaster(QImage& imagen, const QByteArray& datos) {
    DecodificarRaster(datos, [&](int x, int y) { ponerNegro(imagen, x, y); });
}

VistaPreviaTicket VistaPrevia(int n, int largoTicket, const QString& dir) {
    VistaPreviaTicket v;
    v.imagen = QImage(PuntosPorFila, std::clamp(largoTicket, 0, int(LargoMaximo)) + 1, QImage::Format_RGB32);
    v.imagen.fill(qRgb(255, 255, 255));

    QList<int> archivos = {1};
    if (n > 0) archivos.append(n + 1);
    for (const int archivo : archivos) {
        const QString ruta = NombreArchivoSalida(archivo, dir);
        QByteArray datos;
        switch (leerArchivo(ruta, LecturaMaximaRaster, datos)) {
        case Lectura::Leido:
            DibujarRaster(v.imagen, datos);
            break;
        case Lectura::Falta:
            v.avisos << QStringLiteral("Falta el fichero de salida %1.").arg(visible(ruta));
            break;
        case Lectura::Error:
            v.avisos << QStringLiteral("No se puede leer el fichero de salida %1.").arg(visible(ruta));
            break;
        }
    }

    for (const CampoVariable campo : {CampoVariable::Turno, CampoVariable::Fecha, CampoVariable::Hora}) {
        const QString ruta = ArchivoFuente(campo, dir);
        QByteArray datos;
        const Lectura l = leerArchivo(ruta, LecturaMaximaFuente, datos);
        // A design without the field has no font file: nothing to draw, nothing to say.
        if (l == Lectura::Falta) continue;
        const std::optional<FuenteLeida> fuente = l == Lectura::Leido ? LeerFuente(datos) : std::nullopt;
        if (!fuente || !fuente->completa)
            v.avisos
                << QStringLiteral("El fichero de fuente %1 está dañado o incompleto.").arg(visible(ruta));
        if (fuente) DibujarCampo(v.imagen, *fuente, MuestraCampo(campo, fuente->Formato));
    }
    return v;
}

VistasDiseno VistasPreviasDiseno(const Design& d, const QString& dirDiseno, const Relleno* relleno) {
    VistasDiseno vistas;
    QTemporaryDir temporal;
    if (!temporal.isValid()) {
        vistas.error =
            QStringLiteral("No se puede crear una carpeta temporal: %1").arg(temporal.errorString());
        return vistas;
    }
    // Generating switches views and redraws every box: it works on a copy, on its own
    // surfaces. Both are large, so they live on the heap.
    auto copia = std::make_unique<Design>(d);
    auto ws = std::make_unique<Workspace>();
    ws->dimensionarCanvas(copia->LargoTicket);
    RedibujarTicket(*copia, *ws, dirDiseno);
    vistas.error = GenerarDatosImpresora(*copia, *ws, temporal.path(), dirDiseno, {}, relleno);
    if (!vistas.error.isEmpty()) return vistas;
    const int variantes = std::clamp<int>(copia->NumPulsadores, 0, MaxPulsadores);
    for (int n = 0; n <= variantes; ++n)
        vistas.tickets.append(VistaPrevia(n, copia->LargoTicket, temporal.path()));
    return vistas;
}

QString NombreVistaPrevia(int variante) {
    if (variante == 0) return QStringLiteral("ticket-comun.png");
    return QStringLiteral("ticket-pulsador-%1.png").arg(variante, 2, 10, QLatin1Char('0'));
}

} // namespace quoravex
