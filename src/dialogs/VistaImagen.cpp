#include "VistaImagen.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QUrl>

namespace quoravex {

VistaImagen::VistaImagen(int ancho, int alto, QWidget* parent) : QWidget(parent), mSuperficie(ancho, alto) {
    setFixedSize(ancho, alto);
    setAcceptDrops(true);
    setCursor(Qt::PointingHandCursor);
    mSuperficie.setAlRefrescar([this] { update(); });
}

void VistaImagen::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, mSuperficie.image());
}

void VistaImagen::dragEnterEvent(QDragEnterEvent* e) {
    if (e->mimeData()->hasUrls()) e->acceptProposedAction();
}

void VistaImagen::dragMoveEvent(QDragMoveEvent* e) {
    if (e->mimeData()->hasUrls()) e->acceptProposedAction();
}

void VistaImagen::dropEvent(QDropEvent* e) {
    if (!e->mimeData()->hasUrls()) return;
    QStringList nombres;
    for (const QUrl& url : e->mimeData()->urls())
        nombres << (url.isLocalFile() ? url.toLocalFile() : url.toString());
    e->acceptProposedAction();
    emit ficherosSoltados(nombres);
}

void VistaImagen::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) emit pulsada();
}

SliderTamano::SliderTamano(QWidget* parent) : QSlider(Qt::Vertical, parent) {}

void SliderTamano::mousePressEvent(QMouseEvent* e) {
    QSlider::mousePressEvent(e);
    if (e->button() == Qt::LeftButton && isEnabled()) emit botonPulsado();
}

void SliderTamano::mouseMoveEvent(QMouseEvent* e) {
    QSlider::mouseMoveEvent(e);
    if ((e->buttons() & Qt::LeftButton) && isSliderDown() && isEnabled()) emit ratonMovido();
}

void SliderTamano::mouseReleaseEvent(QMouseEvent* e) {
    QSlider::mouseReleaseEvent(e);
    if (e->button() == Qt::LeftButton && isEnabled()) emit botonSoltado();
}

} // namespace quoravex
