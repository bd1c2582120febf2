// The driver's default interface: the inherent IIviDriver members, then one
// navigation property per instrument subsystem. Each hands out the same driver
// object through another interface, with one more reference; none needs an
// initialized session.
#pragma once

#include "interfaces/common.h"
#include "interfaces/ivi_driver.h"

namespace motqr {

class IMorvaneTqrOutputs;
class IMorvaneTqrSystem;
class IMorvaneTqrData;
class IMorvaneTqrProgram;
class IMorvaneTqrSense;
class IMorvaneTqrStatus;
class IMorvaneTqrTrigger;
class IMorvaneTqrGlobal;

class IMorvaneTqr : public IIviDriver {
 public:
  static constexpr com::IID kIid = MorvaneTqrIid(0x01);
  static constexpr const char* kName = "IMorvaneTqr";
  virtual HRESULT get_Outputs(IMorvaneTqrOutputs** val) = 0;
  virtual HRESULT get_System(IMorvaneTqrSystem** val) = 0;
  virtual HRESULT get_Data(IMorvaneTqrData** val) = 0;
  virtual HRESULT get_Program(IMorvaneTqrProgram** val) = 0;
  virtual HRESULT get_Sense(IMorvaneTqrSense** val) = 0;
  virtual HRESULT get_Status(IMorvaneTqrStatus** val) = 0;
  virtual HRESULT get_Trigger(IMorvaneTqrTrigger** val) = 0;
  virtual HRESULT get_Global(IMorvaneTqrGlobal** val) = 0;

 protected:
  ~IMorvaneTqr() = default;
};

}  // namespace motqr
