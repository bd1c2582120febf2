// Rated output of each TQR model. The supplies are bipolar: the rated voltage and current
// apply to both polarities, sourcing and sinking.
#pragma once

#include <optional>
#include <span>
#include <string_view>

namespace tqrsim {

struct ModelRatings {
  std::string_view name;
  double volts;
  double amperes;
  double watts;
};

std::span<const ModelRatings> AllModels();
// Looks a model up by its exact name ("TQR-M4").
std::optional<ModelRatings> FindModel(std::string_view name);

}  // namespace tqrsim
