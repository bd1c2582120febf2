#include "tests/faults/reply_calls.h"

#include <string>

namespace motqr::faults::calls {
namespace {

template <class I, class Getter>
com::ComPtr<I> Child(Getter get) {
  com::ComPtr<I> child;
  get(child.Put());
  return child;
}

}  // namespace

Outcome Real(FaultSession& s) {
  double v = 0;
  const com::HRESULT hr = s.channel->get_VoltageLevel(&v);
  return s.Finish(hr, Text(v));
}
Outcome Integer(FaultSession& s) {
  auto iv = Child<IMorvaneTqrOutputChannelIV>([&](auto** p) { return s.channel->get_IV(p); });
  std::int32_t v = 0;
  const com::HRESULT hr = iv->get_VoltageIVPointCount(&v);
  return s.Finish(hr, std::to_string(v));
}
Outcome Short(FaultSession& s) {
  auto status = Child<IMorvaneTqrStatus>([&](auto** p) { return s.tqr->get_Status(p); });
  auto operation =
      Child<IMorvaneTqrStatusOperation>([&](auto** p) { return status->get_Operation(p); });
  std::int16_t v = 0;
  const com::HRESULT hr = operation->get_ConditionRegister(&v);
  return s.Finish(hr, std::to_string(v));
}
Outcome Boolean(FaultSession& s) {
  VARIANT_BOOL v = 0;
  const com::HRESULT hr = s.channel->get_Enabled(&v);
  return s.Finish(hr, std::to_string(v));
}
Outcome Token(FaultSession& s) {
  MorvaneTqrOutputPriorityEnum v{};
  const com::HRESULT hr = s.channel->get_Priority(&v);
  return s.Finish(hr, std::to_string(v));
}
Outcome MinMax(FaultSession& s) {
  double low = 0, high = 0;
  const com::HRESULT hr = s.channel->QueryVoltageLevelMinMax(&low, &high);
  return s.Finish(hr, Text(low) + ";" + Text(high));
}
Outcome Measurement(FaultSession& s) {
  double v = 0;
  const com::HRESULT hr = s.channel->Measure(MorvaneTqrMeasurementTypeVoltage, &v);
  return s.Finish(hr, Text(v));
}
Outcome RealList(FaultSession& s) {
  com::SafeArray values;
  const com::HRESULT hr = s.channel->MeasureAll(values.Put());
  return s.Finish(hr, Text(values));
}
Outcome ExponentList(FaultSession& s) {
  auto iv = Child<IMorvaneTqrOutputChannelIV>([&](auto** p) { return s.channel->get_IV(p); });
  com::SafeArray values;
  const com::HRESULT hr = iv->GetAllVoltageIVPoints(values.Put());
  return s.Finish(hr, Text(values));
}
Outcome Block(FaultSession& s) {
  auto iv = Child<IMorvaneTqrOutputChannelIV>([&](auto** p) { return s.channel->get_IV(p); });
  com::SafeArray values = com::SafeArray::CreateVector(com::VT_R8, 2);  // filled in place
  com::SAFEARRAY* in_out = values.Get();
  const com::HRESULT hr = iv->GetVoltageIVMap(&in_out);
  return s.Finish(hr, Text(values));
}
Outcome IntegerList(FaultSession& s) {
  com::SafeArray values;
  const com::HRESULT hr = s.system->QueryDate(values.Put());
  return s.Finish(hr, Text(values));
}
Outcome Line(FaultSession& s) {
  com::Bstr text;
  const com::HRESULT hr = s.system->get_TimeZone(text.Put());
  return s.Finish(hr, Text(text));
}
Outcome QuotedName(FaultSession& s) {
  auto program = Child<IMorvaneTqrProgram>([&](auto** p) { return s.tqr->get_Program(p); });
  com::Bstr name;
  const com::HRESULT hr = program->QuerySelectedProgram(name.Put());
  return s.Finish(hr, Text(name));
}
Outcome QuotedList(FaultSession& s) {
  auto program = Child<IMorvaneTqrProgram>([&](auto** p) { return s.tqr->get_Program(p); });
  com::SafeArray names;
  const com::HRESULT hr = program->GetProgramList(names.Put());
  return s.Finish(hr, Text(names));
}
Outcome TokenList(FaultSession& s) {
  auto io = Child<IMorvaneTqrSystemIO>([&](auto** p) { return s.system->get_IO(p); });
  com::SafeArray polarity;
  const com::HRESULT hr = io->QueryIOInputPolarity(polarity.Put());
  return s.Finish(hr, Text(polarity));
}
Outcome NumbersAndText(FaultSession& s) {
  auto global = Child<IMorvaneTqrGlobal>([&](auto** p) { return s.tqr->get_Global(p); });
  double volts = 0, amps = 0, watts = 0;
  com::Bstr model;
  const com::HRESULT hr = global->QueryInformation(&volts, &amps, &watts, model.Put());
  return s.Finish(hr, Text(volts) + "," + Text(amps) + "," + Text(watts) + "," + Text(model));
}
Outcome Fields(FaultSession& s) {
  auto trigger = Child<IMorvaneTqrTrigger>([&](auto** p) { return s.tqr->get_Trigger(p); });
  MorvaneTqrTransientStateEnum state{};
  com::Bstr name;
  std::int32_t step = 0, loop = 0;
  const com::HRESULT hr = trigger->QueryTransientInfo(&state, name.Put(), &step, &loop);
  return s.Finish(hr, std::to_string(state) + "," + Text(name) + "," + std::to_string(step) + "," +
                          std::to_string(loop));
}
Outcome ErrorEntry(FaultSession& s) {
  std::int32_t code = 0;
  com::Bstr text;
  const com::HRESULT hr = As<IIviDriverUtility>(s.driver)->ErrorQuery(&code, text.Put());
  return s.Finish(hr, std::to_string(code) + "," + Text(text));
}

}  // namespace motqr::faults::calls
