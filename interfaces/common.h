// What every interface header needs: the component runtime's types under the
// names the interfaces use, and the two families of interface identifiers.
//
//   class IMorvaneTqrSense : public com::IUnknown {
//    public:
//     static constexpr com::IID kIid = MorvaneTqrIid(0x0F);
//     ...
#pragma once

#include <cstdint>

#include "platform/com/bstr.h"
#include "platform/com/safearray.h"
#include "platform/com/types.h"
#include "platform/com/unknown.h"

namespace motqr {

using com::BSTR;
using com::HRESULT;
using com::VARIANT_BOOL;

// xxxxxxxx-A398-11D4-BA58-000064657374: the IVI Foundation's identifiers of
// the inherent and class interfaces (IIviDriver is 47ED5184).
constexpr com::IID IviIid(std::uint32_t data1) {
  return com::IID{data1, 0xA398, 0x11D4, {0xBA, 0x58, 0x00, 0x00, 0x64, 0x65, 0x73, 0x74}};
}

// 6F1E2Bnn-5C0B-4E63-9A1D-2B7C410E9351: the driver's own interfaces, nn
// counting from 01 (IMorvaneTqr). The classes use 6F1E2A4n of the same family.
// An identifier once published never changes; a new interface takes the next
// free number.
constexpr com::IID MorvaneTqrIid(std::uint8_t number) {
  return com::IID{
      0x6F1E2B00u + number, 0x5C0B, 0x4E63, {0x9A, 0x1D, 0x2B, 0x7C, 0x41, 0x0E, 0x93, 0x51}};
}

}  // namespace motqr
