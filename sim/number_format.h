// Locale-independent number text for replies.
#pragma once

#include <string>

namespace tqrsim {

// Up to 12 significant digits, exponent form for very large or small values ("12.3457",
// "1e-07", "-0.25"); what printf's %.12g gives in the C locale.
std::string FormatReal(double value);
std::string FormatInt(long long value);

}  // namespace tqrsim
