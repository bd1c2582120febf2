#include "sim/sequencer.h"

#include "sim/scpi_errors.h"
#include "sim/tokens.h"

namespace tqrsim {
namespace {
constexpr int kMaxStepChangesPerAdvance = 100000;
}

bool Sequencer::Accepts(int wait_source, TriggerKind kind) {
  switch (kind) {
    case TriggerKind::kBus:
      return wait_source == trigger_source::kBus;
    case TriggerKind::kExternal:
      return wait_source == trigger_source::kExternal || wait_source == trigger_source::kMSync;
  }
  return false;
}

const ProgramStep& Sequencer::current_step() const { return programs_[program_].steps[step_]; }

std::string Sequencer::program_name() const {
  if (state_ == TransientState::kIdle || program_ >= programs_.size()) return {};
  return programs_[program_].name;
}

void Sequencer::Start(std::vector<Program> programs, int trigger_source, double now,
                      const ApplyStep& apply) {
  programs_ = std::move(programs);
  start_source_ = trigger_source;
  program_ = 0;
  step_ = 0;
  loop_ = 1;
  if (trigger_source == trigger_source::kImmediate) {
    Begin(now, apply);
  } else {
    state_ = TransientState::kWaitTrigger;
    waiting_for_start_ = true;
  }
}

void Sequencer::Abort() {
  state_ = TransientState::kIdle;
  waiting_for_start_ = false;
  step_end_ = kNever;
  programs_.clear();
}

int Sequencer::Pause(double now) {
  if (state_ != TransientState::kRun) return kSettingsConflict;
  pause_left_ = step_end_ > now ? step_end_ - now : 0.0;
  state_ = TransientState::kPause;
  return 0;
}

int Sequencer::Resume(double now) {
  if (state_ != TransientState::kPause) return kSettingsConflict;
  state_ = TransientState::kRun;
  step_end_ = now + pause_left_;
  return 0;
}

bool Sequencer::Trigger(TriggerKind kind, double now, const ApplyStep& apply) {
  if (state_ != TransientState::kWaitTrigger) return false;
  if (waiting_for_start_) {
    if (!Accepts(start_source_, kind)) return false;
    Begin(now, apply);
    return true;
  }
  if (!Accepts(current_step().trigger_wait, kind)) return false;
  Activate(now, apply);
  return true;
}

void Sequencer::Begin(double now, const ApplyStep& apply) {
  waiting_for_start_ = false;
  program_ = 0;
  step_ = 0;
  loop_ = 1;
  EnterStep(now, apply);
}

void Sequencer::EnterStep(double now, const ApplyStep& apply) {
  if (current_step().trigger_wait != trigger_source::kImmediate) {
    state_ = TransientState::kWaitTrigger;
    step_end_ = kNever;
    return;
  }
  Activate(now, apply);
}

void Sequencer::Activate(double now, const ApplyStep& apply) {
  state_ = TransientState::kRun;
  apply(current_step());
  step_end_ = now + current_step().dwell;
}

void Sequencer::NextStep(double now, const ApplyStep& apply) {
  if (++step_ >= programs_[program_].steps.size()) {
    step_ = 0;
    ++loop_;
    int loops = programs_[program_].loop_count;  // 0 repeats for ever
    if (loops != 0 && loop_ > loops) {
      loop_ = 1;
      if (++program_ >= programs_.size()) {
        Abort();
        return;
      }
    }
  }
  EnterStep(now, apply);
}

void Sequencer::AdvanceTo(double now, const ApplyStep& apply) {
  for (int i = 0; i < kMaxStepChangesPerAdvance; ++i) {
    if (state_ != TransientState::kRun || step_end_ > now) return;
    NextStep(step_end_, apply);
  }
  // Too many step changes in one go (tiny dwell times over a long jump): catch up at once.
  if (state_ == TransientState::kRun && step_end_ < now) step_end_ = now;
}

}  // namespace tqrsim
