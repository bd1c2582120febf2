#include "sim/model_ratings.h"

#include <array>

namespace tqrsim {

std::span<const ModelRatings> AllModels() {
  static constexpr std::array<ModelRatings, 7> kModels{{
      {"TQR-M1", 20.0, 5.0, 100.0},
      {"TQR-M2", 20.0, 10.0, 200.0},
      {"TQR-M3", 40.0, 10.0, 400.0},
      {"TQR-M4", 100.0, 20.0, 1000.0},
      {"TQR-M5", 100.0, 30.0, 2000.0},
      {"TQR-M6", 60.0, 50.0, 2000.0},
      {"TQR-M7", 100.0, 50.0, 4000.0},
  }};
  return kModels;
}

std::optional<ModelRatings> FindModel(std::string_view name) {
  for (const ModelRatings& model : AllModels()) {
    if (model.name == name) return model;
  }
  return std::nullopt;
}

}  // namespace tqrsim
