#pragma once

#include <QScrollArea>

namespace quoravex {

// The scroll area around the canvas, whose margins hold the rulers.
class AreaCanvas : public QScrollArea {
public:
    using QScrollArea::QScrollArea;
    void setMargenes(int izquierda, int arriba) { setViewportMargins(izquierda, arriba, 0, 0); }
};

} // namespace quoravex
