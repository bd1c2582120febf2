#include "platform/visa/visa_library.h"

#include <dlfcn.h>

#include <array>
#include <mutex>

namespace motqr::visa {
namespace {

constexpr std::string_view kDefaultNames[] = {"libvisa.so", "libvisa.so.7", "libiovisa.so",
                                              "librsvisa.so"};

struct LibraryCache {
  std::mutex mutex;
  std::vector<std::string> names;  // empty: the defaults
  std::shared_ptr<VisaLibrary> loaded;
};

LibraryCache& Cache() {
  // Never destroyed: sessions may outlive static destruction order.
  static LibraryCache* cache = new LibraryCache;
  return *cache;
}

std::vector<std::string> NamesToTry(const LibraryCache& cache) {
  if (!cache.names.empty()) return cache.names;
  return {std::begin(kDefaultNames), std::end(kDefaultNames)};
}

template <typename Function>
bool Resolve(void* handle, const char* symbol, Function* function) {
  *function = reinterpret_cast<Function>(::dlsym(handle, symbol));
  return *function != nullptr;
}

std::string LoaderError() {
  const char* text = ::dlerror();
  return text != nullptr ? text : "unknown loader error";
}

}  // namespace

Status VisaLibrary::Load(const std::string& name, std::shared_ptr<VisaLibrary>* library) {
  std::shared_ptr<VisaLibrary> loaded(new VisaLibrary);
  loaded->name_ = name;
  loaded->handle_ = ::dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (loaded->handle_ == nullptr) return Status(VI_ERROR_LIBRARY_NFOUND, LoaderError());
  VisaApi& api = loaded->api_;
  void* handle = loaded->handle_;
  const bool complete =
      Resolve(handle, "viOpenDefaultRM", &api.viOpenDefaultRM) &&
      Resolve(handle, "viOpen", &api.viOpen) && Resolve(handle, "viClose", &api.viClose) &&
      Resolve(handle, "viRead", &api.viRead) && Resolve(handle, "viWrite", &api.viWrite) &&
      Resolve(handle, "viReadSTB", &api.viReadSTB) && Resolve(handle, "viClear", &api.viClear) &&
      Resolve(handle, "viGetAttribute", &api.viGetAttribute) &&
      Resolve(handle, "viSetAttribute", &api.viSetAttribute) &&
      Resolve(handle, "viLock", &api.viLock) && Resolve(handle, "viUnlock", &api.viUnlock);
  if (!complete) return Status(VI_ERROR_LIBRARY_NFOUND, name + ": " + LoaderError());
  Resolve(handle, "viAssertTrigger", &api.viAssertTrigger);
  Resolve(handle, "viStatusDesc", &api.viStatusDesc);
  const ViStatus opened = api.viOpenDefaultRM(&loaded->default_rm_);
  if (opened < VI_SUCCESS) {
    loaded->default_rm_ = VI_NULL;
    return Status(opened, name + ": the default resource manager could not be opened: " +
                              loaded->Check(opened, VI_NULL).message());
  }
  *library = std::move(loaded);
  return Status();
}

Status VisaLibrary::Get(std::shared_ptr<VisaLibrary>* library) {
  LibraryCache& cache = Cache();
  std::lock_guard<std::mutex> hold(cache.mutex);
  if (cache.loaded != nullptr) {
    *library = cache.loaded;
    return Status();
  }
  std::string tried;
  std::string last_error;
  for (const std::string& name : NamesToTry(cache)) {
    Status status = Load(name, &cache.loaded);
    if (status.ok()) {
      *library = cache.loaded;
      return status;
    }
    // A library that loads but cannot open its resource manager is reported as it is.
    if (status.code() != VI_ERROR_LIBRARY_NFOUND) return status;
    tried += (tried.empty() ? "" : ", ") + name;
    last_error = status.message();
  }
  return Status(VI_ERROR_LIBRARY_NFOUND,
                "No VISA library was found (tried " + tried + "): " + last_error);
}

VisaLibrary::~VisaLibrary() {
  if (default_rm_ != VI_NULL) api_.viClose(default_rm_);
  if (handle_ != nullptr) ::dlclose(handle_);
}

Status VisaLibrary::Check(ViStatus status, ViObject vi) const {
  if (status == VI_SUCCESS) return Status();
  std::array<ViChar, kViStringBufferSize> text{};
  if (api_.viStatusDesc != nullptr && api_.viStatusDesc(vi, status, text.data()) >= VI_SUCCESS) {
    text.back() = '\0';
    if (text.front() != '\0') return Status(status, text.data());
  }
  return Status(status);
}

std::span<const std::string_view> DefaultVisaLibraryNames() { return kDefaultNames; }

void SetVisaLibraryNames(std::vector<std::string> names) {
  LibraryCache& cache = Cache();
  std::shared_ptr<VisaLibrary> previous;
  {
    std::lock_guard<std::mutex> hold(cache.mutex);
    cache.names = std::move(names);
    previous = std::move(cache.loaded);
  }
  // `previous` unloads here, outside the lock, if no session holds it.
}

}  // namespace motqr::visa
