#include "commands/model_based_map.h"

#include "driver/identity.h"

namespace motqr::commands {

std::vector<std::string_view> ModelsOfFamily(std::string_view family) {
  std::vector<std::string_view> models;
  std::string_view all = driver::DriverConstants::kSupportedModels;
  while (!all.empty()) {
    const std::size_t comma = all.find(',');
    const std::string_view model = all.substr(0, comma);
    const std::string* model_family = driver::FindModelFamily(model);
    if (model_family && *model_family == family) models.push_back(model);
    all.remove_prefix(comma == std::string_view::npos ? all.size() : comma + 1);
  }
  return models;
}

ModelKeyKind ClassifyModelKey(std::string_view key) {
  if (key.empty()) return ModelKeyKind::kDefault;
  if (driver::IsKnownModel(key)) return ModelKeyKind::kModel;
  if (driver::IsModelFamily(key)) return ModelKeyKind::kFamily;
  return ModelKeyKind::kUnknown;
}

}  // namespace motqr::commands
