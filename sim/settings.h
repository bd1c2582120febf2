// Every setting the instrument keeps. OutputSettings return to their defaults on *RST and
// are what the setting memories hold; SystemSettings survive *RST and return to their
// defaults only on a factory default (:MEMory:CLEar).
#pragma once

#include <array>
#include <string>
#include <vector>

namespace tqrsim {

inline constexpr std::size_t kIoTerminals = 4;

struct OutputSettings {
  double voltage = 0, current = 0, current_negative = 0, power = 0, power_negative = 0;
  double current_seamless = 0, power_seamless = 0, internal_resistance = 0;
  double current_slew = 0, voltage_slew = 0;
  double current_pulse_frequency = 0, current_pulse_duty = 0, current_pulse_high = 0,
         current_pulse_low = 0;
  double voltage_pulse_frequency = 0, voltage_pulse_duty = 0, voltage_pulse_high = 0,
         voltage_pulse_low = 0;
  double current_sine_amplitude = 0, current_sine_frequency = 0, current_sine_offset = 0;
  double voltage_sine_amplitude = 0, voltage_sine_frequency = 0, voltage_sine_offset = 0;
  double ocp = 0, ocp_delay = 0, nocp = 0, opp = 0, nopp = 0, ovp = 0, ovp_lower = 0;
  double watchdog_delay = 0;
  double acquire_delay = 0, acquire_interval = 0, aperture = 0;
  int acquire_count = 1;
  int voltage_mode = 0, current_mode = 0, power_mode = 0, priority = 0, off_impedance = 0;
  int current_response = 0, voltage_response = 0;
  int acquire_source = 0, transient_source = 0, gate_condition = 0, gate_reset = 0;
  bool ovp_lower_enabled = false, watchdog_enabled = false, sense_error_enabled = false;
  bool acquire_interval_enabled = false, msync_accept = false;
};

struct SystemSettings {
  bool key_lock = false, remote_sensing = false, io_enabled = false;
  int key_lock_level = 1, remote_local = 0, power_on_recall = 0, output_power_on = 0;
  double line_voltage_limit = 0;
  double analog_control_selected = 0, analog_control_voltage = 0;
  double analog_monitor_current = 0, analog_monitor_voltage = 0;
  std::string time_zone = "UTC";
  std::array<int, kIoTerminals> io_input_filter{}, io_input_function{}, io_input_polarity{};
  std::array<int, kIoTerminals> io_output_function{}, io_output_polarity{};
};

struct ProgramStep {
  double dwell = 0, current = 0, current_negative = 0, current_seamless = 0;
  double power = 0, power_negative = 0, power_seamless = 0, voltage = 0;
  double internal_resistance = 0;
  int transition = 0, function_mode = 0, ramp = 0, trigger_wait = 0, signal = 0;
  bool output_on = true;
};

struct Program {
  std::string name;
  std::vector<ProgramStep> steps;
  int loop_count = 1;
  int current_function_mode = 0, power_function_mode = 0;
};

}  // namespace tqrsim
