#pragma once

#include <QIcon>
#include <QString>

namespace quoravex {

// The icon of a toolbar command: the desktop's icon theme's when it has one of that name,
// otherwise one drawn here, so the toolbar never shows empty buttons. `dibujo` picks the
// drawn one: "texto", "imagen", "codigo", "linea", "turno", "deshacer", "rehacer",
// "acercar", "alejar", "vista", "enviar".
QIcon IconoHerramienta(const QString& tema, const QString& dibujo);

} // namespace quoravex
