// The fields of a program step as columns of a step file and of
// `motqr program show`, each bound to its Configure and Query members of
// IMorvaneTqrProgram.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "interfaces/program.h"
#include "tools/scalar.h"
#include "tools/status.h"

namespace motqr::cli {

struct StepField {
  std::string_view column;  // "negative-current"
  std::string (*describe)();
  bool (*valid)(std::string_view text);
  Status (*apply)(IMorvaneTqrProgram& program, std::int32_t step, std::string_view text);
  Status (*query)(IMorvaneTqrProgram& program, std::int32_t step, Scalar* value);
};

std::span<const StepField> StepFields();
const StepField* FindStepField(std::string_view column);
std::vector<std::string_view> StepColumnNames();

}  // namespace motqr::cli
