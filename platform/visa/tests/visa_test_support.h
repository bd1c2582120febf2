// Shorthands for the transport and VISA-COM tests: open a resource, one read as a value, an
// attribute, a property, the thread's error text.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/com/class_registry.h"
#include "platform/com/error_info.h"
#include "platform/visa/open_transport.h"
#include "platform/visa/resource_manager.h"

namespace motqr::visa::testing {

// Opens `resource` with `backend`; the status of the open goes to `status` when asked for.
inline std::unique_ptr<Transport> Open(std::string_view resource, Backend backend,
                                       Status* status = nullptr, OpenOptions options = {}) {
  ResourceName name;
  EXPECT_TRUE(ParseResourceName(resource, &name).ok()) << resource;
  EXPECT_EQ(BackendFor(name, options), backend) << resource;
  std::unique_ptr<Transport> transport;
  const Status opened = OpenTransport(name, options, &transport);
  if (status) {
    *status = opened;
  } else {
    EXPECT_TRUE(opened.ok()) << opened.message();
  }
  return transport;
}

// What one read returned: its code, why it stopped, the bytes stored and the status text.
struct Reading {
  ViStatus code;
  ReadStop stop;
  std::string bytes;
  std::string message;

  bool operator==(const Reading& other) const {  // the text is checked on its own
    return code == other.code && stop == other.stop && bytes == other.bytes;
  }
  friend void PrintTo(const Reading& r, std::ostream* os) {
    *os << std::hex << "{0x" << r.code << std::dec << ", stop " << static_cast<int>(r.stop)
        << ", \"" << r.bytes << "\"}";
  }
};

inline Reading Read(Transport& transport, std::size_t count = 64) {
  std::vector<std::uint8_t> buffer(count);
  ReadResult result;
  const Status status = transport.Read(buffer, &result);
  return {status.code(), result.stop,
          std::string(buffer.begin(), buffer.begin() + static_cast<long>(result.count)),
          status.message()};
}

inline Status Write(Transport& transport, std::string_view text, bool end = true) {
  std::size_t written = 0;
  return transport.Write(AsBytes(text), end, &written);
}

// The attribute's value; a failed read is a test failure.
inline ViAttrState Attribute(Transport& transport, ViAttr attribute) {
  ViAttrState value = 0xBAD;
  const Status status = transport.GetAttribute(attribute, &value);
  EXPECT_TRUE(status.ok()) << std::hex << attribute << ": " << status.message();
  return value;
}

// ---------------------------------------------------------------- VISA-COM objects

inline std::string LastErrorDescription() {
  com::ErrorRecord record;
  return com::TakeErrorInfo(&record) ? record.description : "<no error object>";
}

// The value a property getter gives; a failed get is a test failure.
template <class T, class Object, class Interface>
T Get(const com::ComPtr<Object>& object, HRESULT (Interface::*getter)(T*)) {
  T value{};
  EXPECT_EQ((object.Get()->*getter)(&value), com::S_OK) << LastErrorDescription();
  return value;
}

inline com::ComPtr<IResourceManager> ResourceManager(const com::CLSID& clsid) {
  com::ComPtr<IResourceManager> rm;
  EXPECT_EQ(
      com::CoCreateInstance(clsid, nullptr, com::CLSCTX_ALL, IResourceManager::kIid, rm.PutVoid()),
      com::S_OK);
  return rm;
}

// A message session on `resource` (the VISA-COM classes registered).
inline com::ComPtr<IMessage> OpenMessage(const std::string& resource) {
  com::ComPtr<IResourceManager> rm = ResourceManager(kClsidResourceManager);
  com::ComPtr<IVisaSession> session;
  com::ComPtr<IMessage> message;
  if (!rm) return message;
  EXPECT_EQ(rm->Open(com::Bstr::FromUtf8(resource).Get(), NO_LOCK, 2000, nullptr, session.Put()),
            com::S_OK)
      << LastErrorDescription();
  if (session) {
    EXPECT_EQ(session.As(&message), com::S_OK);
  }
  return message;
}

}  // namespace motqr::visa::testing
