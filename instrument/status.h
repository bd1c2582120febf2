// IMorvaneTqrStatus and its two register groups, IMorvaneTqrStatusQuestionable
// and IMorvaneTqrStatusOperation: condition, enable and event registers and
// the transition filters, 16-bit patterns sent and read as signed decimals.
// Both groups share one row list; only the mnemonic (QUES or OPER) differs.
#pragma once

#include <cstdint>

#include "instrument/driver_member_shapes.h"
#include "interfaces/status.h"

// (type, name, query, reply, set, sim) of the group whose mnemonic is `G`
#define MOTQR_STATUS_REGISTER_READONLY(P, G)                                   \
  P(std::int16_t, ConditionRegister, ":STAT:" G ":COND?", "%hd", nullptr, kNo) \
  P(std::int16_t, EventRegister, ":STAT:" G "?", "%hd", nullptr, kNo)
#define MOTQR_STATUS_REGISTER_PROPERTIES(P, G)                                                \
  P(std::int16_t, EnableRegister, ":STAT:" G ":ENAB?", "%hd", ":STAT:" G ":ENAB %hd", kNo)    \
  P(std::int16_t, NegativeTransition, ":STAT:" G ":NTR?", "%hd", ":STAT:" G ":NTR %hd", kYes) \
  P(std::int16_t, PositiveTransition, ":STAT:" G ":PTR?", "%hd", ":STAT:" G ":PTR %hd", kYes)

// (name, command)
#define MOTQR_STATUS_COMMANDS(C) C(ResetFilter, ":STAT:PRES")

namespace motqr::instrument {

template <class Self>
class StatusQuestionable : public driver::MemberSet<Self, IMorvaneTqrStatusQuestionable> {
 public:
  using Interface = IMorvaneTqrStatusQuestionable;
  MOTQR_STATUS_REGISTER_READONLY(MOTQR_MEMBER_READONLY, "QUES")
  MOTQR_STATUS_REGISTER_PROPERTIES(MOTQR_MEMBER_PROPERTY, "QUES")

 protected:
  ~StatusQuestionable() = default;
};

template <class Self>
class StatusOperation : public driver::MemberSet<Self, IMorvaneTqrStatusOperation> {
 public:
  using Interface = IMorvaneTqrStatusOperation;
  MOTQR_STATUS_REGISTER_READONLY(MOTQR_MEMBER_READONLY, "OPER")
  MOTQR_STATUS_REGISTER_PROPERTIES(MOTQR_MEMBER_PROPERTY, "OPER")

 protected:
  ~StatusOperation() = default;
};

// The filter preset, and the two groups: the same object seen through the
// group's interface (Self composes StatusQuestionable and StatusOperation);
// no I/O, and no initialized session needed.
template <class Self>
class Status : public driver::MemberSet<Self, IMorvaneTqrStatus> {
 public:
  using Interface = IMorvaneTqrStatus;
  MOTQR_STATUS_COMMANDS(MOTQR_MEMBER_COMMAND)

  HRESULT get_Questionable(IMorvaneTqrStatusQuestionable** val) override {
    return Navigate<"get_Questionable">(val);
  }
  HRESULT get_Operation(IMorvaneTqrStatusOperation** val) override {
    return Navigate<"get_Operation">(val);
  }

 protected:
  ~Status() = default;

 private:
  template <driver::FixedString M, class Group>
  HRESULT Navigate(Group** val) {
    return driver::RunFrame(this->node(), driver::Describe<Interface, M>(), driver::Check::kNone,
                            [&](driver::CallFrame& f) -> HRESULT {
                              MOTQR_RETURN_IF_FAILED(f.Out(val, "val"));
                              MOTQR_RETURN_IF_FAILED(f.Trace(trace::OutParameter("val", val)));
                              Group* group = static_cast<Self*>(this);
                              group->AddRef();
                              *val = group;
                              return com::S_OK;
                            });
  }
};

// clang-format off
inline constexpr driver::RowView kStatusRows[] = {MOTQR_STATUS_COMMANDS(MOTQR_ROW_VIEW_COMMAND)};
inline constexpr driver::RowView kStatusQuestionableRows[] = {
    MOTQR_STATUS_REGISTER_READONLY(MOTQR_ROW_VIEW_PROPERTY, "QUES")
    MOTQR_STATUS_REGISTER_PROPERTIES(MOTQR_ROW_VIEW_PROPERTY, "QUES")};
inline constexpr driver::RowView kStatusOperationRows[] = {
    MOTQR_STATUS_REGISTER_READONLY(MOTQR_ROW_VIEW_PROPERTY, "OPER")
    MOTQR_STATUS_REGISTER_PROPERTIES(MOTQR_ROW_VIEW_PROPERTY, "OPER")};
// clang-format on

}  // namespace motqr::instrument
