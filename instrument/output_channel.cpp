#include "instrument/output_channel.h"

#include "platform/com/safearray.h"

namespace motqr::instrument {

HRESULT QueryMeasurementArray(driver::CNode& node, const errors::MethodDescriptor& method,
                              const driver::MethodRow& row, com::SAFEARRAY** Measurements) {
  return driver::RunFrame(
      node, method, driver::Check::kInitialized, [&](driver::CallFrame& f) -> HRESULT {
        MOTQR_RETURN_IF_FAILED(f.Out(Measurements, "Measurements"));
        MOTQR_RETURN_IF_FAILED(f.Trace(trace::OutParameter("Measurements", Measurements)));
        // A reply that breaks off part-way leaves the caller without an array
        // rather than with the values read so far; a reply read whole is
        // handed out even when the status poll after it fails.
        com::SafeArray values;
        bool read = false;
        const HRESULT hr =
            driver::RunQuery(f, row, driver::Args(), &read,
                             driver::Out<com::SAFEARRAY*>{values.Put(), "Measurements"});
        if (!read) return hr;
        *Measurements = values.Detach();
        return hr;
      });
}

}  // namespace motqr::instrument
