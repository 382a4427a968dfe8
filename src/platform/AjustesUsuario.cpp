#include "AjustesUsuario.h"

namespace quoravex {

std::unique_ptr<QSettings> AjustesUsuario() {
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Quoravex"),
                                       QStringLiteral("Quoravex"));
}

} // namespace quoravex
