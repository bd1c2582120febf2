// IMorvaneTqrOutputChannelIV: the current map (CC mode) and the voltage map
// (CV mode) of I-V points -- point editing, counts, the catalogue, and the
// whole map as a binary block of micro-units.
#pragma once

#include <cstdint>

#include "instrument/member_shapes.h"
#include "interfaces/output_channel.h"

// The bulk maps (GetCurrentIVMap ... SetVoltageIVMap) are written by hand:
// their queries are written as they stand, new line included, without
// formatting, and the map goes as one binary block of micro-units.
// clang-format off
#define MOTQR_IV_MEMBERS(S) \
  S##_COMMAND(ClearCurrentIVMap, ":CURR:IV:CLE") \
  S##_BY_HAND(SetCurrentIVMap, "array command", nullptr, nullptr, ::motqr::instrument::kSetCurrentIVMapRow.command) \
  S##_BY_HAND(GetCurrentIVMap, "array query", ::motqr::instrument::kGetCurrentIVMapRow.command, ::motqr::instrument::kGetCurrentIVMapRow.reply, nullptr) \
  S##_COMMAND_3(SetCurrentIVPoint, ":CURR:IV:MAP%d %0.6lg,%0.6lg", std::int32_t, Index, double, Voltage, double, Current) \
  S##_COMMAND_1(DeleteCurrentIVPoint, ":CURR:IV:MAP%d:DEL", std::int32_t, Index) \
  S##_COMMAND_1(InsertCurrentIVPoint, ":CURR:IV:MAP%d:INS", std::int32_t, Index) \
  S##_ARRAY_QUERY(GetAllCurrentIVPoints, ":CURR:IV:CAT?", "%,$Sle", "AllPoints") \
  S##_COMMAND(ClearVoltageIVMap, ":VOLT:IV:CLE") \
  S##_BY_HAND(SetVoltageIVMap, "array command", nullptr, nullptr, ::motqr::instrument::kSetVoltageIVMapRow.command) \
  S##_COMMAND_1(DeleteVoltageIVPoint, ":VOLT:IV:MAP%d:DEL", std::int32_t, Index) \
  S##_COMMAND_1(InsertVoltageIVPoint, ":VOLT:IV:MAP%d:INS", std::int32_t, Index) \
  S##_ARRAY_QUERY(GetAllVoltageIVPoints, ":VOLT:IV:CAT?", "%,$Sle", "AllPoints") \
  S##_BY_HAND(GetVoltageIVMap, "array query", ::motqr::instrument::kGetVoltageIVMapRow.command, ::motqr::instrument::kGetVoltageIVMapRow.reply, nullptr) \
  S##_COMMAND_3(SetVoltageIVPoint, ":VOLT:IV:MAP%d %0.6lg,%0.6lg", std::int32_t, Index, double, Voltage, double, Current) \
  S##_PROPERTY(std::int32_t, CurrentIVPointCount, ":CURR:IV:COUN?", nullptr, ":CURR:IV:COUN %d", kYes) \
  S##_PROPERTY(std::int32_t, VoltageIVPointCount, ":VOLT:IV:COUN?", nullptr, ":VOLT:IV:COUN %d", kYes)
// clang-format on

namespace motqr::instrument {

// How the words of a map read back are taken.
enum class IVWord { kUnsigned, kSigned };

// Reads a map with `row` into the caller's array of doubles, at the indexes it has.
com::HRESULT GetIVMap(driver::CallFrame& f, const driver::MethodRow& row, IVWord word,
                      com::SAFEARRAY** values, const char* name);
// Sends the map `data` (doubles) with `row` as one block word per value.
com::HRESULT SetIVMap(driver::CallFrame& f, const driver::MethodRow& row, com::SAFEARRAY* data);

// The 32-bit word of a map value: value times 1 000 000 rounded half away
// from zero; 0 when not finite or out of the signed 32-bit range.
std::int32_t IVMapWord(double value);

// The rows of the bulk maps.
inline constexpr driver::MethodRow kGetCurrentIVMapRow{":CURR:IV:DATA?\n", "%$Slb"};
inline constexpr driver::MethodRow kGetVoltageIVMapRow{":VOLT:IV:DATA?\n", "%$Slb"};
inline constexpr driver::MethodRow kSetCurrentIVMapRow{":CURR:IV:DATA %$Slb", nullptr};
inline constexpr driver::MethodRow kSetVoltageIVMapRow{":VOLT:IV:DATA %$Slb", nullptr};

template <class Self>
class OutputChannelIV : public driver::MemberSet<Self, IMorvaneTqrOutputChannelIV> {
 public:
  using Interface = IMorvaneTqrOutputChannelIV;
  MOTQR_IV_MEMBERS(MOTQR_MEMBER)

  com::HRESULT GetCurrentIVMap(com::SAFEARRAY** Current) override {
    return Run<"GetCurrentIVMap">([&](driver::CallFrame& f) {
      return GetIVMap(f, kGetCurrentIVMapRow, IVWord::kUnsigned, Current, "Current");
    });
  }
  com::HRESULT GetVoltageIVMap(com::SAFEARRAY** Voltage) override {
    return Run<"GetVoltageIVMap">([&](driver::CallFrame& f) {
      return GetIVMap(f, kGetVoltageIVMapRow, IVWord::kSigned, Voltage, "Voltage");
    });
  }
  com::HRESULT SetCurrentIVMap(com::SAFEARRAY* Data) override {
    return Run<"SetCurrentIVMap">([&](driver::CallFrame& f) -> com::HRESULT {
      MOTQR_RETURN_IF_FAILED(f.Trace(trace::InParameter("Data", Data)));
      return SetIVMap(f, kSetCurrentIVMapRow, Data);
    });
  }
  com::HRESULT SetVoltageIVMap(com::SAFEARRAY* Data) override {
    return Run<"SetVoltageIVMap">([&](driver::CallFrame& f) -> com::HRESULT {
      MOTQR_RETURN_IF_FAILED(f.Trace(trace::InParameter("Data", Data)));
      return SetIVMap(f, kSetVoltageIVMapRow, Data);
    });
  }

 protected:
  ~OutputChannelIV() = default;

 private:
  template <driver::FixedString M, class Body>
  com::HRESULT Run(Body&& body) {
    return driver::RunFrame(this->node(), driver::Describe<Interface, M>(),
                            driver::Check::kInitialized, body);
  }
};

inline constexpr RowView kIVRows[] = {MOTQR_IV_MEMBERS(MOTQR_ROW_VIEW)};

}  // namespace motqr::instrument
