#include "instrument/row_tables.h"

#include "instrument/data.h"
#include "instrument/dcpwr_output.h"
#include "instrument/dcpwr_trigger.h"
#include "instrument/global.h"
#include "instrument/output_channel.h"
#include "instrument/output_channel_iv.h"
#include "instrument/output_channel_protection.h"
#include "instrument/output_channel_pulse.h"
#include "instrument/output_channel_sine.h"
#include "instrument/program.h"
#include "instrument/sense.h"
#include "instrument/status.h"
#include "instrument/system.h"
#include "instrument/system_analog.h"
#include "instrument/system_diagnostic.h"
#include "instrument/system_io.h"
#include "instrument/system_memory.h"
#include "instrument/trigger.h"

namespace motqr::instrument {

std::span<const RowTable> AllRowTables() {
  static const RowTable kTables[] = {
      {IMorvaneTqrOutputChannel::kName, kOutputChannelRows},
      {IMorvaneTqrOutputChannelProtection::kName, kProtectionRows},
      {IMorvaneTqrOutputChannelPulse::kName, kPulseRows},
      {IMorvaneTqrOutputChannelSine::kName, kSineRows},
      {IMorvaneTqrOutputChannelIV::kName, kIVRows},
      {IIviDCPwrOutput::kName, kDCPwrOutputRows},
      {IIviDCPwrTrigger::kName, kDCPwrTriggerRows},
      {IMorvaneTqrTrigger::kName, kTriggerRows},
      {IMorvaneTqrGlobal::kName, kGlobalRows},
      {IMorvaneTqrData::kName, kDataRows},
      {IMorvaneTqrStatus::kName, kStatusRows},
      {IMorvaneTqrStatusQuestionable::kName, kStatusQuestionableRows},
      {IMorvaneTqrStatusOperation::kName, kStatusOperationRows},
      {IMorvaneTqrSense::kName, kSenseRows},
      {IMorvaneTqrProgram::kName, kProgramRows},
      {IMorvaneTqrSystem::kName, kSystemRows},
      {IMorvaneTqrSystemAnalog::kName, kSystemAnalogRows},
      {IMorvaneTqrSystemIO::kName, kSystemIORows},
      {IMorvaneTqrSystemMemory::kName, kSystemMemoryRows},
      {IMorvaneTqrSystemDiagnostic::kName, kSystemDiagnosticRows},
  };
  return kTables;
}

}  // namespace motqr::instrument
