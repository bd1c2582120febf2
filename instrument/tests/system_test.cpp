#include "instrument/system.h"
#include "commands/enum_token_port.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "errors/status_codes.h"
#include "instrument/system_analog.h"
#include "instrument/system_diagnostic.h"
#include "instrument/system_io.h"
#include "instrument/system_memory.h"
#include "instrument/testing/member_fixture.h"
#include "platform/com/error_info.h"

namespace motqr::testing {
namespace {

using Channel = TestChannel<instrument::System, instrument::SystemAnalog, instrument::SystemIO,
                            instrument::SystemMemory, instrument::SystemDiagnostic>;

com::SafeArray Ints(const std::vector<std::int32_t>& values) {
  auto a = com::SafeArray::CreateVector(com::VT_I4, static_cast<std::uint32_t>(values.size()));
  std::copy(values.begin(), values.end(), a.Data<std::int32_t>().begin());
  return a;
}

std::vector<std::int32_t> IntsOf(const com::SafeArray& a) {
  const auto v = a.Data<std::int32_t>();
  return {v.begin(), v.end()};
}

TEST(System, PropertiesWriteAndReadTheirTokens) {
  ScriptedInstrument inst;
  MemberFixture<Channel> f(&inst, &commands::EnumTokenPort());
  ASSERT_EQ(f.status, com::S_OK);
  auto& s = *f.channel;
  // Spot checks written out: words for remote sensing, no colon and no quotes for the zone.
  EXPECT_EQ(s.put_RemoteSensingEnabled(com::VARIANT_TRUE), com::S_OK);
  EXPECT_EQ(inst.sent.back(), ":SYST:RSEN ON");
  const com::Bstr zone = com::Bstr::FromUtf8("Europe/Berlin");
  EXPECT_EQ(s.put_TimeZone(zone.Get()), com::S_OK);
  EXPECT_EQ(inst.sent.back(), "SYST:TZONE Europe/Berlin");
  EXPECT_EQ(s.put_IOEnabled(com::VARIANT_FALSE), com::S_OK);
  EXPECT_EQ(inst.sent.back(), ":IO:STAT OFF");

  inst.Reply(":SYST:PARA:UNIT:COUN?", "3\n");
  inst.Reply(":SYST:MSYN?", "1\n");
  std::int32_t units = 0;
  VARIANT_BOOL msync = 0;
  EXPECT_EQ(s.get_ParallelUnit(&units), com::S_OK);
  EXPECT_EQ(s.get_MsyncEnabled(&msync), com::S_OK);
  EXPECT_EQ(units, 3);
  EXPECT_EQ(msync, com::VARIANT_TRUE);
}

TEST(System, MethodsSendTheirCommands) {
  ScriptedInstrument inst;
  MemberFixture<Channel> f(&inst, &commands::EnumTokenPort());
  auto& s = *f.channel;
  EXPECT_EQ(s.SetDate(Ints({2024, 5, 17}).Get()), com::S_OK);
  EXPECT_EQ(s.SetTime(Ints({13, 5, 0}).Get()), com::S_OK);
  EXPECT_EQ(s.SyncClocks(), com::S_OK);
  EXPECT_EQ(s.FactoryDefault(), com::S_OK);
  EXPECT_EQ(s.RecallSettings(2), com::S_OK);
  EXPECT_EQ(s.SaveSettings(3), com::S_OK);
  EXPECT_EQ(inst.sent,
            (std::vector<std::string>{":SYST:DATE 2024,5,17", ":SYST:TIME 13,5,0", ":SYST:TIME:ADJ",
                                      ":MEM:CLE", ":MEM:REC 2", ":MEM:SAVE 3"}));
  EXPECT_TRUE(com::Failed(s.SetDate(nullptr)));
  EXPECT_EQ(inst.sent.size(), 6u);
}

TEST(System, QueriesReadArraysAndText) {
  ScriptedInstrument inst;
  MemberFixture<Channel> f(&inst, &commands::EnumTokenPort());
  auto& s = *f.channel;
  inst.Reply(":SYST:DATE?", "2024,5,17\n");
  com::SafeArray date;
  ASSERT_EQ(s.QueryDate(date.Put()), com::S_OK);
  EXPECT_EQ(IntsOf(date), (std::vector<std::int32_t>{2024, 5, 17}));

  inst.Reply(":SYST:TZON:CAT? TZON2", "UTC,Asia/Tokyo\n");
  com::SafeArray zones;
  ASSERT_EQ(s.GetTimeZoneList(MorvaneTqrTimeZoneGroupTimeZone2, zones.Put()), com::S_OK);
  ASSERT_EQ(zones.size(), 2u);
  EXPECT_EQ(com::BstrToUtf8(zones.Data<BSTR>()[1]), "Asia/Tokyo");

  inst.Reply("DIAG:FIRM:VERS?", "1.02.003\n");
  inst.Reply("DIAG:LINE:POW?", "1520.5\n");
  BSTR version = com::AllocBstrFromUtf8("left by the caller");  // in/out: freed, replaced
  double power = 0;
  EXPECT_EQ(s.QueryFirmwareVersion(&version), com::S_OK);
  EXPECT_EQ(s.QueryLinePower(&power), com::S_OK);
  EXPECT_EQ(com::BstrToUtf8(version), "1.02.003");
  EXPECT_EQ(power, 1520.5);
  com::SysFreeString(version);

  inst.Reply(":ANAL:MON:VOLT:RANG? MIN;RANG? MAX", "5;10\n");
  double lo = 0, hi = 0;
  EXPECT_EQ(s.QueryAnalogMonitorVoltageRangeMinMax(&lo, &hi), com::S_OK);
  EXPECT_EQ(hi, 10);
  EXPECT_EQ(s.QueryTime(nullptr), errors::E_IVI_NULL_POINTER);
  EXPECT_EQ(s.QueryFirmwareVersion(nullptr), errors::E_IVI_NULL_POINTER);
}

TEST(SystemIO, ListsKeepOnePositionPerTerminal) {
  ScriptedInstrument inst;
  MemberFixture<Channel> f(&inst, &commands::EnumTokenPort());
  auto& s = *f.channel;
  EXPECT_EQ(s.ConfigureIOInputFilter(Ints({0, 1, 0}).Get()), com::S_OK);
  EXPECT_EQ(s.ConfigureIOOutputFunction(Ints({12}).Get()), com::S_OK);
  EXPECT_EQ(s.ConfigureIOInputPolarity(Ints({0, 5, 1}).Get()), com::S_OK);
  EXPECT_EQ(s.ConfigureIOInputFunction(Ints({}).Get()), com::S_OK);
  EXPECT_EQ(s.ConfigureIOOutputPolarity(Ints({1, -1}).Get()), com::S_OK);
  EXPECT_EQ(inst.sent, (std::vector<std::string>{":IO:INP:FILT SLOW,FAST,SLOW", ":IO:OUTP:FUNC REL",
                                                 ":IO:INP:POL NORM,,INV", ":IO:INP:FUNC ",
                                                 ":IO:OUTP:POL INV,"}));
  EXPECT_TRUE(com::Failed(s.ConfigureIOInputFilter(nullptr)));
  com::SafeArray doubles = com::SafeArray::CreateVector(com::VT_R8, 1);
  EXPECT_TRUE(com::Failed(s.ConfigureIOInputFilter(doubles.Get())));
  EXPECT_EQ(inst.sent.size(), 5u);

  inst.Reply(":IO:INP:FUNC?", "CONT,MEM2,NONE\n");
  com::SafeArray functions;
  ASSERT_EQ(s.QueryIOInputFunction(functions.Put()), com::S_OK);
  EXPECT_EQ(IntsOf(functions), (std::vector<std::int32_t>{3, 13, 0}));
  inst.Reply(":IO:OUTP:POL?", "NORM,INVERSE\n");
  EXPECT_EQ(s.QueryIOOutputPolarity(functions.Put()), errors::E_IVI_UNEXPECTED_RESPONSE);
}

std::string ErrorText() {
  com::ErrorRecord record;
  return com::PeekErrorInfo(&record) ? record.description : "";
}

TEST(SystemDirectIO, RefusedInSimulationForwardedOtherwise) {
  MemberFixture<Channel> sim(nullptr);
  auto& s = *sim.channel;
  com::SafeArray bytes;
  BSTR text = nullptr;
  std::int64_t written = -1;
  std::int32_t timeout = -1;
  visa::IFormattedIO488* io = nullptr;
  const com::Bstr command = com::Bstr::FromUtf8("*IDN?");
  for (com::HRESULT hr : {s.ReadBytes(bytes.Put()), s.ReadString(&text),
                          s.WriteBytes(bytes.Get(), &written), s.WriteString(command.Get()),
                          s.get_IOTimeout(&timeout), s.put_IOTimeout(100), s.get_DirectIO(&io)}) {
    EXPECT_EQ(hr, errors::E_MORVANETQR_IO_GENERAL);
    EXPECT_NE(ErrorText().find("Direct I/O operations are not available in simulation mode."),
              std::string::npos);
  }
  // Navigation needs no instrument; the test object offers no sub-interfaces.
  IMorvaneTqrSystemIO* sub = nullptr;
  EXPECT_EQ(s.get_IO(nullptr), errors::E_IVI_NULL_POINTER);
  EXPECT_EQ(s.get_IO(&sub), com::E_NOINTERFACE);

  ScriptedInstrument inst;
  MemberFixture<Channel> live(&inst);
  auto& l = *live.channel;
  EXPECT_EQ(l.ReadBytes(nullptr), errors::E_IVI_NULL_POINTER);
  EXPECT_NE(ErrorText().find("'ReadBytes', parameter 'ppsaData'"), std::string::npos);
  EXPECT_EQ(l.WriteBytes(bytes.Get(), nullptr), errors::E_IVI_NULL_POINTER);
  EXPECT_EQ(l.WriteString(nullptr), errors::E_IVI_NULL_POINTER);
  EXPECT_TRUE(inst.sent.empty());
  // The raw operations bypass the formatted engine: no status poll, no reply parsing.
  EXPECT_EQ(l.WriteString(command.Get()), com::S_OK);
  EXPECT_EQ(inst.sent, std::vector<std::string>{"*IDN?"});
  EXPECT_EQ(l.put_IOTimeout(5000), com::S_OK);
  EXPECT_EQ(l.get_IOTimeout(&timeout), com::S_OK);
  EXPECT_EQ(timeout, 5000);
  EXPECT_EQ(l.ReadString(&text), errors::E_MORVANETQR_IO_TIMEOUT);
  EXPECT_EQ(text, nullptr);
}

}  // namespace
}  // namespace motqr::testing
