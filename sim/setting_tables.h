// Table rows for the plain settings: header pattern, the field it sets, and its limits
// (as factors of a rated value) or tokens. The command tree and the defaults both come
// from these rows, so a setting's header, range and default live in one place.
#pragma once

#include <span>
#include <string_view>

#include "sim/model_ratings.h"
#include "sim/settings.h"
#include "sim/tokens.h"

namespace tqrsim {

enum class Scale { kUnit, kVolt, kAmp, kWatt, kOhm };

struct Limits {
  double min;
  double max;
  double def;
};

template <typename S>
struct RealRow {
  std::string_view pattern;
  double& (*field)(S&);
  Scale scale;
  double min, max, def;
};

template <typename S>
struct IntRow {
  std::string_view pattern;
  int& (*field)(S&);
  int min, max, def;
};

template <typename S>
struct BoolRow {
  std::string_view pattern;
  bool& (*field)(S&);
  bool def;
};

template <typename S>
struct EnumRow {
  std::string_view pattern;
  int& (*field)(S&);
  TokenList tokens;
  int def;
};

// The limits of a real row for one model.
Limits ResolveLimits(Scale scale, double min, double max, double def, const ModelRatings& model);
template <typename S>
Limits RowLimits(const RealRow<S>& row, const ModelRatings& model) {
  return ResolveLimits(row.scale, row.min, row.max, row.def, model);
}

std::span<const RealRow<OutputSettings>> OutputRealRows();
std::span<const IntRow<OutputSettings>> OutputIntRows();
std::span<const BoolRow<OutputSettings>> OutputBoolRows();
std::span<const EnumRow<OutputSettings>> OutputEnumRows();
std::span<const RealRow<SystemSettings>> SystemRealRows();
std::span<const IntRow<SystemSettings>> SystemIntRows();
std::span<const BoolRow<SystemSettings>> SystemBoolRows();
std::span<const EnumRow<SystemSettings>> SystemEnumRows();
// Step rows: patterns start with PROGram:STEP#.
std::span<const RealRow<ProgramStep>> StepRealRows();
std::span<const BoolRow<ProgramStep>> StepBoolRows();
std::span<const EnumRow<ProgramStep>> StepEnumRows();
// Per-program rows of the selected program.
std::span<const IntRow<Program>> ProgramIntRows();
std::span<const EnumRow<Program>> ProgramEnumRows();

OutputSettings DefaultOutputSettings(const ModelRatings& model);
SystemSettings DefaultSystemSettings(const ModelRatings& model);
ProgramStep DefaultStep(const ModelRatings& model);

}  // namespace tqrsim
