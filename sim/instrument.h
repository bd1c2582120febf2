// The simulated TQR supply as seen on the wire: takes one program message at a time and
// gives back the reply, keeping the error queue, the status registers and the model.
//
//   tqrsim::SimClock clock;
//   tqrsim::Instrument tqr(*tqrsim::FindModel("TQR-M4"), clock, {});
//   auto reply = tqr.Process(":VOLT 5;:VOLT?");   // reply.text == "5"
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "sim/command_tree.h"
#include "sim/error_queue.h"
#include "sim/instrument_model.h"
#include "sim/model_ratings.h"
#include "sim/scpi_errors.h"
#include "sim/sim_clock.h"
#include "sim/status_registers.h"

namespace tqrsim {

struct InstrumentOptions {
  std::string serial;  // empty: derived from the model
  std::string firmware = "1.04";
  ModelOptions model;
  std::size_t error_queue_capacity = ErrorQueue::kDefaultCapacity;
};

struct Reply {
  bool present = false;  // a query in the message produced a reply
  std::string text;      // without the terminating newline
};

class Instrument {
 public:
  Instrument(const ModelRatings& ratings, SimClock& clock, const InstrumentOptions& options);

  // Executes one program message (without its terminator).
  Reply Process(std::string_view message);
  // Lets time pass: sequencer, integration, protections and the watchdog.
  void Tick();
  // A message arrived while an earlier reply was still unsent and is dropped (-410).
  void ReportQueryInterrupted() { ReportError(kQueryInterrupted); }
  // A message longer than the input limit was dropped (-223 "Too much data").
  void ReportMessageTooLong() { ReportError(kTooMuchData); }

  void ReportError(int code);
  ErrorQueue& errors() { return errors_; }
  EventStatus& events() { return events_; }
  RegisterGroup& operation() { return operation_; }
  RegisterGroup& questionable() { return questionable_; }
  InstrumentModel& model() { return model_; }
  const std::string& identity() const { return identity_; }
  const std::string& firmware() const { return firmware_; }
  std::uint8_t StatusByte() const;
  void SyncStatus();
  // Replies already produced for the message being executed (for *STB?'s MAV bit).
  bool reply_pending() const { return reply_pending_; }

 private:
  void Execute(const ProgramUnit& unit, Reply& reply);

  SimClock& clock_;
  InstrumentModel model_;
  ErrorQueue errors_;
  EventStatus events_;
  RegisterGroup operation_;
  RegisterGroup questionable_;
  CommandTree tree_;
  std::string identity_;
  std::string firmware_;
  bool reply_pending_ = false;
};

}  // namespace tqrsim
