// The outputs collections of the driver object: IIviDCPwrOutputs and
// IMorvaneTqrOutputs share one implementation and differ only in the
// interface of the channel object they hand out.
#pragma once

#include <string>

#include "driver/member.h"
#include "interfaces/ivi_dcpwr.h"
#include "interfaces/output_channel.h"
#include "repcap/channel_names.h"
#include "repcap/rep_cap.h"

namespace motqr::component {

// Count, Item and Name over the driver's output channel objects.
struct OutputsLookup {
  // The channel for a user name (empty: the only channel), or a failure report.
  static HRESULT Find(driver::CallFrame& f, const char16_t* name, com::IUnknown** channel);
  static HRESULT Count(driver::CallFrame& f, std::int32_t* count);
  static HRESULT Name(driver::CallFrame& f, std::int32_t index, std::string* name);
};

template <class Self, class CollectionI, class ItemI>
class OutputsCollection : public driver::MemberSet<Self, CollectionI> {
 public:
  using Interface = CollectionI;
  HRESULT get_Count(std::int32_t* val) override {
    return driver::RunFrame(this->node(), driver::Describe<Interface, "get_Count">(),
                            driver::Check::kInitialized, [&](driver::CallFrame& f) -> HRESULT {
                              MOTQR_RETURN_IF_FAILED(Result(val));
                              MOTQR_RETURN_IF_FAILED(f.Trace(trace::OutParameter("val", val)));
                              return OutputsLookup::Count(f, val);
                            });
  }
  HRESULT get_Item(BSTR Name, ItemI** val) override {
    return driver::RunFrame(
        this->node(), driver::Describe<Interface, "get_Item">(), driver::Check::kInitialized,
        [&](driver::CallFrame& f) -> HRESULT {
          MOTQR_RETURN_IF_FAILED(Result(val));
          MOTQR_RETURN_IF_FAILED(
              f.Trace(trace::InParameter("Name", Name), trace::OutParameter("val", val)));
          com::ComPtr<com::IUnknown> channel;
          MOTQR_RETURN_IF_FAILED(OutputsLookup::Find(f, Name, channel.Put()));
          return channel->QueryInterface(ItemI::kIid, reinterpret_cast<void**>(val));
        });
  }
  HRESULT get_Name(std::int32_t Index, BSTR* val) override {
    return driver::RunFrame(this->node(), driver::Describe<Interface, "get_Name">(),
                            driver::Check::kInitialized, [&](driver::CallFrame& f) -> HRESULT {
                              MOTQR_RETURN_IF_FAILED(Result(val));
                              MOTQR_RETURN_IF_FAILED(f.Trace(trace::InParameter("Index", Index),
                                                             trace::OutParameter("val", val)));
                              std::string name;
                              MOTQR_RETURN_IF_FAILED(OutputsLookup::Name(f, Index, &name));
                              *val = com::AllocBstrFromUtf8(name);
                              return *val ? com::S_OK : f.reporter().OutOfMemory();
                            });
  }

 protected:
  ~OutputsCollection() = default;

 private:
  // The collections answer a null result pointer with E_POINTER itself.
  template <class T>
  static HRESULT Result(T* val) {
    if (!val) return com::E_POINTER;
    *val = T{};
    return com::S_OK;
  }
};

}  // namespace motqr::component
