#include "Muestra.h"

#include <QPainter>

using namespace quoravex;

namespace muestra {

namespace {

int agregar(Design& d, int16_t tipo, QRect r, uint32_t pulsadores, const char* texto = "", int puntos = 0,
            int16_t estilo = 0, uint8_t formato = 0) {
    const int i = d.agregar({tipo, formato ? std::optional(formato) : std::nullopt, r.top(), r.left(),
                             r.width(), r.height(), QString::fromUtf8(texto), pulsadores});
    ObjetoTicket& o = d.objeto(i);
    o.Pendiente = Falso; // confirmed, as every saved object is
    if (puntos > 0) {
        o.FontName = QStringLiteral("DejaVu Sans");
        o.FontSize = static_cast<int16_t>(puntos);
        o.FontStyle = estilo;
    }
    return i;
}

void linea(Design& d, QRect r, uint32_t pulsadores) {
    ObjetoTicket& o = d.objeto(agregar(d, TipoLinea, r, pulsadores));
    o.LineaX = static_cast<int16_t>(r.left());
    o.LineaY = static_cast<int16_t>(r.top());
    o.Grosor = static_cast<int16_t>(std::min(r.width(), r.height()));
}

} // namespace

QImage Imagen() {
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

Design Diseno() {
    Design d;
    d.LargoTicket = 400;
    d.NumPulsadores = 3;
    constexpr uint32_t Comun = 1;
    constexpr uint32_t Pulsador1 = 2, Pulsador2 = 4, Pulsador3 = 8;

    // Common part, printed on every ticket.
    agregar(d, TipoTextoFijo, QRect(20, 8, 300, 40), Comun, "Bienvenido", 22, 2);
    // The picture is stored with the Windows path it had where it was made; it is found
    // beside the design file.
    const int imagen = agregar(d, TipoImagen, QRect(160, 56, 64, 32), Comun);
    d.objeto(imagen).AnchoImagen = 64;
    d.objeto(imagen).ImagenTrabajo = QStringLiteral("C:\\Tickets\\muestra.bmp");
    d.objeto(imagen).ImagenOrigen = QStringLiteral("C:\\Tickets\\logo.png");
    linea(d, QRect(0, 100, 384, 3), Comun);
    linea(d, QRect(8, 110, 2, 120), Comun);
    agregar(d, TipoTurno, QRect(120, 120, 130, 60), Comun, "888", 36, 2, 3);
    agregar(d, TipoFecha, QRect(20, 360, 150, 20), Comun, "31/12/2099", 12, 0, 3);
    agregar(d, TipoHora, QRect(260, 360, 100, 20), Comun, "11:59 pm", 12, 0, 2);

    // One text per push-button at the same place, and a line on push-buttons 1 and 3.
    agregar(d, TipoTextoFijo, QRect(20, 250, 200, 30), Pulsador1, "Caja", 18);
    agregar(d, TipoTextoFijo, QRect(20, 250, 200, 30), Pulsador2, "Farmacia", 18);
    agregar(d, TipoTextoFijo, QRect(20, 250, 200, 30), Pulsador3, "Información", 18);
    linea(d, QRect(0, 300, 384, 2), Pulsador1 | Pulsador3);
    d.TicketModificado = Falso;
    return d;
}

QString Carpeta() {
    return QStringLiteral(QUORAVEX_DATOS_PRUEBA);
}
QString RutaDiseno() {
    return Carpeta() + QStringLiteral("/muestra.tck");
}
QString RutaImagen() {
    return Carpeta() + QStringLiteral("/muestra.bmp");
}

} // namespace muestra
