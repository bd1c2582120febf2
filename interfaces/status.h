// The SCPI status registers: the questionable and the operation status
// register groups, each with its condition, enable, event and transition
// filter registers (16 bits each).
//
//   IMorvaneTqrStatusQuestionable* questionable;
//   status->get_Questionable(&questionable);
//   std::int16_t events = 0;
//   questionable->get_EventRegister(&events);   // reading clears it
#pragma once

#include <cstdint>

#include "interfaces/common.h"

namespace motqr {

class IMorvaneTqrStatusQuestionable;
class IMorvaneTqrStatusOperation;

class IMorvaneTqrStatus : public com::IUnknown {
 public:
  static constexpr com::IID kIid = MorvaneTqrIid(0x10);
  static constexpr const char* kName = "IMorvaneTqrStatus";
  virtual HRESULT ResetFilter() = 0;
  virtual HRESULT get_Questionable(IMorvaneTqrStatusQuestionable** val) = 0;
  virtual HRESULT get_Operation(IMorvaneTqrStatusOperation** val) = 0;

 protected:
  ~IMorvaneTqrStatus() = default;
};

class IMorvaneTqrStatusQuestionable : public com::IUnknown {
 public:
  static constexpr com::IID kIid = MorvaneTqrIid(0x11);
  static constexpr const char* kName = "IMorvaneTqrStatusQuestionable";
  virtual HRESULT get_ConditionRegister(std::int16_t* val) = 0;
  virtual HRESULT get_EnableRegister(std::int16_t* val) = 0;
  virtual HRESULT put_EnableRegister(std::int16_t val) = 0;
  virtual HRESULT get_EventRegister(std::int16_t* val) = 0;
  virtual HRESULT get_NegativeTransition(std::int16_t* val) = 0;
  virtual HRESULT put_NegativeTransition(std::int16_t val) = 0;
  virtual HRESULT get_PositiveTransition(std::int16_t* val) = 0;
  virtual HRESULT put_PositiveTransition(std::int16_t val) = 0;

 protected:
  ~IMorvaneTqrStatusQuestionable() = default;
};

// The same members as IMorvaneTqrStatusQuestionable, for the operation group.
// Both are on the driver object, so an implementation needs one override per
// interface (the signatures are identical).
class IMorvaneTqrStatusOperation : public com::IUnknown {
 public:
  static constexpr com::IID kIid = MorvaneTqrIid(0x12);
  static constexpr const char* kName = "IMorvaneTqrStatusOperation";
  virtual HRESULT get_ConditionRegister(std::int16_t* val) = 0;
  virtual HRESULT get_EnableRegister(std::int16_t* val) = 0;
  virtual HRESULT put_EnableRegister(std::int16_t val) = 0;
  virtual HRESULT get_EventRegister(std::int16_t* val) = 0;
  virtual HRESULT get_NegativeTransition(std::int16_t* val) = 0;
  virtual HRESULT put_NegativeTransition(std::int16_t val) = 0;
  virtual HRESULT get_PositiveTransition(std::int16_t* val) = 0;
  virtual HRESULT put_PositiveTransition(std::int16_t val) = 0;

 protected:
  ~IMorvaneTqrStatusOperation() = default;
};

}  // namespace motqr
