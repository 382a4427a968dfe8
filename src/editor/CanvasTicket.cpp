#include "CanvasTicket.h"

#include "render/Workspace.h"

#include <QPainter>
#include <cmath>

namespace quoravex {

CanvasTicket::CanvasTicket(Workspace& ws, QWidget* parent) : QWidget(parent), mWs(ws) {
    setObjectName(QStringLiteral("PicTicket"));
    connect(&mWs, &Workspace::cambiado, this, [this] {
        ajustarTamano();
        update();
    });
    ajustarTamano();
}

void CanvasTicket::setZoom(double zoom) {
    mZoom = zoom > 0 ? zoom : 1.0;
    ajustarTamano();
    update();
}

void CanvasTicket::ajustarTamano() {
    const QSize s(static_cast<int>(std::lround(mWs.PicTicket.width() * mZoom)),
                  static_cast<int>(std::lround(mWs.PicTicket.height() * mZoom)));
    if (size() != s) setFixedSize(s);
}

QPoint CanvasTicket::aCanvas(const QPoint& pos) const {
    return QPoint(static_cast<int>(std::floor(pos.x() / mZoom)),
                  static_cast<int>(std::floor(pos.y() / mZoom)));
}

void CanvasTicket::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.scale(mZoom, mZoom);
    p.drawImage(0, 0, mWs.PicTicket.image());
    for (int i : mWs.pila()) {
        const Surface& s = mWs.item(i);
        if (!s.visible()) continue;
        p.drawImage(s.left(), s.top(), s.image());
        if (s.border()) {
            p.setPen(Qt::black);
            p.drawRect(s.geometry().adjusted(0, 0, -1, -1));
        }
    }
}

} // namespace quoravex
