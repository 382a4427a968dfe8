#include "Ventanas.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace quoravex {

void CentrarFormulario(QWidget& ventana) {
    const QScreen* pantalla = ventana.screen() ? ventana.screen() : QGuiApplication::primaryScreen();
    if (!pantalla) return;
    const QRect r = pantalla->geometry();
    const QRect marco = ventana.frameGeometry();
    ventana.move(r.x() + (r.width() - marco.width()) / 2, r.y() + (r.height() - marco.height()) / 2);
}

void MantenerEncima(QWidget& ventana) {
    const QRect g = ventana.geometry();
    const bool visible = ventana.isVisible();
    ventana.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    ventana.setGeometry(g);
    if (visible) ventana.show();
}

} // namespace quoravex
