#pragma once

#include <QStringView>
#include <cstdint>
#include <optional>

namespace quoravex {

// Reads a number from text the classic way: leading spaces skipped, then the
// longest prefix that forms a decimal number (sign, digits, one point, an
// exponent); anything else reads as 0. "12abc" is 12, "2.5" is 2.5, "abc" is 0.
double LeerNumero(QStringView texto);

// Rounds to the nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
// Values beyond the 32-bit range give nothing.
std::optional<int32_t> RedondeoPar(double valor);

// Rounds half to even and checks the 16-bit range; a value that does not fit is refused.
std::optional<int16_t> EnteroDe16(double valor);

} // namespace quoravex
