// The simulation store: per driver or channel object, qualified member name ->
// typed value holder. An entry is created invalid on the first look-up of its
// key and is typed by the member that created it.
#pragma once

#include <memory>
#include <string>
#include <typeinfo>
#include <unordered_map>

#include "driver/string_hash.h"
#include "platform/com/bstr.h"

namespace motqr::driver {

class CCacheEntryBase {
 public:
  virtual ~CCacheEntryBase() = default;
  virtual void Invalidate() = 0;
  virtual void SetValid() = 0;
  virtual bool IsValid() const = 0;
  virtual const std::type_info& ValueType() const = 0;
};

// How a value type is kept: plain values are copied; wide strings are owned copies.
template <class T>
struct SimpleCacheEntryTraits {
  using Stored = T;
  static void Release(Stored& v) { v = T{}; }
  static bool Store(Stored& to, const T& from) {
    to = from;
    return true;
  }
  static T Zero() { return T{}; }
};

template <class T>
struct CacheEntryTraits : SimpleCacheEntryTraits<T> {};

template <>
struct CacheEntryTraits<com::BSTR> {
  using Stored = com::Bstr;
  static void Release(Stored& v) { v.Reset(); }
  static bool Store(Stored& to, const com::BSTR& from) {
    to = com::Bstr(com::BstrView(from));
    return !to.IsNull();
  }
};

template <class T>
class CCacheEntry final : public CCacheEntryBase {
 public:
  using Traits = CacheEntryTraits<T>;
  void Invalidate() override {
    if (valid_) Traits::Release(value_);
    valid_ = false;
  }
  void SetValid() override { valid_ = true; }
  bool IsValid() const override { return valid_; }
  const std::type_info& ValueType() const override { return typeid(T); }

  const typename Traits::Stored& value() const { return value_; }
  // Stores a copy of `v`; false when the copy could not be made.
  bool Store(const T& v) {
    if (valid_) Traits::Release(value_);
    valid_ = false;
    return Traits::Store(value_, v);
  }

 private:
  bool valid_ = false;
  typename Traits::Stored value_{};
};

class SimulationStore {
 public:
  // The entry of `key`, created invalid when absent; null when the key already
  // holds an entry of another type.
  template <class T>
  CCacheEntry<T>* Lookup(const std::string& key) {
    auto it = entries_.find(key);
    if (it == entries_.end()) {
      it = entries_.emplace(key, std::make_unique<CCacheEntry<T>>()).first;
    }
    if (it->second->ValueType() != typeid(T)) return nullptr;
    return static_cast<CCacheEntry<T>*>(it->second.get());
  }
  void InvalidateAll() {
    for (auto& [key, entry] : entries_) entry->Invalidate();
  }
  void Clear() { entries_.clear(); }
  std::size_t size() const { return entries_.size(); }

 private:
  std::unordered_map<std::string, std::unique_ptr<CCacheEntryBase>, StringHash, StringEqual>
      entries_;
};

}  // namespace motqr::driver
