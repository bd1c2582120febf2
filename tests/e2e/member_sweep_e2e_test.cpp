// Every member of every interface against tqr-sim, with status checking on
// (each call followed by "*ESR?"): each property set to a representative value,
// read back and compared, then restored; each command and query run with
// representative arguments; each min/max query read. tqr-sim parses SCPI on its
// own, so a wrong header, token or reply format in a member's row fails here
// with the simulator's error. The rows come from the interfaces' member lists;
// only the members in kSkipped are left out, each with its reason.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

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
#include "instrument/row_tables.h"
#include "instrument/sense.h"
#include "instrument/status.h"
#include "instrument/system.h"
#include "instrument/system_analog.h"
#include "instrument/system_diagnostic.h"
#include "instrument/system_io.h"
#include "instrument/system_memory.h"
#include "instrument/trigger.h"
#include "platform/com/safearray.h"
#include "tests/e2e/sim_session.h"

namespace motqr::e2e {

// Every value of each enumeration, in value order.
template <class E>
std::vector<E> SweepEnumValues();
#define MOTQR_ENUM_BEGIN(Enum)                \
  template <>                                 \
  std::vector<Enum> SweepEnumValues<Enum>() { \
    return {
#define MOTQR_ENUM_VALUE(Enum, Member, value) Member,
#define MOTQR_ENUM_END(Enum) \
  }                          \
  ;                          \
  }
#include "interfaces/enums.def"

namespace {

// The driver's refusal of a value it has no token for (nothing is sent).
constexpr com::HRESULT kRefusedValue = com::MakeHresult(0x80047010u);

// Members the sweep does not drive, and why.
const std::map<std::string_view, std::string_view> kSkipped = {
    {"IMorvaneTqrSystem.SetDate", "needs the date array; driven with QueryDate's reply below"},
    {"IMorvaneTqrSystem.SetTime", "needs the time array; driven with QueryTime's reply below"},
    {"IMorvaneTqrSystemMemory.FactoryDefault", "resets every setting the sweep goes on to use"},
    {"IMorvaneTqrProgram.DeleteAllPrograms", "removes the program the step members work on"},
    {"IMorvaneTqrProgram.DeleteSelectedProgram", "removes the program the step members work on"},
    {"IMorvaneTqrOutputChannelIV.ClearCurrentIVMap",
     "empties the map the point members edit; run last"},
    {"IMorvaneTqrOutputChannelIV.ClearVoltageIVMap",
     "empties the map the point members edit; run last"},
    {"IMorvaneTqrTrigger.SendSoftwareTrigger", "needs an acquire trigger armed on the bus source"},
    {"IMorvaneTqrTrigger.PauseTransient", "needs a running program (program_e2e_test)"},
    {"IMorvaneTqrTrigger.ResumeTransient", "needs a paused program (program_e2e_test)"},
    {"IMorvaneTqrData.StartIntegral", "needs the integration gate in its manual condition"},
    {"IMorvaneTqrData.StopIntegral", "needs a running integration"},
};

// A representative argument of a method, by type.
// A representative argument of a method, by type; enumerations go through
// their values, one per `attempt`.
template <class T>
T Argument(std::size_t attempt) {
  if constexpr (std::is_same_v<T, double>) return 1.0;
  if constexpr (std::is_same_v<T, std::int32_t>) return 1;
  if constexpr (std::is_same_v<T, std::int16_t>) return com::VARIANT_TRUE;  // VARIANT_BOOL
  if constexpr (std::is_enum_v<T>) {
    const std::vector<T> values = SweepEnumValues<T>();
    return values[attempt % values.size()];
  }
}
template <>
BSTR Argument<BSTR>(std::size_t) {
  static const com::Bstr kName = Text("SWEEP");
  return kName.Get();
}

// Frees a result the caller owns.
template <class T>
void Free(T) {}
void Free(BSTR s) { com::SysFreeString(s); }
void Free(com::SAFEARRAY* a) {
  if (a) com::SafeArrayDestroy(a);
}

template <class I>
std::string_view InterfaceName(const com::ComPtr<I>&) {
  return I::kName;
}

class MemberSweep : public SimSessionTest {
 protected:
  bool Skip(std::string_view interface_name, std::string_view member) {
    const std::string qualified = std::string(interface_name) + "." + std::string(member);
    driven_.push_back(qualified);
    return kSkipped.contains(qualified);
  }

  // tqr-sim's MIN and MAX of a numeric setting, through the plain connection.
  bool Limits(const char* query, double* min, double* max) {
    // "*IDN?" ends the exchange: a setting without MIN and MAX answers neither.
    const std::string q = query;
    if (!clock_.Send(q + " MIN") || !clock_.Send(q + " MAX") || !clock_.Send("*IDN?")) return false;
    std::vector<std::string> replies;
    for (std::string line = clock_.ReadLine(); !line.empty() && replies.size() < 3;
         line = clock_.ReadLine()) {
      if (line.find(',') != std::string::npos) break;  // the identity
      replies.push_back(line);
    }
    ClearStatus();  // and the error a setting without MIN and MAX leaves
    if (replies.size() != 2) return false;
    char* end = nullptr;
    *min = std::strtod(replies[0].c_str(), &end);
    if (end == replies[0].c_str()) return false;
    *max = std::strtod(replies[1].c_str(), &end);
    if (end == replies[1].c_str()) return false;
    return true;
  }

  // A value other than `now` that tqr-sim takes, or `now` itself.
  template <class T>
  std::vector<T> Candidates(bool boolean, const char* query, T now) {
    if constexpr (std::is_same_v<T, com::VARIANT_BOOL>) {
      if (boolean) return {now ? com::VARIANT_FALSE : com::VARIANT_TRUE};
    }
    if constexpr (std::is_enum_v<T>) {
      std::vector<T> others;
      for (T v : SweepEnumValues<T>())
        if (v != now) others.push_back(v);
      return others;
    } else if constexpr (std::is_arithmetic_v<T>) {
      double min = 0, max = 0;
      if (!Limits(query, &min, &max) || !(max > min)) return {now};
      const double v = min + (max - min) * 0.375;
      if constexpr (std::is_floating_point_v<T>) {
        return {static_cast<T>(std::stod(std::to_string(v)))};
      } else {
        return {static_cast<T>(std::lround(v))};
      }
    } else {
      return {now};
    }
  }

  template <class T>
  static bool Same(T a, T b) {
    if constexpr (std::is_floating_point_v<T>) {
      return std::fabs(a - b) <= 1e-5 * std::max({1.0, std::fabs(a), std::fabs(b)});
    } else if constexpr (std::is_same_v<T, BSTR>) {
      return com::BstrToUtf8(a) == com::BstrToUtf8(b);
    } else {
      return a == b;
    }
  }

  // Set to each candidate, read back, compare; then the old value again.
  template <class T, class Get, class Put>
  void Property(const char* name, std::string_view type, const char* query, Get get, Put put) {
    SCOPED_TRACE(name);
    T now{};
    ASSERT_EQ(get(&now), com::S_OK) << "get: " << Why();
    for (T v : Candidates<T>(type == "VARIANT_BOOL", query, now)) {
      const com::HRESULT hr = put(v);
      if (hr == kRefusedValue && std::is_enum_v<T>) continue;  // no token: nothing was sent
      EXPECT_EQ(hr, com::S_OK) << "put: " << Why();
      T read{};
      EXPECT_EQ(get(&read), com::S_OK) << "get: " << Why();
      EXPECT_TRUE(Same(read, v)) << "the value read back differs";
      Free(read);
    }
    EXPECT_EQ(put(now), com::S_OK) << "put back: " << Why();
    Free(now);
  }

  template <class Call>
  void Method(const char* name, Call call) {
    com::HRESULT hr = call(0);
    for (std::size_t attempt = 1; hr == kRefusedValue && attempt < 32; ++attempt)
      hr = call(attempt);
    EXPECT_EQ(hr, com::S_OK) << name << ": " << Why();
  }

  // Empties tqr-sim's error queue and event status register, and waits until it has.
  void ClearStatus() {
    ASSERT_TRUE(clock_.Send("*CLS;*OPC?"));
    ASSERT_EQ(clock_.ReadLine(), "1");
  }

  // The last error and the instrument's own error, if it has one.
  std::string Why() {
    std::string why = LastError();
    std::int32_t code = 0;
    com::Bstr message;
    if (Root<IIviDriverUtility>()->ErrorQuery(&code, message.Put()) == com::S_OK && code != 0)
      why += " [" + message.ToUtf8() + "]";
    ClearStatus();
    return why;
  }

  std::vector<std::string> driven_;
};

// The expansion of a member list over the interface pointer `p` named `iface`.
#define SWEEP_PROPERTY(Type, Name, Query, Reply, Set, SimFlag)          \
  if (!Skip(iface, #Name))                                              \
    Property<Type>(                                                     \
        #Name, #Type, Query, [&](Type* v) { return p->get_##Name(v); }, \
        [&](Type v) { return p->put_##Name(v); });
#define SWEEP_READ_ONLY(Type, Name, Query, Reply, SimFlag)    \
  if (!Skip(iface, #Name))                                    \
    Method(#Name, [&]([[maybe_unused]] std::size_t attempt) { \
      Type v{};                                               \
      return p->get_##Name(&v);                               \
    });
#define SWEEP_COMMAND(Name, Command) \
  if (!Skip(iface, #Name))           \
    Method(#Name, [&]([[maybe_unused]] std::size_t attempt) { return p->Name(); });
#define SWEEP_COMMAND_1(Name, Command, T1, N1) \
  if (!Skip(iface, #Name))                     \
    Method(#Name,                              \
           [&]([[maybe_unused]] std::size_t attempt) { return p->Name(Argument<T1>(attempt)); });
#define SWEEP_COMMAND_2(Name, Command, T1, N1, T2, N2)              \
  if (!Skip(iface, #Name))                                          \
    Method(#Name, [&]([[maybe_unused]] std::size_t attempt) {       \
      return p->Name(Argument<T1>(attempt), Argument<T2>(attempt)); \
    });
#define SWEEP_COMMAND_3(Name, Command, T1, N1, T2, N2, T3, N3)                             \
  if (!Skip(iface, #Name))                                                                 \
    Method(#Name, [&]([[maybe_unused]] std::size_t attempt) {                              \
      return p->Name(Argument<T1>(attempt), Argument<T2>(attempt), Argument<T3>(attempt)); \
    });
#define SWEEP_RESULT(Name, TO, ...)                              \
  if (!Skip(iface, #Name))                                       \
    Method(#Name, [&]([[maybe_unused]] std::size_t attempt) {    \
      TO out{};                                                  \
      const auto hr = p->Name(__VA_ARGS__ __VA_OPT__(, ) & out); \
      Free(out);                                                 \
      return hr;                                                 \
    });
#define SWEEP_QUERY(Name, Command, Reply, TO, OutName) SWEEP_RESULT(Name, TO)
#define SWEEP_QUERY_1(Name, Command, Reply, T1, N1, TO, OutName) \
  SWEEP_RESULT(Name, TO, Argument<T1>(attempt))
#define SWEEP_QUERY_2(Name, Command, Reply, T1, N1, T2, N2, TO, OutName) \
  SWEEP_RESULT(Name, TO, Argument<T1>(attempt), Argument<T2>(attempt))
#define SWEEP_IN_OUT_QUERY(Name, Command, Reply, TO, OutName) SWEEP_RESULT(Name, TO)
#define SWEEP_ARRAY_QUERY(Name, Command, Reply, OutName) SWEEP_RESULT(Name, com::SAFEARRAY*)
#define SWEEP_ARRAY_QUERY_1(Name, Command, Reply, T1, N1, OutName) \
  SWEEP_RESULT(Name, com::SAFEARRAY*, Argument<T1>(attempt))
#define SWEEP_MIN_MAX(Type, Name, Command)                               \
  if (!Skip(iface, #Name)) {                                             \
    Type min{}, max{};                                                   \
    EXPECT_EQ(p->Name(&min, &max), com::S_OK) << #Name << ": " << Why(); \
    EXPECT_LE(min, max) << #Name;                                        \
  }
#define SWEEP_ARRAY_COMMAND(Name, Command, Argument) Skip(iface, #Name);
// Writes back the terminal settings the matching query reads.
#define SWEEP_TOKEN_LIST_COMMAND(Name, Header, Argument, Enum, TokenMember) \
  if (!Skip(iface, #Name))                                                  \
    Method(#Name, [&]([[maybe_unused]] std::size_t attempt) {               \
      com::SafeArray now;                                                   \
      const auto hr = p->TokenMember(now.Put());                            \
      return com::Failed(hr) ? hr : p->Name(now.Get());                     \
    });
#define SWEEP_INTERFACE(Target, Name)                         \
  if (!Skip(iface, #Name))                                    \
    Method(#Name, [&]([[maybe_unused]] std::size_t attempt) { \
      com::ComPtr<Target> other;                              \
      return p->get_##Name(other.Put());                      \
    });
// Members that send nothing, and members written by hand (driven by their
// own tests): counted, not driven.
#define SWEEP_UNSUPPORTED_PROPERTY(Type, Name, Reported, SimFlag) Skip(iface, #Name);
#define SWEEP_UNSUPPORTED_METHOD(Name, Reported) Skip(iface, #Name);
#define SWEEP_BY_HAND(Name, ...) Skip(iface, #Name);

#define MOTQR_SWEEP_LIST(List, Pointer)              \
  {                                                  \
    auto p = Pointer;                                \
    ASSERT_TRUE(p);                                  \
    const std::string_view iface = InterfaceName(p); \
    List(SWEEP)                                      \
  }

// Every member list with the interface pointer its members are called on.
#define MOTQR_QUES_MEMBERS(S) MOTQR_STATUS_GROUP_MEMBERS(S, "QUES")
#define MOTQR_OPER_MEMBERS(S) MOTQR_STATUS_GROUP_MEMBERS(S, "OPER")
#define MOTQR_EVERY_MEMBER_LIST(X)                                           \
  X(MOTQR_OUTPUT_CHANNEL_MEMBERS, Channel<IMorvaneTqrOutputChannel>())       \
  X(MOTQR_PROTECTION_MEMBERS, Channel<IMorvaneTqrOutputChannelProtection>()) \
  X(MOTQR_PULSE_MEMBERS, Channel<IMorvaneTqrOutputChannelPulse>())           \
  X(MOTQR_SINE_MEMBERS, Channel<IMorvaneTqrOutputChannelSine>())             \
  X(MOTQR_IV_MEMBERS, Channel<IMorvaneTqrOutputChannelIV>())                 \
  X(MOTQR_DCPWR_OUTPUT_MEMBERS, Channel<IIviDCPwrOutput>())                  \
  X(MOTQR_DCPWR_TRIGGER_MEMBERS, Root<IIviDCPwrTrigger>())                   \
  X(MOTQR_TRIGGER_MEMBERS, Root<IMorvaneTqrTrigger>())                       \
  X(MOTQR_GLOBAL_MEMBERS, Root<IMorvaneTqrGlobal>())                         \
  X(MOTQR_DATA_MEMBERS, Root<IMorvaneTqrData>())                             \
  X(MOTQR_STATUS_MEMBERS, Root<IMorvaneTqrStatus>())                         \
  X(MOTQR_QUES_MEMBERS, Root<IMorvaneTqrStatusQuestionable>())               \
  X(MOTQR_OPER_MEMBERS, Root<IMorvaneTqrStatusOperation>())                  \
  X(MOTQR_SENSE_MEMBERS, Root<IMorvaneTqrSense>())                           \
  X(MOTQR_PROGRAM_MEMBERS, Root<IMorvaneTqrProgram>())                       \
  X(MOTQR_SYSTEM_MEMBERS, Root<IMorvaneTqrSystem>())                         \
  X(MOTQR_ANALOG_MEMBERS, Root<IMorvaneTqrSystemAnalog>())                   \
  X(MOTQR_IO_MEMBERS, Root<IMorvaneTqrSystemIO>())                           \
  X(MOTQR_MEMORY_MEMBERS, Root<IMorvaneTqrSystemMemory>())                   \
  X(MOTQR_DIAGNOSTIC_MEMBERS, Root<IMorvaneTqrSystemDiagnostic>())

TEST_F(MemberSweep, EveryRowRunsAgainstTheSimulator) {
  // A program with one step for the program step members to work on.
  ClearStatus();
  auto program = Root<IMorvaneTqrProgram>();
  ASSERT_EQ(program->ConfigureSelectedProgram(Argument<BSTR>(0)), com::S_OK) << Why();
  ASSERT_EQ(program->put_ProgramStepCount(1), com::S_OK) << Why();
  // Two points in each I-V map for the point members to edit.
  auto iv = Channel<IMorvaneTqrOutputChannelIV>();
  ASSERT_EQ(iv->put_CurrentIVPointCount(2), com::S_OK) << Why();
  ASSERT_EQ(iv->put_VoltageIVPointCount(2), com::S_OK) << Why();

  MOTQR_EVERY_MEMBER_LIST(MOTQR_SWEEP_LIST)

  // The date and the time: written back as read.
  auto system = Root<IMorvaneTqrSystem>();
  com::SafeArray date, time;
  ASSERT_EQ(system->QueryDate(date.Put()), com::S_OK) << Why();
  EXPECT_EQ(system->SetDate(date.Get()), com::S_OK) << Why();
  ASSERT_EQ(system->QueryTime(time.Put()), com::S_OK) << Why();
  EXPECT_EQ(system->SetTime(time.Get()), com::S_OK) << Why();

  EXPECT_EQ(iv->ClearCurrentIVMap(), com::S_OK) << Why();
  EXPECT_EQ(iv->ClearVoltageIVMap(), com::S_OK) << Why();

  // Every listed row was reached: the sweep walks the same lists as the listing.
  std::size_t listed = 0;
  for (const auto& table : instrument::AllRowTables()) listed += table.rows.size();
  EXPECT_EQ(driven_.size(), listed);
}

// In simulation. Every property that keeps a simulation value reads zero, then
// what was put, each its own value (so two members sharing one store entry show),
// and zero again after Reset. The properties below fail as given; every other
// member, read-only properties included, needs the instrument. Navigation needs
// none.
constexpr com::HRESULT kNotInitialized = com::MakeHresult(0x8004701Du);
constexpr com::HRESULT kMethodNotSupported = com::MakeHresult(0x80047011u);
const std::map<std::string_view, com::HRESULT> kNoSimulationValue = {
    {"IMorvaneTqrOutputChannel.Priority", kNotInitialized},
    {"IMorvaneTqrOutputChannel.VoltageReponseSpeed", kNotInitialized},
    {"IMorvaneTqrTrigger.AcquireTriggerCount", kNotInitialized},
    {"IMorvaneTqrStatusQuestionable.EnableRegister", kNotInitialized},
    {"IMorvaneTqrStatusOperation.EnableRegister", kNotInitialized},
    {"IMorvaneTqrProgram.ProgramCurrentFunctionMode", kNotInitialized},
    {"IIviDCPwrOutput.TriggerSource", com::MakeHresult(0x80047012u)},  // property not supported
};

class SimulationSweep : public DriverTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(
        Initialize(driver_.Get(), "TCPIP0::192.0.2.1::5025::SOCKET", true, true, "Simulate=true"),
        com::S_OK)
        << LastError();
    TakeOutput();
  }

  // The k-th value a property of type `T` is set to; never the zero value.
  template <class T>
  static T Sample(std::string_view type, int k) {
    if constexpr (std::is_same_v<T, BSTR>) {
      static std::map<int, com::Bstr> texts;
      auto& text = texts[k];
      if (!text.Get()) text = Text(("zone" + std::to_string(k)).c_str());
      return text.Get();
    } else if constexpr (std::is_enum_v<T>) {
      std::vector<T> values;
      for (T v : SweepEnumValues<T>())
        if (v != T{}) values.push_back(v);
      return values[static_cast<std::size_t>(k) % values.size()];
    } else if constexpr (std::is_floating_point_v<T>) {
      return k + 0.25;
    } else {
      return type == "VARIANT_BOOL" ? com::VARIANT_TRUE : static_cast<T>(k);
    }
  }
  template <class T>
  static bool Equal(T a, T b) {
    if constexpr (std::is_same_v<T, BSTR>) {
      return com::BstrToUtf8(a) == com::BstrToUtf8(b);
    } else {
      return a == b;
    }
  }

  template <class T, class Get, class Put>
  void Property(std::string qualified, std::string_view type, Get get, Put put) {
    SCOPED_TRACE(qualified);
    ++reached_;
    T v{};
    if (const auto fails = kNoSimulationValue.find(qualified); fails != kNoSimulationValue.end()) {
      EXPECT_EQ(get(&v), fails->second);
      EXPECT_EQ(put(Sample<T>(type, 1)), fails->second);
      return;
    }
    ASSERT_EQ(get(&v), com::S_OK) << LastError();
    EXPECT_TRUE(Equal(v, T{})) << "not zero before it was set";
    Free(v);
    const int k = ++values_;
    ASSERT_EQ(put(Sample<T>(type, k)), com::S_OK) << LastError();
    // Reads the property back: what was put, or after a reset zero.
    stored_.push_back([=](bool after_reset) {
      SCOPED_TRACE(qualified);
      T r{};
      EXPECT_EQ(get(&r), com::S_OK);
      EXPECT_TRUE(Equal(r, after_reset ? T{} : Sample<T>(type, k)));
      Free(r);
    });
  }

  void Needs(const char* name, com::HRESULT hr, com::HRESULT want = kNotInitialized) {
    ++reached_;
    EXPECT_EQ(hr, want) << name;
  }

  std::size_t reached_ = 0;
  int values_ = 0;
  std::vector<std::function<void(bool)>> stored_;
};

#define SIMSWEEP_PROPERTY(Type, Name, Query, Reply, Set, SimFlag)                       \
  Property<Type>(                                                                       \
      std::string(iface) + "." #Name, #Type, [p](Type* v) { return p->get_##Name(v); }, \
      [p](Type v) { return p->put_##Name(v); });
#define SIMSWEEP_UNSUPPORTED_PROPERTY(Type, Name, Reported, SimFlag) \
  SIMSWEEP_PROPERTY(Type, Name, "", "", "", SimFlag)
#define SIMSWEEP_READ_ONLY(Type, Name, Query, Reply, SimFlag) \
  {                                                           \
    Type v{};                                                 \
    Needs(#Name, p->get_##Name(&v));                          \
  }
#define SIMSWEEP_COMMAND(Name, Command) Needs(#Name, p->Name());
#define SIMSWEEP_COMMAND_1(Name, Command, T1, N1) Needs(#Name, p->Name(Argument<T1>(1)));
#define SIMSWEEP_COMMAND_2(Name, Command, T1, N1, T2, N2) \
  Needs(#Name, p->Name(Argument<T1>(1), Argument<T2>(1)));
#define SIMSWEEP_COMMAND_3(Name, Command, T1, N1, T2, N2, T3, N3) \
  Needs(#Name, p->Name(Argument<T1>(1), Argument<T2>(1), Argument<T3>(1)));
#define SIMSWEEP_RESULT(Name, TO, ...)                       \
  {                                                          \
    TO out{};                                                \
    Needs(#Name, p->Name(__VA_ARGS__ __VA_OPT__(, ) & out)); \
    Free(out);                                               \
  }
#define SIMSWEEP_QUERY(Name, Command, Reply, TO, OutName) SIMSWEEP_RESULT(Name, TO)
#define SIMSWEEP_QUERY_1(Name, Command, Reply, T1, N1, TO, OutName) \
  SIMSWEEP_RESULT(Name, TO, Argument<T1>(1))
#define SIMSWEEP_QUERY_2(Name, Command, Reply, T1, N1, T2, N2, TO, OutName) \
  SIMSWEEP_RESULT(Name, TO, Argument<T1>(1), Argument<T2>(1))
#define SIMSWEEP_IN_OUT_QUERY(Name, Command, Reply, TO, OutName) SIMSWEEP_RESULT(Name, TO)
#define SIMSWEEP_ARRAY_QUERY(Name, Command, Reply, OutName) SIMSWEEP_RESULT(Name, com::SAFEARRAY*)
#define SIMSWEEP_ARRAY_QUERY_1(Name, Command, Reply, T1, N1, OutName) \
  SIMSWEEP_RESULT(Name, com::SAFEARRAY*, Argument<T1>(1))
#define SIMSWEEP_MIN_MAX(Type, Name, Command) \
  {                                           \
    Type min{}, max{};                        \
    Needs(#Name, p->Name(&min, &max));        \
  }
#define SIMSWEEP_ARRAY_COMMAND(Name, Command, Argument) Needs(#Name, p->Name(three.Get()));
#define SIMSWEEP_TOKEN_LIST_COMMAND(Name, Header, Argument, Enum, TokenMember) \
  Needs(#Name, p->Name(three.Get()));
#define SIMSWEEP_INTERFACE(Target, Name)                 \
  {                                                      \
    com::ComPtr<Target> other;                           \
    Needs(#Name, p->get_##Name(other.Put()), com::S_OK); \
  }
#define SIMSWEEP_UNSUPPORTED_METHOD(Name, Reported) Needs(#Name, p->Name(), kMethodNotSupported);
#define SIMSWEEP_BY_HAND(Name, ...) ++reached_;

#define MOTQR_SIM_SWEEP_LIST(List, Pointer)                           \
  {                                                                   \
    auto p = Pointer;                                                 \
    ASSERT_TRUE(p);                                                   \
    [[maybe_unused]] const std::string_view iface = InterfaceName(p); \
    List(SIMSWEEP)                                                    \
  }

TEST_F(SimulationSweep, StoredValuesRoundTripAndResetAndEverythingElseNeedsTheInstrument) {
  com::SafeArray three = com::SafeArray::CreateVector(com::VT_I4, 3);
  MOTQR_EVERY_MEMBER_LIST(MOTQR_SIM_SWEEP_LIST)
  std::size_t listed = 0;
  for (const auto& table : instrument::AllRowTables()) listed += table.rows.size();
  EXPECT_EQ(reached_, listed);

  for (const auto& read_back : stored_) read_back(false);
  ASSERT_EQ(As<IIviDriverUtility>(driver_)->Reset(), com::S_OK);
  for (const auto& read_back : stored_) read_back(true);
  // Members written by hand beside the lists need the instrument too.
  auto iv = Channel<IMorvaneTqrOutputChannelIV>();
  com::SafeArray points = com::SafeArray::CreateVector(com::VT_R8, 2);
  com::SAFEARRAY* map = points.Get();
  EXPECT_EQ(iv->GetCurrentIVMap(&map), kNotInitialized);
  EXPECT_EQ(map, points.Get());
  auto output = Channel<IIviDCPwrOutput>();
  IviDCPwrCurrentLimitBehaviorEnum behavior = IviDCPwrCurrentLimitTrip;
  EXPECT_EQ(output->get_CurrentLimitBehavior(&behavior), com::S_OK);  // the only behaviour
  EXPECT_EQ(behavior, IviDCPwrCurrentLimitRegulate);
  EXPECT_EQ(output->ConfigureCurrentLimit(IviDCPwrCurrentLimitRegulate, 1.0), kNotInitialized);
  EXPECT_EQ(iv->SetVoltageIVMap(points.Get()), kNotInitialized);
}

}  // namespace
}  // namespace motqr::e2e
