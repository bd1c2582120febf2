// CModelBasedMap: model-keyed objects (CEnumCommand tables) by model name.
// Keys are model names, "" for the default, or a model family, which stands
// for each of its models that has no entry of its own. Look-up: the model's
// own entry, else the default, else none.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "driver/string_hash.h"

namespace motqr::commands {

// The models of the model table that belong to `family`.
std::vector<std::string_view> ModelsOfFamily(std::string_view family);

enum class ModelKeyKind { kDefault, kModel, kFamily, kUnknown };
ModelKeyKind ClassifyModelKey(std::string_view key);

template <typename Object>
class CModelBasedMap {
 public:
  // Takes ownership of `objects`. Model and default keys take their entry
  // (a later object with the same key replaces an earlier one); a family key
  // fills each model of the family whose existing entry does not stay; any
  // other key is ignored (the object is still owned).
  explicit CModelBasedMap(std::vector<std::unique_ptr<Object>> objects)
      : objects_(std::move(objects)) {
    for (const auto& object : objects_) {
      if (ClassifyModelKey(object->model_key()) != ModelKeyKind::kFamily)
        Place(object->model_key(), object.get());
    }
    for (const auto& object : objects_) {
      if (ClassifyModelKey(object->model_key()) == ModelKeyKind::kFamily) Spread(*object);
    }
  }

  // The entry for `model`, else the default entry, else null.
  const Object* Find(std::string_view model) const {
    if (auto it = by_model_.find(model); it != by_model_.end()) return it->second;
    if (auto it = by_model_.find(std::string_view()); it != by_model_.end()) return it->second;
    return nullptr;
  }

  const std::vector<std::unique_ptr<Object>>& objects() const { return objects_; }

 private:
  void Place(std::string_view key, const Object* object) {
    switch (ClassifyModelKey(key)) {
      case ModelKeyKind::kDefault:
      case ModelKeyKind::kModel:
        by_model_.insert_or_assign(std::string(key), object);
        return;
      case ModelKeyKind::kFamily:
      case ModelKeyKind::kUnknown:
        return;
    }
  }

  void Spread(const Object& family_object) {
    for (std::string_view model : ModelsOfFamily(family_object.model_key())) {
      auto it = by_model_.find(model);
      if (it == by_model_.end()) {
        by_model_.emplace(std::string(model), &family_object);
      } else if (!it->second->KeepsExistingModelEntry()) {
        it->second = &family_object;
      }
    }
  }

  std::vector<std::unique_ptr<Object>> objects_;
  std::unordered_map<std::string, const Object*, driver::StringHash, driver::StringEqual> by_model_;
};

}  // namespace motqr::commands
