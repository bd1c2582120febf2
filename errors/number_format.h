// printf-style text of one number, independent of the process locale: a
// caller running under a decimal-comma locale still gets "1.5".
//
//   FormatInt32("%d", -7)        == "-7"
//   FormatInt32("0x%04X", 255)   == "0x00FF"
//   FormatDouble("%.15g", 1.5)   == "1.5"
//   FormatDouble("%0.6lf V", 2)  == "2.000000 V"
#pragma once

#include <cstdint>
#include <string>

namespace motqr::errors {

// `format` holds literal text (%% for a percent sign) and one conversion
// %[flags][width][.precision][length]conv. Flags '-', '+', ' ', '0' and '#'
// (the last for o, x and X only); length modifiers (h, l, ll, L, ...) are
// accepted and ignored.
//   FormatInt32 converts with d, i, u, o, x or X.
//   FormatDouble converts with f, F, e, E, g or G.
// A null format, a format without exactly one such conversion or one this
// formatter does not know gives the default text ("%d" or "%.15g").
// May throw std::bad_alloc.
std::string FormatInt32(const char* format, std::int32_t value);
std::string FormatDouble(const char* format, double value);

}  // namespace motqr::errors
