#include "platform/visa/visa_com_status.h"

#include "platform/com/error_info.h"

namespace motqr::visa {

HRESULT ReportFailure(HRESULT hr, std::string_view description, const com::IID& iid) {
  com::ErrorRecord record;
  record.description = std::string(description);
  record.source = "VISA-COM";
  record.iid = iid;
  com::SetErrorRecord(record);
  return hr;
}

HRESULT ReportStatus(const Status& status, const com::IID& iid) {
  const HRESULT hr = VisaComHresult(status.code());
  if (com::Failed(hr)) ReportFailure(hr, status.message(), iid);
  return hr;
}

}  // namespace motqr::visa
