// Member definitions from row lists. An interface file lists its rows once,
//
//   #define MOTQR_PULSE_PROPERTIES(P)  (one row a line, each ending in a backslash)
//     P(double, CurrentFrequency, ":CURR:PULS:FREQ?", nullptr, ":CURR:PULS:FREQ %0.6lg", kYes)
//   #define MOTQR_PULSE_MIN_MAX(M)
//     M(QueryCurrentFrequencyMinMax, ":CURR:PULS:FREQ? MIN;FREQ? MAX")
//
// and the same lists become the interface members (inside a class that has
// `using Interface = ...;` and `driver::CNode& node()`), the row views the
// table tests walk, and the simulation round-trip tests:
//
//   MOTQR_PULSE_PROPERTIES(MOTQR_MEMBER_PROPERTY)
//   MOTQR_PULSE_MIN_MAX(MOTQR_MEMBER_MIN_MAX)
//
// Property rows: (type, name, query, reply format or nullptr for the type's
// default, set format or nullptr when read-only, simulation kYes/kNo).
#pragma once

#include "driver/member.h"

// A read/write property: get_<Name> and put_<Name>.
#define MOTQR_MEMBER_PROPERTY(Type, Name, Query, Reply, Set, SimFlag)                 \
  static constexpr ::motqr::driver::PropertyRow<Type> k##Name{                        \
      Query, Reply, Set, ::motqr::driver::Sim::SimFlag, MOTQR_TRACE_TYPE(Type)};      \
  ::motqr::com::HRESULT get_##Name(Type* val) override {                              \
    return ::motqr::driver::Get<Interface, "get_" #Name>(this->node(), k##Name, val); \
  }                                                                                   \
  ::motqr::com::HRESULT put_##Name(Type val) override {                               \
    return ::motqr::driver::Put<Interface, "put_" #Name>(this->node(), k##Name, val); \
  }

// A read-only property: get_<Name> only (its row has no set format).
#define MOTQR_MEMBER_READONLY(Type, Name, Query, Reply, Set, SimFlag)                 \
  static constexpr ::motqr::driver::PropertyRow<Type> k##Name{                        \
      Query, Reply, Set, ::motqr::driver::Sim::SimFlag, MOTQR_TRACE_TYPE(Type)};      \
  ::motqr::com::HRESULT get_##Name(Type* val) override {                              \
    return ::motqr::driver::Get<Interface, "get_" #Name>(this->node(), k##Name, val); \
  }

// A min/max query: (out Min, out Max) read with "%lf;%lf".
#define MOTQR_MEMBER_MIN_MAX(Name, Command)                                                       \
  ::motqr::com::HRESULT Name(double* Min, double* Max) override {                                 \
    static constexpr ::motqr::driver::MethodRow kRow{Command, "%lf;%lf"};                         \
    return ::motqr::driver::Call<Interface, #Name>(this->node(), kRow, ::motqr::driver::Inputs(), \
                                                   ::motqr::driver::Out<double>{Min, "Min"},      \
                                                   ::motqr::driver::Out<double>{Max, "Max"});     \
  }

// A method that sends one command and reads nothing.
#define MOTQR_MEMBER_COMMAND(Name, Command)                             \
  ::motqr::com::HRESULT Name() override {                               \
    static constexpr ::motqr::driver::MethodRow kRow{Command, nullptr}; \
    return ::motqr::driver::Call<Interface, #Name>(this->node(), kRow); \
  }

// Row views for the table tests.
#define MOTQR_ROW_VIEW_PROPERTY(Type, Name, Query, Reply, Set, SimFlag) \
  ::motqr::driver::RowView{#Name, #Type, Query, Reply, Set, ::motqr::driver::Sim::SimFlag},
#define MOTQR_ROW_VIEW_MIN_MAX(Name, Command)             \
  ::motqr::driver::RowView{#Name,     "min/max", Command, \
                           "%lf;%lf", nullptr,   ::motqr::driver::Sim::kNo},
#define MOTQR_ROW_VIEW_COMMAND(Name, Command) \
  ::motqr::driver::RowView{#Name, "command", nullptr, nullptr, Command, ::motqr::driver::Sim::kNo},

namespace motqr::driver {

// One row as the table tests see it, whatever its value type.
struct RowView {
  const char* member;
  const char* type;
  const char* query;
  const char* reply;
  const char* set;
  Sim sim;
};

// The base of an interface's member class: `Self` is the component class
// that composes it and gives the node the members run on.
template <class Self, class InterfaceT>
class MemberSet : public InterfaceT {
 public:
  using Interface = InterfaceT;

 protected:
  CNode& node() { return static_cast<Self&>(*this).node(); }
  ~MemberSet() = default;
};

}  // namespace motqr::driver
