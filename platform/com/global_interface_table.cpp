#include "platform/com/global_interface_table.h"

#include <mutex>
#include <unordered_map>

#include "platform/com/com_ptr.h"

namespace motqr::com {
namespace {

struct Table {
  std::mutex mutex;
  std::uint32_t next_cookie = 1;
  std::unordered_map<std::uint32_t, ComPtr<IUnknown>> entries;
};

Table& TheTable() {
  static Table* table = new Table;  // lives until the module unloads
  return *table;
}

}  // namespace

HRESULT RegisterInterfaceInGlobal(IUnknown* object, const IID& iid, std::uint32_t* cookie) {
  if (!object || !cookie) return E_INVALIDARG;
  *cookie = 0;
  ComPtr<IUnknown> held;
  if (HRESULT hr = object->QueryInterface(iid, held.PutVoid()); Failed(hr)) return hr;
  Table& t = TheTable();
  std::lock_guard lock(t.mutex);
  if (t.next_cookie == 0) return E_OUTOFMEMORY;  // all 2^32 - 1 cookies used
  *cookie = t.next_cookie++;
  t.entries.emplace(*cookie, std::move(held));
  return S_OK;
}

HRESULT RevokeInterfaceFromGlobal(std::uint32_t cookie) {
  ComPtr<IUnknown> released;  // released outside the lock
  Table& t = TheTable();
  std::lock_guard lock(t.mutex);
  auto it = t.entries.find(cookie);
  if (it == t.entries.end()) return E_INVALIDARG;
  released = std::move(it->second);
  t.entries.erase(it);
  return S_OK;
}

HRESULT GetInterfaceFromGlobal(std::uint32_t cookie, const IID& iid, void** object) {
  if (!object) return E_INVALIDARG;
  *object = nullptr;
  ComPtr<IUnknown> held;
  {
    Table& t = TheTable();
    std::lock_guard lock(t.mutex);
    auto it = t.entries.find(cookie);
    if (it == t.entries.end()) return E_INVALIDARG;
    held = it->second;
  }
  return held->QueryInterface(iid, object);
}

}  // namespace motqr::com
