#include "instrument/row_tables.h"

#include "instrument/output_channel_pulse.h"

namespace motqr::instrument {

std::span<const RowTable> AllRowTables() {
  static const RowTable kTables[] = {
      {IMorvaneTqrOutputChannelPulse::kName, kPulseRows},
  };
  return kTables;
}

}  // namespace motqr::instrument
