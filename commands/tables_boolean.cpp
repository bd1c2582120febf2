// Boolean tokens (VARIANT_BOOL: false 0, true -1 or 1). Both true values write
// the same token; the rows list 1 before -1 so a true reply reads back as -1.
#include "commands/enum_tables.h"

namespace motqr::commands {
namespace {

using Bool = EnumEntry<short>;

// clang-format off

// Rows: true (1), true (-1), false (0); the first token of each is written.
constexpr Bool kNumeric[]           = {{1, {"1"}},        {-1, {"1"}},        {0, {"0"}}};
constexpr Bool kNumericWordsRead[]  = {{1, {"1", "ON"}},  {-1, {"1", "ON"}},  {0, {"0", "OFF"}}};
constexpr Bool kWordsNumbersRead[]  = {{1, {"ON", "1"}},  {-1, {"ON", "1"}},  {0, {"OFF", "0"}}};
constexpr Bool kWords[]             = {{1, {"ON"}},       {-1, {"ON"}},       {0, {"OFF"}}};

// The first member is also the table of an empty member name. Any member not
// listed here uses kNumeric.
constexpr MemberTable kMembers[] = {
    {"IMorvaneTqrOutputChannel.ExecuteMSync",                        TableConverter<kWords>},
    {"IMorvaneTqrOutputChannel.MsyncAcceptEnabled",                  TableConverter<kNumeric>},
    {"IMorvaneTqrSystem.MsyncEnabled",                               TableConverter<kNumeric>},
    {"IMorvaneTqrOutputChannel.Enabled",                             TableConverter<kNumericWordsRead>},
    {"IMorvaneTqrSystem.KeyLockEnabled",                             TableConverter<kNumericWordsRead>},
    {"IIviDCPwrOutput.Enabled",                                      TableConverter<kWordsNumbersRead>},
    {"IMorvaneTqrSystem.RemoteSensingEnabled",                       TableConverter<kWordsNumbersRead>},
    {"IMorvaneTqrOutputChannelProtection.RemoteSensingErrorEnabled", TableConverter<kWordsNumbersRead>},
    {"IMorvaneTqrOutputChannelProtection.WatchdogEnabled",           TableConverter<kWordsNumbersRead>},
    {"IMorvaneTqrOutputChannelProtection.LowerOVPEnabled",           TableConverter<kWordsNumbersRead>},
    {"IMorvaneTqrProgram.ConfigureProgramStepOutputEnabled",         TableConverter<kWordsNumbersRead>},
    {"IMorvaneTqrProgram.QueryProgramStepOutputEnabled",             TableConverter<kWordsNumbersRead>},
    {"IMorvaneTqrSystemIO.IOEnabled",                                TableConverter<kWordsNumbersRead>},
    {"IMorvaneTqrTrigger.AcquireIntervalEnabled",                    TableConverter<kWordsNumbersRead>},
    {"IMorvaneTqrGlobal.ConfigureEnabled",                           TableConverter<kWordsNumbersRead>},
};

// clang-format on

}  // namespace

MemberTables BooleanMembers() { return kMembers; }

const IEnumCommandConverter& DefaultBooleanConverter() { return TableConverter<kNumeric>(); }

}  // namespace motqr::commands
