#pragma once

#include <QString>

namespace quoravex {

// What --version prints: "Quoravex 1.4" and, on a second line, the build's own version.
QString TextoVersion();

} // namespace quoravex
