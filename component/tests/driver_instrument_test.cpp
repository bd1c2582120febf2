// The driver class against a scripted instrument: what Initialize, Reset,
// status checking and the error queries send and how they read the replies.
#include <gtest/gtest.h>

#include "component/tests/test_support.h"
#include "driver/testing/scripted_session.h"
#include "errors/status_codes.h"

namespace motqr::testing {
namespace {

using Sent = std::vector<std::string>;

class Instrument : public ::testing::Test {
 protected:
  void SetUp() override {
    UseScriptedInstrument(&inst_);
    inst_.fixed["*IDN?"] = "MORVANE, TQR-M3, SN42, 2.1";
    inst_.fixed["*RST;*OPC?"] = "1";
    inst_.fixed["*ESR?"] = "0";
  }
  HRESULT Init(bool id_query, bool reset, const char* options = "") {
    return driver_->Initialize(Text("TCPIP::127.0.0.1::5025::SOCKET").Get(),
                               id_query ? com::VARIANT_TRUE : 0, reset ? com::VARIANT_TRUE : 0,
                               Text(options).Get());
  }
  ScriptedInstrument inst_;
  com::ComPtr<IIviDriver> driver_ = NewDriver(&MakeScriptedSession);
};

TEST_F(Instrument, InitializeIdentifiesTheInstrument) {
  ASSERT_EQ(Init(true, false, "QueryInstrStatus=1"), com::S_OK);
  EXPECT_EQ(inst_.sent, (Sent{"*CLS", "*ESR?", "*IDN?"}));
  auto id = As<IIviDriverIdentity>(driver_);
  EXPECT_EQ(GetString(&IIviDriverIdentity::get_InstrumentModel, id.Get()), "TQR-M3");
  EXPECT_EQ(GetString(&IIviDriverIdentity::get_InstrumentManufacturer, id.Get()), "MORVANE");
  EXPECT_EQ(GetString(&IIviDriverIdentity::get_InstrumentFirmwareRevision, id.Get()), "2.1");
  EXPECT_EQ(driver_->Close(), com::S_OK);
  EXPECT_FALSE(inst_.open);
}

TEST_F(Instrument, UnknownModelFailsOnlyWithIdQuery) {
  inst_.fixed["*IDN?"] = "MORVANE,tqr-m3,SN42,2.1";
  EXPECT_EQ(Init(true, false), errors::E_IVI_ID_QUERY_FAILED);
  EXPECT_EQ(TakeError().description,
            "MorvaneTqr: Instrument ID query failed.\r\nUnrecognized model: tqr-m3.");
  EXPECT_FALSE(inst_.open);  // the failure closed the session again
  ASSERT_EQ(Init(false, false), com::S_OK);
}

TEST_F(Instrument, ResetOnInitializeAndItsFailure) {
  ASSERT_EQ(Init(false, true), com::S_OK);
  EXPECT_EQ(inst_.sent, (Sent{"*IDN?", "*RST;*OPC?"}));
  driver_->Close();
  inst_.sent.clear();
  inst_.fixed.erase("*RST;*OPC?");  // the instrument no longer answers the reset
  EXPECT_EQ(Init(false, true), errors::E_IVI_RESET_FAILED);
  EXPECT_EQ(TakeError().description, "MorvaneTqr: Instrument reset failed.");
  EXPECT_FALSE(inst_.open);
}

TEST_F(Instrument, StatusCheckTurnsErrorBitsIntoInstrumentErrors) {
  ASSERT_EQ(Init(false, false), com::S_OK);
  auto op = As<IIviDriverOperation>(driver_);
  auto u = As<IIviDriverUtility>(driver_);
  inst_.sent.clear();
  ASSERT_EQ(u->Reset(), com::S_OK);  // status checking off: no *ESR?
  EXPECT_EQ(inst_.sent, (Sent{"*RST;*OPC?"}));
  ASSERT_EQ(op->put_QueryInstrumentStatus(com::VARIANT_TRUE), com::S_OK);  // sends *CLS
  for (const char* esr : {"1", "128", "+0"}) {
    inst_.fixed["*ESR?"] = esr;
    EXPECT_EQ(u->Reset(), com::S_OK) << esr;
  }
  for (const char* esr : {"4", "8", "16", "32", "255"}) {
    inst_.fixed["*ESR?"] = esr;
    EXPECT_EQ(u->Reset(), errors::E_IVI_INSTRUMENT_STATUS) << esr;
  }
  EXPECT_EQ(TakeError().description,
            "MorvaneTqr: Instrument error detected.  Use ErrorQuery() to determine error(s).");
  inst_.fixed.erase("*ESR?");  // a failed *ESR? exchange counts as an instrument error
  EXPECT_EQ(u->Reset(), errors::E_IVI_INSTRUMENT_STATUS);
  EXPECT_EQ(inst_.sent.back(), "<device clear>");
}

TEST_F(Instrument, ErrorQueryReadsOneQueueEntryWithoutPolling) {
  ASSERT_EQ(Init(false, false, "QueryInstrStatus=true"), com::S_OK);
  inst_.sent.clear();
  // The reply is read as an integer, a comma and the rest of the response; a
  // reply that does not read so is an unexpected response, the code keeping
  // what was read before the failure and the text staying null.
  struct Case {
    const char* reply;
    HRESULT hr;
    std::int32_t code;
    const char* text;  // null: no text
  };
  const Case cases[] = {
      {"-222,\"Data out of range\"\n", com::S_OK, -222, "Data out of range"},
      {"+0,\"No error\"\n", com::S_OK, 0, "No error"},
      {"-100, \"\" Command error \"\" \n", com::S_OK, -100, "Command error"},
      {"0\n", com::S_OK, 0, ""},  // no comma, no text: the read ends with the response
      {"-113 ,\"x\"\n", errors::E_IVI_UNEXPECTED_RESPONSE, -113, nullptr},
      {"1.5,x\n", errors::E_IVI_UNEXPECTED_RESPONSE, 1, nullptr},
      {"99999999999,x\n", errors::E_IVI_UNEXPECTED_RESPONSE, 0, nullptr},
      {"garbage\n", errors::E_IVI_UNEXPECTED_RESPONSE, 0, nullptr},
  };
  auto u = As<IIviDriverUtility>(driver_);
  for (const Case& c : cases) {
    inst_.Reply(":SYST:ERR?", c.reply);
    std::int32_t code = 12345;
    com::Bstr text = Text("left over");
    EXPECT_EQ(u->ErrorQuery(&code, text.Put()), c.hr) << c.reply;
    EXPECT_EQ(code, c.code) << c.reply;
    if (c.text) {
      EXPECT_EQ(text.ToUtf8(), c.text) << c.reply;
    } else {
      EXPECT_TRUE(text.IsNull()) << c.reply;
    }
  }
  EXPECT_EQ(TakeError().description, "MorvaneTqr: Unexpected response from the instrument.");
  // Only the queue is read: status checking stays off for the query.
  EXPECT_EQ(inst_.sent, Sent(std::size(cases), ":SYST:ERR?"));
  VARIANT_BOOL qis = 0;
  As<IIviDriverOperation>(driver_)->get_QueryInstrumentStatus(&qis);
  EXPECT_EQ(qis, com::VARIANT_TRUE);  // restored afterwards
}

TEST_F(Instrument, SelfTestReportsTheInstrumentsResult) {
  ASSERT_EQ(Init(false, false), com::S_OK);
  inst_.Reply("*TST?", "0");
  inst_.Reply("*TST?", "3");
  auto u = As<IIviDriverUtility>(driver_);
  std::int32_t result = -1;
  com::Bstr text;
  ASSERT_EQ(u->SelfTest(&result, text.Put()), com::S_OK);
  EXPECT_EQ(text.ToUtf8(), "Selftest passed");
  ASSERT_EQ(u->SelfTest(&result, text.Put()), com::S_OK);
  EXPECT_EQ(result, 3);
  EXPECT_EQ(text.ToUtf8(), "Selftest failed");
}

TEST_F(Instrument, SwitchingToSimulationStopsIo) {
  ASSERT_EQ(Init(false, false), com::S_OK);
  auto op = As<IIviDriverOperation>(driver_);
  ASSERT_EQ(op->put_Simulate(com::VARIANT_TRUE), com::S_OK);
  inst_.sent.clear();
  EXPECT_EQ(As<IIviDriverUtility>(driver_)->Reset(), com::S_OK);
  EXPECT_TRUE(inst_.sent.empty());
}

}  // namespace
}  // namespace motqr::testing
