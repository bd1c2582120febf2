// The method trace of a whole session: what a user finds in the file after a
// simulated session, what listeners hear, and what happens when the file
// cannot be written.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <pugixml.hpp>
#include <string>
#include <vector>

#include "component/tests/test_support.h"
#include "errors/status_codes.h"
#include "platform/ivi/testing/scoped_config_store.h"
#include "trace/tests/trace_root_test.h"
#include "trace/trace_listener.h"

namespace motqr::testing {
namespace {

namespace fs = std::filesystem;

class Collector final : public trace::ITraceListener {
 public:
  void OnTraceEvent(const char* record, std::int32_t, const char*, std::uint32_t) override {
    records.emplace_back(record);
  }
  std::vector<std::string> records;
};

class MethodTraceSession : public trace::TraceRootTest {
 protected:
  pugi::xml_node Records(const char* file) {
    const pugi::xml_parse_result r = doc_.load_file((dir() / file).c_str());
    EXPECT_TRUE(r) << r.description();
    return doc_.child("TraceRecords");
  }
  com::ComPtr<IIviDCPwrOutput> Output() {
    com::ComPtr<IIviDCPwrOutputs> outputs;
    As<IIviDCPwr>(driver_)->get_Outputs(outputs.Put());
    com::ComPtr<IIviDCPwrOutput> output;
    outputs->get_Item(Text("OutputChannel1").Get(), output.Put());
    return output;
  }

  com::ComPtr<IIviDriver> driver_ = NewDriver();
  pugi::xml_document doc_;
};

TEST_F(MethodTraceSession, EveryCallOfTheSessionIsInTheFile) {
  Collector collector;
  trace::RegisterTraceListener(&collector);
  ASSERT_EQ(InitSimulated(driver_, ",DriverSetup=Trace=1,TraceName=session,TraceArraySizeMax=2"),
            com::S_OK);
  com::ComPtr<IIviDCPwrOutput> output = Output();
  EXPECT_EQ(output->put_VoltageLevel(5.0), com::S_OK);
  EXPECT_EQ(As<IIviDriverUtility>(driver_)->LockObject(), errors::E_IVI_METHOD_NOT_SUPPORTED);
  com::ComPtr<IMorvaneTqrSystem> system;
  As<IMorvaneTqr>(driver_)->get_System(system.Put());
  com::ComPtr<IMorvaneTqrSystemDiagnostic> diagnostic;
  system->get_Diagnostic(diagnostic.Put());
  BSTR version = com::AllocBstrFromUtf8("passed in");
  EXPECT_TRUE(com::Failed(diagnostic->QueryFirmwareVersion(&version)));  // no simulation value
  com::SysFreeString(version);
  com::ComPtr<IMorvaneTqrOutputChannelIV> iv;
  output.As(&iv);
  com::SafeArray map = com::SafeArray::CreateVector(com::VT_R8, 3);
  iv->SetCurrentIVMap(map.Get());
  EXPECT_EQ(As<IIviDriverUtility>(driver_)->ResetWithDefaults(), com::S_OK);
  EXPECT_EQ(driver_->Close(), com::S_OK);
  trace::UnregisterTraceListener(&collector);
  com::SetErrorInfo(0, nullptr);

  const pugi::xml_node records = Records("session.xml");
  std::vector<std::string> calls;
  for (const pugi::xml_node& m : records.children("Method")) {
    calls.push_back(std::string(m.attribute("Interface").value()) + "." +
                    m.attribute("Name").value());
  }
  EXPECT_EQ(calls, (std::vector<std::string>{
                       "IIviDCPwr.get_Outputs", "IIviDCPwrOutputs.get_Item",
                       "IIviDCPwrOutput.put_VoltageLevel", "IIviDriverUtility.LockObject",
                       "IMorvaneTqr.get_System", "IMorvaneTqrSystem.get_Diagnostic",
                       "IMorvaneTqrSystemDiagnostic.QueryFirmwareVersion",
                       "IMorvaneTqrOutputChannelIV.SetCurrentIVMap",
                       "IIviDriverUtility.ResetWithDefaults", "IIviDriver.Close"}));
  EXPECT_EQ(collector.records.size(), calls.size()) << "one event per top-level record";

  const pugi::xml_node put = records.find_child_by_attribute("Method", "Name", "put_VoltageLevel");
  EXPECT_STREQ(put.child("Parameter").attribute("Value").value(), "5");
  EXPECT_STREQ(put.child("Parameter").attribute("DataType").value(), "Double");
  EXPECT_STREQ(put.child("HRESULT").attribute("Value").value(), "0x00000000");
  EXPECT_FALSE(put.child("HRESULT").attribute("Message"));

  const pugi::xml_node lock = records.find_child_by_attribute("Method", "Name", "LockObject");
  EXPECT_STREQ(lock.child("HRESULT").attribute("Message").value(),
               "MorvaneTqr: Does not support this class-compliant feature: method 'LockObject'.");
  EXPECT_TRUE(lock.child("Execution"));

  const pugi::xml_node query =
      records.find_child_by_attribute("Method", "Name", "QueryFirmwareVersion");
  const pugi::xml_node in = query.child("Parameter");
  const pugi::xml_node out = in.next_sibling("Parameter");
  EXPECT_STREQ(in.attribute("Name").value(), "FirmwareVersion");
  EXPECT_STREQ(in.attribute("Direction").value(), "InOut");
  EXPECT_STREQ(in.attribute("Value").value(), "passed in");
  EXPECT_STREQ(out.attribute("Direction").value(), "InOut");
  EXPECT_STREQ(out.attribute("Value").value(), "") << "the string passed in is freed";

  const pugi::xml_node data =
      records.find_child_by_attribute("Method", "Name", "SetCurrentIVMap").child("Parameter");
  EXPECT_STREQ(data.attribute("Name").value(), "Data");
  EXPECT_STREQ(data.attribute("DimSizes").value(), "3");
  EXPECT_STREQ(data.attribute("DataType").value(), "Double[]");
  EXPECT_EQ(std::distance(data.children("Element").begin(), data.children("Element").end()), 2);

  // ResetWithDefaults restores the six flags through the interface: six nested records.
  const pugi::xml_node reset =
      records.find_child_by_attribute("Method", "Name", "ResetWithDefaults");
  std::vector<std::string> nested;
  for (const pugi::xml_node& m : reset.children("Method"))
    nested.emplace_back(m.attribute("Name").value());
  EXPECT_EQ(nested, (std::vector<std::string>{"put_Cache", "put_InterchangeCheck",
                                              "put_QueryInstrumentStatus", "put_RangeCheck",
                                              "put_RecordCoercions", "put_Simulate"}));
  EXPECT_STREQ(reset.child("Method").child("Parameter").attribute("DataType").value(), "Boolean");
  const std::string& heard = collector.records[8];
  EXPECT_TRUE(heard.starts_with("<Method Name=\"ResetWithDefaults\""));
  EXPECT_NE(heard.find("\t\t<Method Name=\"put_Simulate\""), std::string::npos);
}

TEST_F(MethodTraceSession, AnUnwritableFileFailsTheCallAndTheDriverGoesOn) {
  // No such folder: Initialize, which starts the trace, fails with the system error.
  EXPECT_EQ(InitSimulated(driver_, ",DriverSetup=Trace=1,TraceName=/proc/no/such/run"),
            com::MakeHresult(0x80070002u));
  EXPECT_NE(TakeError().description.find("No such file or directory"), std::string::npos);
  ASSERT_EQ(InitSimulated(driver_, ",DriverSetup=Trace=1,TraceName=limited"), com::S_OK);

  // A file size limit fails the next write with EFBIG.
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit limited = saved;
  limited.rlim_cur = static_cast<rlim_t>(fs::file_size(dir() / "limited.xml") + 8);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
  com::ComPtr<IIviDriverOperation> op = As<IIviDriverOperation>(driver_);
  const HRESULT failed = op->put_RangeCheck(com::VARIANT_FALSE);
  ::setrlimit(RLIMIT_FSIZE, &saved);
  EXPECT_EQ(failed, com::MakeHresult(0x80070000u | EFBIG));
  EXPECT_NE(TakeError().description.find("limited.xml"), std::string::npos);

  VARIANT_BOOL range_check = com::VARIANT_FALSE;
  EXPECT_EQ(op->get_RangeCheck(&range_check), com::S_OK) << "the next call starts a new file";
  EXPECT_EQ(range_check, com::VARIANT_TRUE) << "the failed call did not run";
  EXPECT_EQ(driver_->Close(), com::S_OK);
  const pugi::xml_node records = Records("limited.xml");
  EXPECT_STREQ(records.child("Method").attribute("Name").value(), "get_RangeCheck");
  EXPECT_STREQ(records.last_child().attribute("Name").value(), "Close");
}

TEST_F(MethodTraceSession, AConfigurationStorePassedOverIsNotedInTheFile) {
  ivi::testing::ScopedConfigStore store("<IviConfigStore><DriverSessions>");
  ASSERT_EQ(InitSimulated(driver_, ",DriverSetup=Trace=1,TraceName=store"), com::S_OK);
  EXPECT_EQ(driver_->Close(), com::S_OK);
  EXPECT_STREQ(Records("store.xml").child("Method").attribute("Name").value(), "Close");
  std::ifstream file(dir() / "store.xml");
  const std::string text{std::istreambuf_iterator<char>(file), {}};
  EXPECT_NE(text.find("\t<!-- The IVI configuration store " + store.path() +
                      " could not be loaded and was not used: "),
            std::string::npos)
      << text;
}

}  // namespace
}  // namespace motqr::testing
