#pragma once

#include <QSettings>
#include <memory>

namespace quoravex {

// The user's own settings of the designer (recent designs, window placement, zoom), kept
// between runs in the user's configuration folder.
std::unique_ptr<QSettings> AjustesUsuario();

} // namespace quoravex
