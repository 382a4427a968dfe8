#include "IconosHerramientas.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace quoravex {

namespace {

QPixmap Dibujar(const QString& dibujo, int lado) {
    QPixmap p(lado, lado);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.scale(lado / 24.0, lado / 24.0);
    const QColor tinta(40, 40, 40), acento(0, 120, 215);
    g.setPen(QPen(tinta, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QFont f = g.font();
    f.setBold(true);
    f.setPixelSize(15);
    g.setFont(f);
    if (dibujo == QLatin1String("texto")) {
        g.drawText(QRectF(0, 0, 24, 24), Qt::AlignCenter, QStringLiteral("T"));
    } else if (dibujo == QLatin1String("imagen")) {
        g.drawRect(QRectF(3, 5, 18, 14));
        QPainterPath monte;
        monte.moveTo(4, 18);
        monte.lineTo(10, 11);
        monte.lineTo(14, 15);
        monte.lineTo(16, 13);
        monte.lineTo(20, 18);
        g.fillPath(monte, tinta);
        g.setBrush(acento);
        g.drawEllipse(QPointF(16, 9), 1.8, 1.8);
    } else if (dibujo == QLatin1String("codigo")) {
        for (const QRectF& r : {QRectF(3, 3, 7, 7), QRectF(14, 3, 7, 7), QRectF(3, 14, 7, 7)}) {
            g.drawRect(r);
            g.fillRect(r.adjusted(2, 2, -2, -2), tinta);
        }
        g.fillRect(QRectF(14, 14, 3, 3), tinta);
        g.fillRect(QRectF(18, 18, 3, 3), tinta);
    } else if (dibujo == QLatin1String("linea")) {
        g.setPen(QPen(tinta, 2.5, Qt::SolidLine, Qt::RoundCap));
        g.drawLine(QPointF(4, 19), QPointF(20, 5));
    } else if (dibujo == QLatin1String("turno")) {
        g.drawRoundedRect(QRectF(2, 4, 20, 16), 3, 3);
        f.setPixelSize(10);
        g.setFont(f);
        g.drawText(QRectF(2, 4, 20, 16), Qt::AlignCenter, QStringLiteral("123"));
    } else if (dibujo == QLatin1String("deshacer") || dibujo == QLatin1String("rehacer")) {
        if (dibujo == QLatin1String("rehacer")) {
            g.translate(24, 0);
            g.scale(-1, 1);
        }
        QPainterPath arco;
        arco.moveTo(8, 7);
        arco.cubicTo(20, 5, 22, 19, 10, 19);
        g.drawPath(arco);
        g.drawLine(QPointF(8, 7), QPointF(12, 3));
        g.drawLine(QPointF(8, 7), QPointF(12, 11));
    } else if (dibujo == QLatin1String("acercar") || dibujo == QLatin1String("alejar")) {
        g.drawEllipse(QPointF(10, 10), 6, 6);
        g.setPen(QPen(tinta, 2.5, Qt::SolidLine, Qt::RoundCap));
        g.drawLine(QPointF(14.5, 14.5), QPointF(20, 20));
        g.setPen(QPen(acento, 1.8));
        g.drawLine(QPointF(7, 10), QPointF(13, 10));
        if (dibujo == QLatin1String("acercar")) g.drawLine(QPointF(10, 7), QPointF(10, 13));
    } else if (dibujo == QLatin1String("vista")) {
        g.drawRect(QRectF(6, 2, 12, 20));
        for (int y = 6; y <= 14; y += 4)
            g.drawLine(QPointF(9, y), QPointF(15, y));
    } else if (dibujo == QLatin1String("enviar")) {
        g.setBrush(acento);
        QPainterPath flecha;
        flecha.moveTo(3, 12);
        flecha.lineTo(21, 4);
        flecha.lineTo(14, 21);
        flecha.lineTo(11, 14);
        flecha.closeSubpath();
        g.drawPath(flecha);
    }
    return p;
}

} // namespace

QIcon IconoHerramienta(const QString& tema, const QString& dibujo) {
    QIcon propio;
    for (int lado : {16, 24, 32, 48})
        propio.addPixmap(Dibujar(dibujo, lado));
    return QIcon::fromTheme(tema, propio);
}

} // namespace quoravex
