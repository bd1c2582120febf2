// IMorvaneTqrStatus and its two register groups, IMorvaneTqrStatusQuestionable
// and IMorvaneTqrStatusOperation: condition, enable and event registers and
// the transition filters, 16-bit patterns sent and read as signed decimals.
// Both groups share one row list; only the mnemonic (QUES or OPER) differs.
#pragma once

#include <cstdint>

#include "instrument/member_shapes.h"
#include "interfaces/status.h"

// The members of the group whose mnemonic is `G`.
// clang-format off
#define MOTQR_STATUS_GROUP_MEMBERS(S, G) \
  S##_READ_ONLY(std::int16_t, ConditionRegister, ":STAT:" G ":COND?", "%hd", kNo) \
  S##_PROPERTY(std::int16_t, EnableRegister, ":STAT:" G ":ENAB?", "%hd", ":STAT:" G ":ENAB %hd", kNo) \
  S##_READ_ONLY(std::int16_t, EventRegister, ":STAT:" G "?", "%hd", kNo) \
  S##_PROPERTY(std::int16_t, NegativeTransition, ":STAT:" G ":NTR?", "%hd", ":STAT:" G ":NTR %hd", kYes) \
  S##_PROPERTY(std::int16_t, PositiveTransition, ":STAT:" G ":PTR?", "%hd", ":STAT:" G ":PTR %hd", kYes)
// clang-format on

// The filter preset, and the two groups: the same object seen through the
// group's interface (Self composes StatusQuestionable and StatusOperation);
// no I/O, and no initialized session needed.
// clang-format off
#define MOTQR_STATUS_MEMBERS(S) \
  S##_COMMAND(ResetFilter, ":STAT:PRES") \
  S##_BY_HAND(Questionable, "interface", nullptr, nullptr, nullptr) \
  S##_BY_HAND(Operation, "interface", nullptr, nullptr, nullptr)
// clang-format on

namespace motqr::instrument {

template <class Self>
class StatusQuestionable : public driver::MemberSet<Self, IMorvaneTqrStatusQuestionable> {
 public:
  using Interface = IMorvaneTqrStatusQuestionable;
  MOTQR_STATUS_GROUP_MEMBERS(MOTQR_MEMBER, "QUES")

 protected:
  ~StatusQuestionable() = default;
};

template <class Self>
class StatusOperation : public driver::MemberSet<Self, IMorvaneTqrStatusOperation> {
 public:
  using Interface = IMorvaneTqrStatusOperation;
  MOTQR_STATUS_GROUP_MEMBERS(MOTQR_MEMBER, "OPER")

 protected:
  ~StatusOperation() = default;
};

template <class Self>
class Status : public driver::MemberSet<Self, IMorvaneTqrStatus> {
 public:
  using Interface = IMorvaneTqrStatus;
  MOTQR_STATUS_MEMBERS(MOTQR_MEMBER)

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

inline constexpr RowView kStatusRows[] = {MOTQR_STATUS_MEMBERS(MOTQR_ROW_VIEW)};
inline constexpr RowView kStatusQuestionableRows[] = {
    MOTQR_STATUS_GROUP_MEMBERS(MOTQR_ROW_VIEW, "QUES")};
inline constexpr RowView kStatusOperationRows[] = {
    MOTQR_STATUS_GROUP_MEMBERS(MOTQR_ROW_VIEW, "OPER")};

}  // namespace motqr::instrument
