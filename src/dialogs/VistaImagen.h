#pragma once

#include "render/Surface.h"

#include <QSlider>
#include <QStringList>
#include <QWidget>

namespace quoravex {

// The image dialog's preview: shows its own surface, takes dropped files and clicks.
class VistaImagen : public QWidget {
    Q_OBJECT
public:
    VistaImagen(int ancho, int alto, QWidget* parent = nullptr);

    Surface& superficie() { return mSuperficie; }
    const Surface& superficie() const { return mSuperficie; }

signals:
    // The local file names of a drop, in order; a dropped address that is no local file
    // is passed as it is, so that it is refused as a missing file.
    void ficherosSoltados(const QStringList& nombres);
    // Clicked with the left button.
    void pulsada();

protected:
    void paintEvent(QPaintEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dropEvent(QDropEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    Surface mSuperficie;
};

// A slider that reports the mouse gestures on it, after the slider has handled them, so
// that the value is already up to date. Only a move that drags the handle is reported: a
// click on the groove steps the value but reports just the press and the release.
// Keyboard and wheel changes report nothing.
class SliderTamano : public QSlider {
    Q_OBJECT
public:
    explicit SliderTamano(QWidget* parent = nullptr);

signals:
    void botonPulsado();
    void ratonMovido();
    void botonSoltado();

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
};

} // namespace quoravex
