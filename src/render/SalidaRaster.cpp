#include "SalidaRaster.h"

#include "Workspace.h"

#include "document/Design.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <algorithm>

namespace quoravex {

namespace {

bool entraEnRaster(const ObjetoTicket& o, uint32_t vista) {
    return o.enUso() && (o.Pulsadores & vista) != 0 &&
           (o.Tipo == TipoTextoFijo || o.Tipo == TipoImagen || o.Tipo == TipoLinea);
}

int filasDe(const Design& d) {
    return std::clamp<int>(d.LargoTicket, 0, LargoMaximo) + 1;
}

} // namespace

QString NombreArchivoSalida(int n, const QString& dir) {
    const QString numero = (QStringLiteral("0") + QString::number(n - 1)).right(2);
    return QDir(dir).filePath(QStringLiteral("Salida") + numero + QStringLiteral(".bin"));
}

int ColorEnPunto(const Design& d, const Workspace& ws, int x, int y) {
    int resultado = SinObjeto;
    if (d.NumObjetos <= 0) return resultado;
    int mejor = 0;
    for (int i = 1; i <= d.IdxObjMasAlto; ++i) {
        const ObjetoTicket& o = d.objeto(i);
        if (!entraEnRaster(o, d.VistaActual)) continue;
        const int64_t dx = int64_t(x) - o.Left;
        const int64_t dy = int64_t(y) - o.Top;
        if (dx < 0 || dy < 0 || dx >= o.Width || dy >= o.Height || o.Orden <= mejor) continue;
        mejor = o.Orden;
        const int32_t c = ws.item(i).point(static_cast<int>(dx), static_cast<int>(dy));
        resultado = Oscuridad(c < 0 ? ColorBlanco : static_cast<Color>(c));
    }
    return resultado;
}

RasterBits RasterPorPuntos(const Design& d, const Workspace& ws) {
    RasterBits r(filasDe(d));
    for (int y = 0; y < r.filas; ++y)
        for (int x = 0; x < PuntosPorFila; ++x)
            if (ColorEnPunto(d, ws, x, y) < UmbralNegro) r.poner(x, y);
    return r;
}

RasterBits ComponerRaster(const Design& d, const Workspace& ws) {
    const int filas = filasDe(d);
    // One byte per dot while composing: later objects cover earlier ones opaquely.
    std::vector<uint8_t> puntos(static_cast<size_t>(filas) * PuntosPorFila, 0);

    std::vector<int> orden;
    if (d.NumObjetos > 0)
        for (int i = 1; i <= d.IdxObjMasAlto; ++i)
            if (entraEnRaster(d.objeto(i), d.VistaActual) && d.objeto(i).Orden > 0) orden.push_back(i);
    // Highest Orden on top; among equal Orden the lowest slot wins, so it is painted last.
    std::sort(orden.begin(), orden.end(), [&](int a, int b) {
        const int oa = d.objeto(a).Orden, ob = d.objeto(b).Orden;
        return oa != ob ? oa < ob : a > b;
    });

    for (int i : orden) {
        const ObjetoTicket& o = d.objeto(i);
        const QImage& caja = ws.item(i).image();
        const int64_t x0 = std::max<int64_t>(o.Left, 0);
        const int64_t x1 = std::min<int64_t>(int64_t(o.Left) + o.Width, PuntosPorFila);
        const int64_t y0 = std::max<int64_t>(o.Top, 0);
        const int64_t y1 = std::min<int64_t>(int64_t(o.Top) + o.Height, filas);
        for (int64_t y = y0; y < y1; ++y) {
            const int64_t dy = y - o.Top;
            const QRgb* fila =
                dy < caja.height() ? reinterpret_cast<const QRgb*>(caja.constScanLine(int(dy))) : nullptr;
            uint8_t* destino = puntos.data() + y * PuntosPorFila;
            for (int64_t x = x0; x < x1; ++x) {
                const int64_t dx = x - o.Left;
                const Color c = (fila && dx < caja.width()) ? DeQRgb(fila[dx]) : ColorBlanco;
                destino[x] = Oscuridad(c) < UmbralNegro ? 1 : 0;
            }
        }
    }

    RasterBits r(filas);
    for (int y = 0; y < filas; ++y) {
        const uint8_t* fila = puntos.data() + static_cast<size_t>(y) * PuntosPorFila;
        uint8_t* bytes = r.fila(y);
        for (int b = 0; b < BytesPorFila; ++b) {
            uint8_t v = 0;
            for (int k = 0; k < 8; ++k)
                v |= static_cast<uint8_t>(fila[b * 8 + k] << k);
            bytes[b] = v;
        }
    }
    return r;
}

QString EscribirSalida(int n, const Design& d, const Workspace& ws, const QString& dir) {
    const QString ruta = NombreArchivoSalida(n, dir);
    // An old file must not survive a failed write: it would be sent as if it were current.
    if (QFile::exists(ruta) && !QFile::remove(ruta))
        return QStringLiteral("No se puede borrar el fichero de salida %1.")
            .arg(QDir::toNativeSeparators(ruta));
    const QByteArray datos = CodificarRaster(ComponerRaster(d, ws), static_cast<uint8_t>(n - 1));
    QSaveFile archivo(ruta);
    if (!archivo.open(QIODevice::WriteOnly) || archivo.write(datos) != datos.size() || !archivo.commit())
        return QStringLiteral("No se puede escribir el fichero de salida %1: %2")
            .arg(QDir::toNativeSeparators(ruta), archivo.errorString());
    return QString();
}

bool DibujarSalida(int n, Surface& lienzo, const QString& dir) {
    QFile archivo(NombreArchivoSalida(n, dir));
    if (!archivo.open(QIODevice::ReadOnly)) return false;
    const QByteArray datos = archivo.readAll();
    DecodificarRaster(datos, [&](int x, int y) { lienzo.pset(x, y, ColorNegro); });
    lienzo.refresh();
    return true;
}

} // namespace quoravex
