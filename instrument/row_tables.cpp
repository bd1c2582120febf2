#include "instrument/row_tables.h"

#include "instrument/data.h"
#include "instrument/global.h"
#include "instrument/output_channel_pulse.h"
#include "instrument/sense.h"
#include "instrument/status.h"
#include "instrument/trigger.h"

namespace motqr::instrument {

std::span<const RowTable> AllRowTables() {
  static const RowTable kTables[] = {
      {IMorvaneTqrOutputChannelPulse::kName, kPulseRows},
      {IMorvaneTqrTrigger::kName, kTriggerRows},
      {IMorvaneTqrSense::kName, kSenseRows},
      {IMorvaneTqrGlobal::kName, kGlobalRows},
      {IMorvaneTqrData::kName, kDataRows},
      {IMorvaneTqrStatus::kName, kStatusRows},
      {IMorvaneTqrStatusQuestionable::kName, kStatusQuestionableRows},
      {IMorvaneTqrStatusOperation::kName, kStatusOperationRows},
  };
  return kTables;
}

}  // namespace motqr::instrument
