// The instrument's state in words: the bits of its OPERation and QUEStionable
// condition registers, the regulation (CV, CC, ...) and the latched protections.
//
//   OperationBits(0x12)     {"CC", "output on"}
//   QuestionableBits(0x05)  {"OV", "OP"}   (protection trips, latched until cleared)
//   Regulation(0x12, true)  "CC"
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/session.h"
#include "tools/status.h"

namespace motqr::cli {

struct RegisterBit {
  int bit;
  const char* name;         // short: "OV"
  const char* description;  // "over-voltage"
};

// The named bits of each register; other set bits show as "bit N".
const std::vector<RegisterBit>& OperationBitNames();
const std::vector<RegisterBit>& QuestionableBitNames();
std::vector<std::string> OperationBits(std::uint16_t condition);
std::vector<std::string> QuestionableBits(std::uint16_t condition);
// "CV", "CC", "CP", "CR", "off", or "unregulated" (output on, no mode bit).
std::string Regulation(std::uint16_t operation, bool output_on);

struct InstrumentState {
  std::uint16_t operation = 0;
  std::uint16_t questionable = 0;
  bool output_on = false;
};
Status ReadInstrumentState(const Session& session, InstrumentState* state);

}  // namespace motqr::cli
