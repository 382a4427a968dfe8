#pragma once

#include "document/Design.h"

#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QString>

// The sample design of tests/data (muestra.tck and its picture muestra.bmp), built here
// object by object so that a reader can see what the committed files hold; and the
// command-line tool run as a process.
namespace muestra {

using namespace quoravex;

inline const QString RutaDiseno = QStringLiteral(QUORAVEX_DATOS_PRUEBA "/muestra.tck");
inline const QString RutaImagen = QStringLiteral(QUORAVEX_DATOS_PRUEBA "/muestra.bmp");

// 64 x 32: a black frame two dots wide and both diagonals, on white.
inline QImage Imagen() {
    QImage img(64, 32, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    for (const QRect r : {QRect(0, 0, 64, 2), QRect(0, 30, 64, 2), QRect(0, 0, 2, 32), QRect(62, 0, 2, 32)})
        p.fillRect(r, Qt::black);
    p.end();
    for (int x = 0; x < 64; ++x) {
        img.setPixel(x, x / 2, qRgb(0, 0, 0));
        img.setPixel(x, 31 - x / 2, qRgb(0, 0, 0));
    }
    return img;
}

// 400 dots long, three push-buttons (bits 1 to 3 of an object's push-buttons; bit 0 is the
// common part, printed on every ticket).
inline Design Diseno() {
    const struct {
        int16_t tipo;
        QRect r;
        uint32_t pulsadores;
        const char* texto;
        int16_t puntos, estilo;
        uint8_t formato;
    } objetos[] = {
        {TipoTextoFijo, {20, 8, 300, 40}, 1, "Bienvenido", 22, 2, 0},
        {TipoImagen, {160, 56, 64, 32}, 1, "", 0, 0, 0},
        {TipoLinea, {0, 100, 384, 3}, 1, "", 0, 0, 0},
        {TipoLinea, {8, 110, 2, 120}, 1, "", 0, 0, 0},
        {TipoTurno, {120, 120, 130, 60}, 1, "888", 36, 2, 3},
        {TipoFecha, {20, 360, 150, 20}, 1, "31/12/2099", 12, 0, 3},
        {TipoHora, {260, 360, 100, 20}, 1, "11:59 pm", 12, 0, 2},
        // One text per push-button at the same place, and a line on push-buttons 1 and 3.
        {TipoTextoFijo, {20, 250, 200, 30}, 2, "Caja", 18, 0, 0},
        {TipoTextoFijo, {20, 250, 200, 30}, 4, "Farmacia", 18, 0, 0},
        {TipoTextoFijo, {20, 250, 200, 30}, 8, "Información", 18, 0, 0},
        {TipoLinea, {0, 300, 384, 2}, 2 | 8, "", 0, 0, 0},
    };
    Design d;
    d.LargoTicket = 400;
    d.NumPulsadores = 3;
    for (const auto& x : objetos) {
        ObjetoTicket& o = d.objeto(
            d.agregar({x.tipo, x.formato ? std::optional(x.formato) : std::nullopt, x.r.top(), x.r.left(),
                       x.r.width(), x.r.height(), QString::fromUtf8(x.texto), x.pulsadores}));
        o.Pendiente = Falso; // confirmed, as every saved object is
        if (x.puntos > 0) {
            o.FontName = QStringLiteral("DejaVu Sans");
            o.FontSize = x.puntos;
            o.FontStyle = x.estilo;
        }
        if (x.tipo == TipoLinea) {
            o.LineaX = static_cast<int16_t>(x.r.left());
            o.LineaY = static_cast<int16_t>(x.r.top());
            o.Grosor = static_cast<int16_t>(std::min(x.r.width(), x.r.height()));
        }
        if (x.tipo == TipoImagen) {
            // Stored with the Windows paths it had where it was made; found beside the design.
            o.AnchoImagen = 64;
            o.ImagenTrabajo = QStringLiteral("C:\\Tickets\\muestra.bmp");
            o.ImagenOrigen = QStringLiteral("C:\\Tickets\\logo.png");
        }
    }
    d.TicketModificado = Falso;
    return d;
}

struct Salida {
    int codigo = -1; // -1: it did not end normally
    QByteArray out;
    QString err;
};

// quoravex-cli, or another program, run in the folder as a script would: without a display.
inline Salida Correr(const QStringList& argumentos, const QString& carpeta,
                     const QString& programa = QStringLiteral(QUORAVEX_CLI)) {
    QProcess p;
    p.setWorkingDirectory(carpeta);
    QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    entorno.remove(QStringLiteral("QT_QPA_PLATFORM"));
    p.setProcessEnvironment(entorno);
    p.start(programa, argumentos);
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit) return {};
    return {p.exitCode(), p.readAllStandardOutput(), QString::fromUtf8(p.readAllStandardError())};
}

} // namespace muestra
