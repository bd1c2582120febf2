#include "io/input/scan_destinations.h"

#include <cstdint>
#include <string>

namespace motqr::io {
namespace {

bool IsVariantBool(const ScanDirective& d) { return d.type_name == "VARIANT_BOOL"; }

std::size_t IntegerIndex(char size, bool array) {
  switch (size) {
    case 'b':
      return array ? kScanArgIndex<std::span<std::uint8_t>> : kScanArgIndex<std::uint8_t*>;
    case 'h':
      return array ? kScanArgIndex<std::span<std::int16_t>> : kScanArgIndex<std::int16_t*>;
    case 'I':
      return array ? kScanArgIndex<std::span<std::int64_t>> : kScanArgIndex<std::int64_t*>;
    default:
      return array ? kScanArgIndex<std::span<std::int32_t>> : kScanArgIndex<std::int32_t*>;
  }
}

std::size_t RealIndex(char size, bool array) {
  if (size == 'l' || size == 'L') {
    return array ? kScanArgIndex<std::span<double>> : kScanArgIndex<double*>;
  }
  return array ? kScanArgIndex<std::span<float>> : kScanArgIndex<float*>;
}

std::size_t BinaryIndex(char size) {
  switch (size) {
    case 'h':
      return kScanArgIndex<std::span<std::int16_t>>;
    case 'l':
      return kScanArgIndex<std::span<std::int32_t>>;
    case 'I':
      return kScanArgIndex<std::span<std::int64_t>>;
    case 'z':
      return kScanArgIndex<std::span<float>>;
    case 'Z':
      return kScanArgIndex<std::span<double>>;
    default:
      return kScanArgIndex<std::span<std::uint8_t>>;
  }
}

std::size_t TextIndex(char text_kind) {
  switch (text_kind) {
    case 'B':
      return kScanArgIndex<com::BSTR*>;
    case 'C':
      return kScanArgIndex<std::string*>;
    default:
      return kScanArgIndex<std::span<char>>;
  }
}

std::size_t StringListIndex(char text_kind) {
  switch (text_kind) {
    case 'B':
      return kScanArgIndex<std::span<com::BSTR>>;
    case 'C':
      return kScanArgIndex<std::span<std::string>>;
    default:
      return kScanArgIndex<std::span<std::span<char>>>;
  }
}

constexpr std::size_t kSafeArrayIndex = kScanArgIndex<com::SAFEARRAY**>;

}  // namespace

std::size_t DestinationIndex(const ScanDirective& d) {
  switch (d.cls) {
    case ScanClass::kInteger:
      return IntegerIndex(d.size, false);
    case ScanClass::kReal:
      return RealIndex(d.size, false);
    case ScanClass::kIntegerList:
      return d.safe_array ? kSafeArrayIndex : IntegerIndex(d.size, true);
    case ScanClass::kRealList:
      return d.safe_array ? kSafeArrayIndex : RealIndex(d.size, true);
    case ScanClass::kBlock:
    case ScanClass::kRawBinary:
      return d.safe_array ? kSafeArrayIndex : BinaryIndex(d.size);
    case ScanClass::kChar:
      return kScanArgIndex<std::span<char>>;
    case ScanClass::kLine:
    case ScanClass::kRest:
    case ScanClass::kString:
    case ScanClass::kCharSet:
      return TextIndex(d.text_kind);
    case ScanClass::kStringList:
      return d.safe_array ? kSafeArrayIndex : StringListIndex(d.text_kind);
    case ScanClass::kEnum:
    case ScanClass::kEnumSet:
      return IsVariantBool(d) ? kScanArgIndex<std::int16_t*> : kScanArgIndex<std::int32_t*>;
    case ScanClass::kEnumList:
      if (d.safe_array) return kSafeArrayIndex;
      return IsVariantBool(d) ? kScanArgIndex<std::span<std::int16_t>>
                              : kScanArgIndex<std::span<std::int32_t>>;
    case ScanClass::kLiteral:
      break;
  }
  return ScanArg::Value().index();  // never reached for a directive
}

HRESULT CheckScanArgs(std::span<const ScanDirective> records, ScanArgs args) {
  std::size_t next = 0;
  auto expect = [&](std::size_t index) {
    if (next >= args.size()) return kScanArgMissing;
    if (args[next++].value().index() != index) return com::DISP_E_TYPEMISMATCH;
    return com::S_OK;
  };
  for (const ScanDirective& d : records) {
    if (d.cls == ScanClass::kLiteral) continue;
    for (const ScanField* field : {&d.width, &d.count}) {
      if (field->kind != ScanField::Kind::kArgument) continue;
      const HRESULT hr = expect(kScanArgIndex<std::int32_t*>);
      if (com::Failed(hr)) return hr;
    }
    if (d.suppress) continue;
    const HRESULT hr = expect(DestinationIndex(d));
    if (com::Failed(hr)) return hr;
  }
  return com::S_OK;
}

std::size_t BinaryElementSize(const ScanDirective& d) {
  switch (d.size) {
    case 'h':
      return 2;
    case 'l':
    case 'z':
      return 4;
    case 'I':
    case 'Z':
      return 8;
    default:
      return 1;
  }
}

com::VARTYPE BinaryVarType(const ScanDirective& d) {
  switch (d.size) {
    case 'h':
      return com::VT_I2;
    case 'l':
      return com::VT_I4;
    case 'I':
      return com::VT_I8;
    case 'z':
      return com::VT_R4;
    case 'Z':
      return com::VT_R8;
    default:
      return com::VT_UI1;
  }
}

void ReplaceSafeArray(const ScanArg& dest, com::SAFEARRAY* array) {
  com::SAFEARRAY** slot = std::get<com::SAFEARRAY**>(dest.value());
  if (*slot != nullptr) com::SafeArrayDestroy(*slot);
  *slot = array;
}

}  // namespace motqr::io
