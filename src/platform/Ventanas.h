#pragma once

class QWidget;

namespace quoravex {

// Centres a window on its screen: top = (screen height - height) / 2, likewise left.
void CentrarFormulario(QWidget& ventana);

// Asks the window system to keep the window above others without moving or resizing it.
void MantenerEncima(QWidget& ventana);

} // namespace quoravex
