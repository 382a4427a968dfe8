#include "SalidaImpresora.h"

#include "link/TransferenciaFont.h"
#include "link/TransferenciaRaster.h"

#include <QFile>

namespace quoravex {

namespace {

constexpr int AnchoTicket = 384;

const TipoFont& Tipo(int indice) {
    return indice == 0 ? TipoFont::Turno() : indice == 1 ? TipoFont::Fecha() : TipoFont::Hora();
}

int leer16(const QByteArray& b, qsizetype p) {
    return static_cast<uint8_t>(b.at(p)) | (static_cast<uint8_t>(b.at(p + 1)) << 8);
}

// Sign and magnitude, as the font header stores the field's place.
int leerSignoMagnitud(const QByteArray& b, qsizetype p) {
    const int v = leer16(b, p);
    return (v & 0x8000) ? -(v & 0x7FFF) : v;
}

// Plots segments (address high, address low, count, bytes) with their origin at (x0, y0).
void dibujarSegmentos(QImage& imagen, const QByteArray& b, qsizetype desde, qsizetype hasta, int x0, int y0) {
    qsizetype p = desde;
    while (p + 3 <= hasta) {
        const int direccion = (static_cast<uint8_t>(b.at(p)) << 8) | static_cast<uint8_t>(b.at(p + 1));
        const int n = static_cast<uint8_t>(b.at(p + 2));
        p += 3;
        const int fila = y0 + direccion / 64;
        int x = x0 + (direccion % 64) * 8;
        for (int i = 0; i < n && p < hasta; ++i, ++p) {
            const auto byte = static_cast<uint8_t>(b.at(p));
            for (int k = 0; k < 8; ++k, ++x)
                if ((byte >> k) & 1 && imagen.rect().contains(x, fila)) imagen.setPixel(x, fila, 0);
        }
    }
}

} // namespace

SalidaImpresora::SalidaImpresora(const ImpresoraVirtual& impresora, const QString& carpeta,
                                 QTextStream& informe)
    : mImpresora(impresora), mCarpeta(carpeta), mInforme(informe) {
    mCarpeta.mkpath(QStringLiteral("."));
}

QByteArray SalidaImpresora::ArchivoRaster(const RasterRecibido& r) {
    QByteArray a = r.archivo();
    if (a.size() == 1) a.append('\0');
    return a;
}

void SalidaImpresora::DibujarRaster(QImage& imagen, const QByteArray& archivo) {
    dibujarSegmentos(imagen, archivo, 1, archivo.size(), 0, 0);
}

void SalidaImpresora::DibujarNumero(QImage& imagen, const QByteArray& font, const QString& texto) {
    if (font.size() < 9) return;
    int x = leerSignoMagnitud(font, 0);
    const int y = leerSignoMagnitud(font, 2);
    // Character records: code, advance, length, segments; 0xFF ends them.
    std::map<char, std::pair<qsizetype, qsizetype>> celdas;
    std::map<char, int> avances;
    qsizetype p = 8;
    while (p + 5 <= font.size() && static_cast<uint8_t>(font.at(p)) != 0xFF) {
        const char c = font.at(p);
        const int n = leer16(font, p + 3);
        avances[c] = leer16(font, p + 1);
        celdas[c] = {p + 5, std::min<qsizetype>(p + 5 + n, font.size())};
        p += 5 + n;
    }
    for (const QChar q : texto) {
        const char c = q.toLatin1();
        if (!celdas.count(c)) continue;
        dibujarSegmentos(imagen, font, celdas[c].first, celdas[c].second, x, y);
        x += avances[c];
    }
}

QImage SalidaImpresora::Ticket(const std::map<int, RasterRecibido>& rasters, int k, int largo,
                               const QByteArray& fontTurno) {
    QImage imagen(AnchoTicket, std::max(largo, 0) + 1, QImage::Format_Mono);
    imagen.setColor(0, qRgb(0, 0, 0));
    imagen.setColor(1, qRgb(255, 255, 255));
    imagen.fill(1);
    for (const int parte : {0, k}) {
        const auto it = rasters.find(parte);
        if (it != rasters.end()) DibujarRaster(imagen, ArchivoRaster(it->second));
        if (k == 0) break;
    }
    DibujarNumero(imagen, fontTurno, QStringLiteral("123"));
    return imagen;
}

void SalidaImpresora::escribir(const QString& nombre, const QByteArray& datos) {
    QFile f(mCarpeta.filePath(nombre));
    if (f.open(QIODevice::WriteOnly)) f.write(datos);
}

void SalidaImpresora::revisar(qint64 bytesRecibidos, qint64 bytesEnviados) {
    const ImpresoraVirtual& im = mImpresora;
    if (im.borrados != mBorrados) {
        // A new send starts from the erase frame.
        mBorrados = im.borrados;
        mRastersEscritos.clear();
        mTicketsEscritos = false;
        mInforme << QStringLiteral("borrado: largo %1 teclado 0x%2")
                        .arg(im.largoTicket)
                        .arg(im.codigoTeclado, 2, 16, QLatin1Char('0'))
                 << Qt::endl;
    }
    for (const auto& [k, r] : im.rasters) {
        if (!r.completo || mRastersEscritos.count(k)) continue;
        mRastersEscritos.insert(k);
        escribir(TransferenciaRaster::NombreArchivo(k), ArchivoRaster(r));
        mInforme << QStringLiteral("raster: ") << TransferenciaRaster::NombreArchivo(k) << Qt::endl;
    }
    bool fontNueva = false;
    for (const auto& [i, f] : im.fonts) {
        if (!f.completa || mFontsEscritas[i] == f.archivo()) continue;
        mFontsEscritas[i] = f.archivo();
        escribir(Tipo(i).archivo, f.archivo());
        mInforme << QStringLiteral("font: ") << Tipo(i).archivo << Qt::endl;
        fontNueva = fontNueva || i == 0;
    }
    const int n = NumPulsadores(im.codigoTeclado);
    bool todos = mBorrados > 0;
    for (int k = 0; k <= n && todos; ++k)
        todos = mRastersEscritos.count(k) > 0;
    if (todos && (!mTicketsEscritos || fontNueva)) {
        mTicketsEscritos = true;
        escribirTickets();
        mInforme << QStringLiteral("bytes: recibidos %1 enviados %2").arg(bytesRecibidos).arg(bytesEnviados)
                 << Qt::endl;
    }
    if (im.fechaHora && im.fechaHora != mFechaHora) {
        mFechaHora = im.fechaHora;
        mInforme << QStringLiteral("reloj: ") << mFechaHora->toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                 << Qt::endl;
    }
}

void SalidaImpresora::escribirTickets() {
    const int n = NumPulsadores(mImpresora.codigoTeclado);
    const auto turno = mImpresora.fonts.find(0);
    const QByteArray font =
        turno != mImpresora.fonts.end() && turno->second.completa ? turno->second.archivo() : QByteArray();
    for (int k = 0; k <= n; ++k) {
        const QString nombre = QStringLiteral("Ticket%1.png").arg(k, 2, 10, QLatin1Char('0'));
        Ticket(mImpresora.rasters, k, mImpresora.largoTicket, font).save(mCarpeta.filePath(nombre));
        mInforme << QStringLiteral("ticket: ") << nombre << Qt::endl;
    }
}

} // namespace quoravex
