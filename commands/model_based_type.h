// CModelBasedType: base of the objects that are looked up by instrument model.
// The key is a model name ("TQR-M3"), a model family ("DefaultFamily") or ""
// for the entry that serves every model without one of its own.
#pragma once

#include <string>
#include <string_view>

namespace motqr::commands {

class CModelBasedType {
 public:
  explicit CModelBasedType(std::string_view model_key) : model_key_(model_key) {}
  virtual ~CModelBasedType() = default;
  CModelBasedType(const CModelBasedType&) = delete;
  CModelBasedType& operator=(const CModelBasedType&) = delete;

  const std::string& model_key() const { return model_key_; }

  // Whether an entry a model already has stays in place when this object,
  // keyed by a family, is spread over the family's models.
  virtual bool KeepsExistingModelEntry() const { return true; }

 private:
  std::string model_key_;
};

}  // namespace motqr::commands
