// An in-process instrument on a frozen clock, without measurement noise.
#pragma once

#include <string>
#include <string_view>

#include "sim/instrument.h"
#include "sim/model_ratings.h"
#include "sim/sim_clock.h"

namespace tqrsim {

struct SimBench {
  explicit SimBench(std::string_view model = "TQR-M4") : tqr(*FindModel(model), clock, Options()) {}

  static InstrumentOptions Options() {
    InstrumentOptions options;
    options.model.noise = 0.0;
    return options;
  }
  // The reply to a message ("" when it has none).
  std::string Send(std::string_view message) { return tqr.Process(message).text; }
  // The next entry of the error queue.
  std::string Error() { return Send(":SYST:ERR?"); }
  void Advance(double seconds) { clock.Advance(seconds); }

  SimClock clock{SimClock::Mode::kManual};
  Instrument tqr;
};

}  // namespace tqrsim
