#pragma once

#include <QWidget>

namespace quoravex {

class Workspace;

// Displays the canvas surface and the object boxes in their stacking order.
// It holds no design state: zoom only scales what is shown.
class CanvasTicket : public QWidget {
    Q_OBJECT
public:
    explicit CanvasTicket(Workspace& ws, QWidget* parent = nullptr);

    double zoom() const { return mZoom; }
    void setZoom(double zoom);
    // Follows the canvas surface's size (385 x length + 1, times the zoom).
    void ajustarTamano();

    // A widget position in canvas pixels (printer dots).
    QPoint aCanvas(const QPoint& pos) const;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    Workspace& mWs;
    double mZoom = 1.0;
};

} // namespace quoravex
