#include "driver/node.h"

#include "driver/driver.h"

namespace motqr::driver {
namespace {
const std::string kEmpty;
}

const std::vector<CNode::Child>& CNode::Children(const std::string& rc_class) const {
  static const std::vector<Child> kNone;
  auto it = children_.find(rc_class);
  return it == children_.end() ? kNone : it->second;
}

const std::string& CNode::TopCommand() const {
  return commands_.empty() ? kEmpty : commands_.back();
}

void CNode::InvalidateAllAttributes() {
  store_.InvalidateAll();
  for (auto& [rc_class, children] : children_) {
    for (Child& c : children) c.node->InvalidateAllAttributes();
  }
}

HRESULT CNode::ForEachPreOrder(HRESULT (CNode::*hook)()) {
  if (HRESULT hr = (this->*hook)(); com::Failed(hr)) return hr;
  for (auto& [rc_class, children] : children_) {
    for (Child& c : children) {
      if (HRESULT hr = c.node->ForEachPreOrder(hook); com::Failed(hr)) return hr;
    }
  }
  return com::S_OK;
}

HRESULT CNode::ForEachPostOrder(HRESULT (CNode::*hook)()) {
  for (auto& [rc_class, children] : children_) {
    for (Child& c : children) {
      if (HRESULT hr = c.node->ForEachPostOrder(hook); com::Failed(hr)) return hr;
    }
  }
  return (this->*hook)();
}

void CNode::DestroyChildren() {
  auto collections = std::move(children_);
  children_.clear();
  for (auto& [rc_class, children] : collections) {
    for (Child& c : children) {
      c.node->DestroyChildren();
      c.node->Attach(nullptr, nullptr);
    }
  }
  // The references are released here, after every child has been detached.
}

HRESULT CNode::PollInstrumentErrors() {
  CDriver* driver = session_driver();
  return driver ? driver->PollInstrumentErrors() : com::S_OK;
}

const errors::MethodDescriptor* CNode::GetCallContext() {
  CDriver* driver = session_driver();
  return driver ? driver->GetCallContext() : nullptr;
}

}  // namespace motqr::driver
