// The driver through its C++ component interface in the peer comparison
// (status checking off, as the other clients do not check the error queue).
#include <cstring>
#include <limits>
#include <memory>
#include <string>

#include "bench/peer_client.h"
#include "component/motqr.hpp"
#include "interfaces/motqr_interfaces.h"

namespace {

using namespace motqr;

struct Session {
  com::ComPtr<IIviDriver> driver;
  com::ComPtr<IIviDCPwrOutput> output;
  com::ComPtr<IMorvaneTqrOutputChannelIV> iv;
  com::ComPtr<IMorvaneTqrData> data;
  com::SafeArray map;  // the caller's array GetVoltageIVMap fills, kept between reads
};

std::unique_ptr<Session> g_session;

int Open(int port) {
  g_session = std::make_unique<Session>();
  Session& s = *g_session;
  if (com::Failed(CreateMorvaneTqr(s.driver.Put()))) return -1;
  char resource[64];
  peer_resource(port, resource, sizeof resource);
  if (s.driver->Initialize(
          com::Bstr::FromUtf8(std::string(resource)).Get(), com::VARIANT_FALSE, com::VARIANT_FALSE,
          com::Bstr::FromUtf8("QueryInstrStatus=false,Cache=false").Get()) != com::S_OK) {
    return -1;
  }
  com::ComPtr<IIviDCPwr> dcpwr;
  com::ComPtr<IIviDCPwrOutputs> outputs;
  s.driver.As(&dcpwr);
  s.driver.As(&s.data);
  if (!dcpwr || !s.data || dcpwr->get_Outputs(outputs.Put()) != com::S_OK ||
      outputs->get_Item(com::Bstr::FromUtf8("OutputChannel1").Get(), s.output.Put()) != com::S_OK) {
    return -1;
  }
  s.output.As(&s.iv);
  return s.iv ? 0 : -1;
}

int QueryVoltage(double* volts) {
  return g_session->output->get_VoltageLevel(volts) == com::S_OK ? 0 : -1;
}

int ReadVoltageMap(double* values, std::size_t capacity, std::size_t* count) {
  com::SafeArray& map = g_session->map;
  if (map.size() != capacity) {
    map = com::SafeArray::CreateVector(com::VT_R8, static_cast<std::uint32_t>(capacity));
  }
  // A short reply would leave the last point as it was: mark it.
  map.Data<double>()[capacity - 2] = std::numeric_limits<double>::quiet_NaN();
  com::SAFEARRAY* array = map.Get();
  if (g_session->iv->GetVoltageIVMap(&array) != com::S_OK || array != map.Get()) return -1;
  std::memcpy(values, map.Data<double>().data(), capacity * sizeof(double));
  *count = capacity;
  return 0;
}

int ReadLoggedValues(std::size_t wanted, double* values, std::size_t capacity, std::size_t* count) {
  com::SafeArray list;
  if (g_session->data->RemoveIntegralData(static_cast<std::int32_t>(wanted), list.Put()) !=
      com::S_OK) {
    return -1;
  }
  const auto read = list.Data<double>();
  *count = read.size() < capacity ? read.size() : capacity;
  std::memcpy(values, read.data(), *count * sizeof(double));
  return 0;
}

void Close() {
  if (g_session->driver) g_session->driver->Close();
  g_session.reset();
}

}  // namespace

int main(int argc, char** argv) {
  static const peer_client client = {"motqr-cpp",      Open, QueryVoltage, ReadVoltageMap,
                                     ReadLoggedValues, Close};
  return peer_main(&client, argc, argv);
}
