// IInstrErrorPoller: asked by the I/O session after each operation that wants
// the instrument status checked; the driver object answers it.
#pragma once

#include "io/io_status.h"

namespace motqr::io {

class IInstrErrorPoller {
 public:
  virtual HRESULT PollInstrumentErrors() = 0;

 protected:
  ~IInstrErrorPoller() = default;
};

}  // namespace motqr::io
