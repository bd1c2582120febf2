// The simulated supply behind the command tree: settings, output state on a resistive
// load, protection alarms, triggers, the program sequencer, integration and logging, the
// setting memories and the real-time clock. Time comes from a SimClock; Update() brings
// everything to the clock's present, handling every event in between in order.
#pragma once

#include <array>
#include <cstdint>
#include <random>
#include <vector>

#include "sim/data_logger.h"
#include "sim/iv_map.h"
#include "sim/model_ratings.h"
#include "sim/output_solver.h"
#include "sim/program_store.h"
#include "sim/sequencer.h"
#include "sim/settings.h"
#include "sim/sim_clock.h"

namespace tqrsim {

struct Measurement {
  double volts = 0.0;
  double amperes = 0.0;
  double watts = 0.0;
  double elapsed_seconds = 0.0;
  double ampere_hours = 0.0;
  double watt_hours = 0.0;
};

struct ModelOptions {
  double load_ohms = 10.0;
  double noise = 1e-4;  // relative, uniform in +-noise
  unsigned seed = 1;
  std::size_t iv_max_points = IvMap::kDefaultMaxPoints;  // per map
  std::size_t log_capacity = DataLogger::kDefaultCapacity;
};

class InstrumentModel {
 public:
  static constexpr int kMemories = 10;
  static constexpr double kMinLoadOhms = 1e-3;
  static constexpr double kMaxLoadOhms = 1e9;

  InstrumentModel(const ModelRatings& ratings, SimClock& clock, const ModelOptions& options);

  const ModelRatings& ratings() const { return ratings_; }
  SimClock& clock() { return clock_; }
  OutputSettings& output() { return output_; }
  SystemSettings& system() { return system_; }
  ProgramStore& programs() { return programs_; }
  const Sequencer& sequencer() const { return sequencer_; }
  IvMap& current_map() { return current_map_; }
  IvMap& voltage_map() { return voltage_map_; }

  void Update();
  void NoteCommand();

  OperatingPoint Point() const;
  Measurement Measure();
  const Measurement& last_acquired() const { return last_acquired_; }
  std::uint16_t OperationCondition() const;
  std::uint16_t alarms() const { return alarms_; }

  bool output_on() const { return output_on_; }
  int SetOutput(bool on);
  void ClearProtection() { alarms_ = 0; }

  int SetLoad(double ohms);
  double load_ohms() const { return load_ohms_; }
  void SetNoise(double noise) { noise_ = noise; }
  double noise() const { return noise_; }
  void SetLineVolts(double volts) { line_volts_ = volts; }
  double line_volts() const { return line_volts_; }
  void SetSenseFault(bool fault) { sense_fault_ = fault; }
  bool sense_fault() const { return sense_fault_; }

  int StartIntegral();
  int StopIntegral();
  void ResetIntegral();
  std::vector<double> RemoveData(std::size_t count) { return logger_.Remove(count); }
  std::size_t data_points() const { return logger_.size(); }
  std::size_t data_capacity() const { return logger_.capacity(); }

  int InitiateAcquire();
  int InitiateTransient();
  void AbortAcquire();
  void AbortTransient();
  int TriggerAcquire();    // bus trigger for the acquire system
  int TriggerTransient();  // bus trigger for the sequencer
  int TriggerBoth();       // *TRG
  void TriggerExternal();  // the external / sync trigger input
  int PauseTransient() { return sequencer_.Pause(clock_.Now()); }
  int ResumeTransient() { return sequencer_.Resume(clock_.Now()); }

  int SaveMemory(int number);
  int RecallMemory(int number);
  void Reset();
  void FactoryDefault();

  double WallSeconds() const;
  void SetWallSeconds(double seconds);
  void SyncWallClock() { wall_offset_ = 0.0; }

 private:
  void Integrate(double from, double to);
  void CheckProtection(double now);
  void Trip(std::uint16_t alarm);
  void RefreshGate(double now);
  void Acquire(double now);
  double LogPeriod() const;
  double NextEventTime() const;
  void ApplyStep(const ProgramStep& step);
  double Noisy(double value);
  Sequencer::ApplyStep StepApplier();

  ModelRatings ratings_;
  SimClock& clock_;
  OutputSettings output_;
  SystemSettings system_;
  std::array<OutputSettings, kMemories> memories_;
  ProgramStore programs_;
  Sequencer sequencer_;
  IvMap current_map_;
  IvMap voltage_map_;
  Integrals integrals_;
  DataLogger logger_;

  bool output_on_ = false;
  std::uint16_t alarms_ = 0;
  double load_ohms_;
  double noise_;
  double line_volts_ = 230.0;
  bool sense_fault_ = false;
  std::mt19937 random_;

  double last_update_ = 0.0;
  double last_command_ = 0.0;
  double over_current_since_ = -1.0;  // negative: not over the limit

  bool gate_open_ = false;
  bool manual_gate_ = false;
  double next_log_ = Sequencer::kNever;

  bool acquire_armed_ = false;
  int acquire_left_ = 0;
  double acquire_due_ = Sequencer::kNever;
  Measurement last_acquired_;

  double wall_offset_ = 0.0;
};

}  // namespace tqrsim
