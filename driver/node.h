// CNode: what every driver and channel object carries -- its place in the
// object tree, its command and response-format stacks, and its simulation store.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "driver/cache_entry.h"
#include "errors/call_context.h"
#include "io/instr_error_poller.h"
#include "platform/com/com_ptr.h"

namespace motqr::driver {

using com::HRESULT;
class CDriver;

// One lock per driver session, shared by the driver object and its channel
// objects, so that members of different objects never use the I/O session at
// the same time. Channel objects keep it alive after their driver is gone.
using SessionLock = std::shared_ptr<std::recursive_mutex>;

class CNode : public io::IInstrErrorPoller, public errors::ICallContextProvider {
 public:
  struct Child {
    com::ComPtr<com::IUnknown> object;  // keeps the child alive
    CNode* node;
  };

  explicit CNode(SessionLock lock) : lock_(std::move(lock)) {}
  CNode(const CNode&) = delete;
  CNode& operator=(const CNode&) = delete;
  virtual ~CNode() = default;

  CDriver* root() const { return root_; }
  // The driver whose session this node serves: the driver object itself, or a
  // channel's root (null once the channel has been detached by Close).
  virtual CDriver* session_driver() { return root_; }
  CNode* parent() const { return parent_; }
  const SessionLock& session_lock() const { return lock_; }
  SimulationStore& store() { return store_; }

  // The children of repeated-capability class `rc_class` (empty when none).
  const std::vector<Child>& Children(const std::string& rc_class) const;
  std::unordered_map<std::string, std::vector<Child>>& child_collections() { return children_; }

  // The command and response-format stacks; an empty stack's top is "".
  // A response format pushed is a row's text, which outlives the call.
  void PushCommand(std::string command) { commands_.push_back(std::move(command)); }
  void PushCommand(std::string_view command) { commands_.emplace_back(command); }
  void PushResponseFormat(std::string_view format) { formats_.push_back(format); }
  void PopCommand() {
    if (!commands_.empty()) commands_.pop_back();
  }
  void PopResponseFormat() {
    if (!formats_.empty()) formats_.pop_back();
  }
  const std::string& TopCommand() const;
  std::string_view TopResponseFormat() const {
    return formats_.empty() ? std::string_view() : formats_.back();
  }

  // Hooks of every node; this driver's nodes have nothing to do in them.
  virtual HRESULT OnInitialize() { return com::S_OK; }
  virtual HRESULT OnClose() { return com::S_OK; }
  virtual HRESULT OnReset() { return com::S_OK; }

  // Invalidates every entry of this node's store and of every node below it.
  void InvalidateAllAttributes();
  // Runs `hook` on this node and every node below it, parents first; stops at
  // the first failure.
  HRESULT ForEachPreOrder(HRESULT (CNode::*hook)());
  // The same, children before their parent.
  HRESULT ForEachPostOrder(HRESULT (CNode::*hook)());

  // Attaches this node under `parent` of the tree rooted at `root`, or detaches it.
  void Attach(CDriver* root, CNode* parent) {
    root_ = root;
    parent_ = parent;
  }
  // Tears every child collection down (recursively) and detaches the children.
  void DestroyChildren();

  HRESULT PollInstrumentErrors() override;
  const errors::MethodDescriptor* GetCallContext() override;

 private:
  SessionLock lock_;
  CDriver* root_ = nullptr;
  CNode* parent_ = nullptr;
  std::unordered_map<std::string, std::vector<Child>> children_;
  std::vector<std::string> commands_;
  std::vector<std::string_view> formats_;
  SimulationStore store_;
};

}  // namespace motqr::driver
