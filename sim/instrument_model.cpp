#include "sim/instrument_model.h"

#include <algorithm>
#include <cmath>

#include "sim/scpi_errors.h"
#include "sim/setting_tables.h"
#include "sim/status_registers.h"
#include "sim/tokens.h"

namespace tqrsim {
namespace {
constexpr int kMaxEventsPerUpdate = 200000;
}

InstrumentModel::InstrumentModel(const ModelRatings& ratings, SimClock& clock,
                                 const ModelOptions& options)
    : ratings_(ratings),
      clock_(clock),
      output_(DefaultOutputSettings(ratings)),
      system_(DefaultSystemSettings(ratings)),
      programs_(ratings),
      current_map_(options.iv_max_points),
      voltage_map_(options.iv_max_points),
      logger_(options.log_capacity),
      load_ohms_(std::clamp(options.load_ohms, kMinLoadOhms, kMaxLoadOhms)),
      noise_(options.noise),
      random_(options.seed) {
  memories_.fill(output_);
  last_update_ = clock_.Now();
  last_command_ = last_update_;
}

Sequencer::ApplyStep InstrumentModel::StepApplier() {
  return [this](const ProgramStep& step) { ApplyStep(step); };
}

void InstrumentModel::ApplyStep(const ProgramStep& step) {
  output_.voltage = step.voltage;
  output_.current = step.current;
  output_.current_negative = step.current_negative;
  output_.current_seamless = step.current_seamless;
  output_.power = step.power;
  output_.power_negative = step.power_negative;
  output_.power_seamless = step.power_seamless;
  output_.internal_resistance = step.internal_resistance;
  if (step.function_mode == step_function::kIR) output_.priority = priority::kCR;
  if (step.function_mode == step_function::kCVSine) output_.priority = priority::kCV;
  if (step.function_mode == step_function::kCCSine) output_.priority = priority::kCC;
  if (alarms_ == 0) output_on_ = step.output_on;
}

OperatingPoint InstrumentModel::Point() const {
  if (!output_on_) return {};
  return SolveOutput(output_, load_ohms_);
}

double InstrumentModel::Noisy(double value) {
  if (noise_ <= 0.0) return value;
  std::uniform_real_distribution<double> spread(-noise_, noise_);
  return value * (1.0 + spread(random_));
}

Measurement InstrumentModel::Measure() {
  OperatingPoint point = Point();
  Measurement m;
  m.volts = Noisy(point.volts);
  m.amperes = Noisy(point.amperes);
  m.watts = m.volts * m.amperes;
  m.elapsed_seconds = integrals_.elapsed_seconds;
  m.ampere_hours = integrals_.ampere_hours;
  m.watt_hours = integrals_.watt_hours;
  last_acquired_ = m;
  return m;
}

std::uint16_t InstrumentModel::OperationCondition() const {
  std::uint16_t bits = 0;
  switch (Point().regulation) {
    case Regulation::kOff:
      break;
    case Regulation::kConstantVoltage:
      bits |= oper::kConstantVoltage;
      break;
    case Regulation::kConstantCurrent:
      bits |= oper::kConstantCurrent;
      break;
    case Regulation::kConstantPower:
      bits |= oper::kConstantPower;
      break;
    case Regulation::kConstantResistance:
      bits |= oper::kConstantResistance;
      break;
  }
  if (output_on_) bits |= oper::kOutputOn;
  switch (sequencer_.state()) {
    case TransientState::kIdle:
      break;
    case TransientState::kWaitTrigger:
      bits |= oper::kTransientWaitingTrigger | oper::kProgramRunning;
      break;
    case TransientState::kRun:
      bits |= oper::kProgramRunning;
      break;
    case TransientState::kPause:
      bits |= oper::kProgramPaused | oper::kProgramRunning;
      break;
  }
  if (acquire_armed_ && acquire_due_ == Sequencer::kNever) bits |= oper::kAcquireWaitingTrigger;
  if (gate_open_) bits |= oper::kIntegrating;
  return bits;
}

int InstrumentModel::SetOutput(bool on) {
  Update();
  if (on && alarms_ != 0) return kSettingsConflict;
  bool was_on = output_on_;
  output_on_ = on;
  over_current_since_ = -1.0;
  double now = clock_.Now();
  if (was_on && !on && acquire_armed_ && output_.acquire_source == acquire_source::kOutputOff &&
      acquire_due_ == Sequencer::kNever) {
    acquire_due_ = now + output_.acquire_delay;
  }
  RefreshGate(now);
  return 0;
}

int InstrumentModel::SetLoad(double ohms) {
  if (!(ohms >= kMinLoadOhms && ohms <= kMaxLoadOhms)) return kDataOutOfRange;
  Update();
  load_ohms_ = ohms;
  return 0;
}

void InstrumentModel::NoteCommand() { last_command_ = clock_.Now(); }

double InstrumentModel::LogPeriod() const {
  return output_.acquire_interval_enabled ? output_.acquire_interval : 1.0;
}

double InstrumentModel::NextEventTime() const {
  double next = std::min({sequencer_.NextEventTime(), acquire_due_, next_log_});
  // Protection deadlines already behind us have been handled; only future ones count.
  if (over_current_since_ >= 0.0 && over_current_since_ + output_.ocp_delay > last_update_) {
    next = std::min(next, over_current_since_ + output_.ocp_delay);
  }
  if (output_.watchdog_enabled && last_command_ + output_.watchdog_delay > last_update_) {
    next = std::min(next, last_command_ + output_.watchdog_delay);
  }
  return next;
}

void InstrumentModel::Update() {
  double now = clock_.Now();
  auto apply = StepApplier();
  // Event by event up to now; events due at exactly `now` are handled in the last round.
  for (int i = 0; i < kMaxEventsPerUpdate; ++i) {
    double next = std::max(last_update_, std::min(now, NextEventTime()));
    Integrate(last_update_, next);
    last_update_ = next;
    sequencer_.AdvanceTo(next, apply);
    if (acquire_due_ <= next) Acquire(next);
    if (next_log_ <= next) {
      logger_.Record(integrals_.ampere_hours);
      next_log_ = next + LogPeriod();
    }
    CheckProtection(next);
    RefreshGate(next);
    if (next >= now) return;
  }
  last_update_ = std::max(last_update_, now);  // too many events: catch up at once
}

void InstrumentModel::Integrate(double from, double to) {
  if (!gate_open_ || to <= from) return;
  OperatingPoint point = Point();
  integrals_.Accumulate(to - from, point.volts, point.amperes);
}

void InstrumentModel::Trip(std::uint16_t alarm) {
  alarms_ |= alarm;
  output_on_ = false;
  over_current_since_ = -1.0;
  sequencer_.Abort();
}

void InstrumentModel::CheckProtection(double now) {
  if (line_volts_ > system_.line_voltage_limit) Trip(ques::kLineOverVoltage);
  if (output_.watchdog_enabled && now - last_command_ >= output_.watchdog_delay) {
    Trip(ques::kWatchdog);
  }
  if (!output_on_) return;
  OperatingPoint point = Point();
  if (point.volts > output_.ovp) return Trip(ques::kOverVoltage);
  if (output_.ovp_lower_enabled && point.volts < output_.ovp_lower) {
    return Trip(ques::kUnderVoltage);
  }
  if (point.watts() > output_.opp) return Trip(ques::kOverPower);
  if (point.watts() < -output_.nopp) return Trip(ques::kSinkOverPower);
  if (output_.sense_error_enabled && sense_fault_) return Trip(ques::kSensing);
  bool over = point.amperes > output_.ocp || point.amperes < -output_.nocp;
  if (!over) {
    over_current_since_ = -1.0;
    return;
  }
  if (over_current_since_ < 0.0) over_current_since_ = now;
  if (now - over_current_since_ >= output_.ocp_delay) {
    Trip(point.amperes > 0.0 ? ques::kOverCurrent : ques::kSinkOverCurrent);
  }
}

void InstrumentModel::RefreshGate(double now) {
  bool open = false;
  switch (output_.gate_condition) {
    case gate_condition::kOutputOn:
      open = output_on_;
      break;
    case gate_condition::kManual:
      open = manual_gate_;
      break;
    case gate_condition::kProgramRunning:
      open = sequencer_.state() == TransientState::kRun;
      break;
    default:
      open = false;
      break;
  }
  if (open && !gate_open_) {
    if (output_.gate_reset == gate_reset::kAuto) integrals_ = {};
    next_log_ = now + LogPeriod();
  } else if (!open) {
    next_log_ = Sequencer::kNever;
  }
  gate_open_ = open;
}

int InstrumentModel::StartIntegral() {
  if (output_.gate_condition != gate_condition::kManual) return kSettingsConflict;
  Update();
  manual_gate_ = true;
  RefreshGate(clock_.Now());
  return 0;
}

int InstrumentModel::StopIntegral() {
  if (output_.gate_condition != gate_condition::kManual) return kSettingsConflict;
  Update();
  manual_gate_ = false;
  RefreshGate(clock_.Now());
  return 0;
}

void InstrumentModel::ResetIntegral() {
  Update();
  integrals_ = {};
  logger_.Clear();
}

void InstrumentModel::Acquire(double now) {
  Measure();
  if (--acquire_left_ > 0 && output_.acquire_source == acquire_source::kImmediate) {
    acquire_due_ =
        now + (output_.acquire_interval_enabled ? output_.acquire_interval : output_.aperture);
    return;
  }
  acquire_due_ = Sequencer::kNever;
  if (acquire_left_ <= 0) acquire_armed_ = false;
}

int InstrumentModel::InitiateAcquire() {
  Update();
  acquire_armed_ = true;
  acquire_left_ = output_.acquire_count;
  acquire_due_ = output_.acquire_source == acquire_source::kImmediate
                     ? clock_.Now() + output_.acquire_delay
                     : Sequencer::kNever;
  Update();
  return 0;
}

int InstrumentModel::InitiateTransient() {
  Update();
  if (sequencer_.state() != TransientState::kIdle) return kSettingsConflict;
  std::vector<Program> run;
  if (int rc = programs_.ProgramsToRun(run); rc != 0) return rc;
  sequencer_.Start(std::move(run), output_.transient_source, clock_.Now(), StepApplier());
  RefreshGate(clock_.Now());
  return 0;
}

void InstrumentModel::AbortAcquire() {
  acquire_armed_ = false;
  acquire_due_ = Sequencer::kNever;
}

void InstrumentModel::AbortTransient() {
  Update();
  sequencer_.Abort();
  RefreshGate(clock_.Now());
}

int InstrumentModel::TriggerAcquire() {
  Update();
  if (!acquire_armed_ || acquire_due_ != Sequencer::kNever ||
      output_.acquire_source != acquire_source::kBus) {
    return kTriggerIgnored;
  }
  acquire_due_ = clock_.Now() + output_.acquire_delay;
  Update();
  return 0;
}

int InstrumentModel::TriggerTransient() {
  Update();
  if (!sequencer_.Trigger(TriggerKind::kBus, clock_.Now(), StepApplier())) return kTriggerIgnored;
  RefreshGate(clock_.Now());
  return 0;
}

int InstrumentModel::TriggerBoth() {
  bool acquire = TriggerAcquire() == 0;
  bool transient = TriggerTransient() == 0;
  return acquire || transient ? 0 : kTriggerIgnored;
}

void InstrumentModel::TriggerExternal() {
  Update();
  double now = clock_.Now();
  if (acquire_armed_ && acquire_due_ == Sequencer::kNever &&
      (output_.acquire_source == acquire_source::kExternal ||
       output_.acquire_source == acquire_source::kMSync)) {
    acquire_due_ = now + output_.acquire_delay;
  }
  sequencer_.Trigger(TriggerKind::kExternal, now, StepApplier());
  Update();
}

int InstrumentModel::SaveMemory(int number) {
  if (number < 1 || number > kMemories) return kDataOutOfRange;
  memories_[static_cast<std::size_t>(number - 1)] = output_;
  return 0;
}

int InstrumentModel::RecallMemory(int number) {
  if (number < 1 || number > kMemories) return kDataOutOfRange;
  Update();
  output_ = memories_[static_cast<std::size_t>(number - 1)];
  return 0;
}

void InstrumentModel::Reset() {
  Update();
  output_ = DefaultOutputSettings(ratings_);
  output_on_ = false;
  alarms_ = 0;
  over_current_since_ = -1.0;
  manual_gate_ = false;
  sequencer_.Abort();
  AbortAcquire();
  RefreshGate(clock_.Now());
}

void InstrumentModel::FactoryDefault() {
  Reset();
  system_ = DefaultSystemSettings(ratings_);
  memories_.fill(output_);
}

double InstrumentModel::WallSeconds() const {
  return HostEpochSeconds() + clock_.advanced() + wall_offset_;
}

void InstrumentModel::SetWallSeconds(double seconds) {
  wall_offset_ = seconds - (HostEpochSeconds() + clock_.advanced());
}

}  // namespace tqrsim
