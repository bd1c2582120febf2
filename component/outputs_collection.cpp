#include "component/outputs_collection.h"

namespace motqr::component {
namespace {

const std::vector<driver::CNode::Child>* Channels(driver::CallFrame& f) {
  auto& collections = f.driver().child_collections();
  auto it = collections.find(repcap::kOutputChannelRepCap);
  return it == collections.end() ? nullptr : &it->second;
}

}  // namespace

HRESULT OutputsLookup::Count(driver::CallFrame& f, std::int32_t* count) {
  const auto* channels = Channels(f);
  if (!channels) return com::E_UNEXPECTED;
  *count = static_cast<std::int32_t>(channels->size());
  return com::S_OK;
}

HRESULT OutputsLookup::Find(driver::CallFrame& f, const char16_t* name, com::IUnknown** channel) {
  const auto* channels = Channels(f);
  if (!channels) return com::E_UNEXPECTED;
  const std::string requested = com::BstrToUtf8(name);
  if (channels->size() == 1 && requested.empty()) {
    return channels->front().object.CopyTo(channel);
  }
  const std::string physical =
      repcap::ResolveChannelName(f.driver().settings().virtual_names, requested);
  for (const auto& child : *channels) {
    auto* rep_cap = static_cast<repcap::CRepCap*>(child.node);
    if (repcap::EqualsIgnoringCase(rep_cap->physical_name(), physical)) {
      return child.object.CopyTo(channel);
    }
  }
  return f.reporter().UnknownPhysicalIdentifier(requested);
}

HRESULT OutputsLookup::Name(driver::CallFrame& f, std::int32_t index, std::string* name) {
  const auto* channels = Channels(f);
  if (!channels) return com::E_UNEXPECTED;
  if (index < 1 || index > static_cast<std::int32_t>(channels->size())) {
    return f.reporter().InvalidValueIntCurrent("Index", index, "%d");
  }
  auto* rep_cap =
      static_cast<repcap::CRepCap*>((*channels)[static_cast<std::size_t>(index - 1)].node);
  *name = repcap::PresentationName(f.driver().settings().virtual_names,
                                   repcap::kOutputChannelRepCap, rep_cap->physical_name());
  return com::S_OK;
}

}  // namespace motqr::component
