#pragma once

#include "document/Campos.h"

#include <QSettings>
#include <memory>

namespace quoravex {

// The user's own settings of the designer (recent designs, window placement, zoom), kept
// between runs in the user's configuration folder.
std::unique_ptr<QSettings> AjustesUsuario();

// The values the user gave the fields of the design file at that path, and keeping them.
ValoresCampos ValoresGuardados(const QString& rutaDiseno);
void GuardarValores(const QString& rutaDiseno, const ValoresCampos& valores);

} // namespace quoravex
