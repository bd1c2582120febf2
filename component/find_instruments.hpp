// Lists the instruments reachable from this computer, marking the TQR supplies this driver
// drives: VXI-11 instruments on every IPv4 network (and this computer), usbtmc devices and
// serial adapters, each with its "*IDN?" answer, all within a time bound.
//
//   for (const motqr::FoundInstrument& found : motqr::FindInstruments(2000))
//     if (found.supported) std::printf("%s\n", found.resource.c_str());
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/com/types.h"

namespace motqr {

struct FoundInstrument {
  std::string resource;      // a resource name Initialize takes
  std::string identity;      // the "*IDN?" answer; empty when the instrument gave none in time
  std::string manufacturer;  // the first two fields of the answer
  std::string model;
  bool supported = false;  // a TQR-M1 .. TQR-M7
  std::string how;         // "vxi11", "usbtmc", "serial"
};

// Searches for at most `timeout_ms` milliseconds; the list is sorted by resource name.
MOTQR_EXPORT std::vector<FoundInstrument> FindInstruments(std::int32_t timeout_ms = 2000);

}  // namespace motqr
