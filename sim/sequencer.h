// Runs programs step by step in simulated time: waits for the start trigger, waits for a
// step's trigger, applies the step's settings, dwells, repeats the program for its loop
// count and moves on along the chain. Pause keeps the rest of the dwell time.
#pragma once

#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "sim/settings.h"

namespace tqrsim {

enum class TransientState { kIdle, kWaitTrigger, kRun, kPause };

// Kinds of trigger the sequencer can be waiting for or be given.
enum class TriggerKind { kBus, kExternal };

class Sequencer {
 public:
  using ApplyStep = std::function<void(const ProgramStep&)>;

  static constexpr double kNever = std::numeric_limits<double>::infinity();

  // Starts `programs` (each with at least one step). `trigger_source` is the transient
  // trigger source token index (IMM, BUS, EXT, MSYN).
  void Start(std::vector<Program> programs, int trigger_source, double now, const ApplyStep& apply);
  void Abort();
  int Pause(double now);
  int Resume(double now);
  // Gives a trigger; true when the sequencer was waiting for it.
  bool Trigger(TriggerKind kind, double now, const ApplyStep& apply);
  // Time of the next step change while running.
  double NextEventTime() const { return state_ == TransientState::kRun ? step_end_ : kNever; }
  // Handles every step change due at or before `now`.
  void AdvanceTo(double now, const ApplyStep& apply);

  TransientState state() const { return state_; }
  std::string program_name() const;
  int step_number() const {
    return state_ == TransientState::kIdle ? 0 : static_cast<int>(step_) + 1;
  }
  int loop_number() const { return state_ == TransientState::kIdle ? 0 : loop_; }

 private:
  void Begin(double now, const ApplyStep& apply);
  void EnterStep(double now, const ApplyStep& apply);
  void Activate(double now, const ApplyStep& apply);
  void NextStep(double now, const ApplyStep& apply);
  const ProgramStep& current_step() const;
  static bool Accepts(int wait_source, TriggerKind kind);

  std::vector<Program> programs_;
  TransientState state_ = TransientState::kIdle;
  bool waiting_for_start_ = false;
  int start_source_ = 0;
  std::size_t program_ = 0;
  std::size_t step_ = 0;
  int loop_ = 0;
  double step_end_ = kNever;
  double pause_left_ = 0.0;
};

}  // namespace tqrsim
