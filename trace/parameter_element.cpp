#include "trace/parameter_element.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "errors/number_format.h"

namespace motqr::trace {
namespace {

const char* DirectionName(Direction d) {
  switch (d) {
    case Direction::kIn:
      return "In";
    case Direction::kOut:
      return "Out";
    case Direction::kInOut:
      return "InOut";
  }
  return "In";
}

template <class T>
T Load(const void* p) {
  T v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

template <class T>
void AppendInteger(std::string& out, const void* p) {
  char buf[24];
  const auto r = std::to_chars(buf, buf + sizeof buf, Load<T>(p));
  out.append(buf, r.ptr);
}

// A variant's value is written as the value it holds; a by-reference variant
// as its target, a variant nested in it as "(variant)".
struct Unwrapped {
  com::VARTYPE type;
  const void* value;
};

Unwrapped Unwrap(const com::VARIANT& v) {
  const com::VARTYPE base = v.vt & com::VT_TYPEMASK;
  if (v.vt & com::VT_ARRAY) {
    return {com::VT_ARRAY, (v.vt & com::VT_BYREF) ? v.byref : &v.parray};
  }
  if (v.vt & com::VT_BYREF) return {base, v.byref};
  return {base, &v.cVal};  // every member of the union starts here
}

void AppendArrayDescription(XmlWriter& xml, const com::SAFEARRAY& a, ArrayTraceLimits limits) {
  std::string text;
  AppendInteger<std::uint16_t>(text, &a.cDims);
  xml.Attribute("NumDims", text);
  text.clear();
  for (std::uint16_t d = 0; d < a.cDims; ++d) {
    if (d) text += ',';
    AppendInteger<std::uint32_t>(text, &a.rgsabound[d].cElements);
  }
  xml.Attribute("DimSizes", text);
  const com::VARTYPE element_type = a.vt & com::VT_TYPEMASK;
  text = TypeName(element_type);
  text += "[]";
  xml.Attribute("DataType", text);
  if (!limits.write_elements || a.cDims != 1 || !a.pvData || limits.max_elements <= 0) return;
  const std::size_t count = std::min<std::size_t>(a.rgsabound[0].cElements,
                                                  static_cast<std::size_t>(limits.max_elements));
  const auto* data = static_cast<const unsigned char*>(a.pvData);
  for (std::size_t i = 0; i < count; ++i) {
    text.clear();
    AppendValueText(text, element_type, data + i * a.cbElements);
    xml.StartElement("Element");
    xml.Attribute("Value", text);
    xml.EndElement();
  }
}

}  // namespace

const char* TypeName(com::VARTYPE type) {
  switch (type) {
    case com::VT_I1:
      return "Char";
    case com::VT_UI1:
      return "Byte";
    case com::VT_I2:
      return "Int16";
    case com::VT_UI2:
      return "UInt16";
    case com::VT_I4:
    case com::VT_INT:
      return "Int32";
    case com::VT_UI4:
    case com::VT_UINT:
      return "UInt32";
    case com::VT_I8:
      return "Int64";
    case com::VT_UI8:
      return "UInt64";
    case com::VT_R4:
      return "Single";
    case com::VT_R8:
      return "Double";
    case com::VT_BOOL:
      return "Boolean";
    case com::VT_BSTR:
      return "String";
    case com::VT_VARIANT:
      return "VARIANT";
    case com::VT_DISPATCH:
      return "IDispatch";
    case com::VT_UNKNOWN:
      return "IUnknown";
    default:
      return "(unknown)";
  }
}

void AppendValueText(std::string& out, com::VARTYPE type, const void* value) {
  switch (type) {
    case com::VT_I1:
      return AppendInteger<std::int8_t>(out, value);
    case com::VT_UI1:
      return AppendInteger<std::uint8_t>(out, value);
    case com::VT_I2:
      return AppendInteger<std::int16_t>(out, value);
    case com::VT_UI2:
      return AppendInteger<std::uint16_t>(out, value);
    case com::VT_I4:
    case com::VT_INT:
      return AppendInteger<std::int32_t>(out, value);
    case com::VT_UI4:
    case com::VT_UINT:
      return AppendInteger<std::uint32_t>(out, value);
    case com::VT_I8:
      return AppendInteger<std::int64_t>(out, value);
    case com::VT_UI8:
      return AppendInteger<std::uint64_t>(out, value);
    case com::VT_R4:
      out += errors::FormatDouble("%.15g", Load<float>(value));
      return;
    case com::VT_R8:
      out += errors::FormatDouble("%.15g", Load<double>(value));
      return;
    case com::VT_BOOL:
      out += Load<com::VARIANT_BOOL>(value) ? "true" : "false";
      return;
    case com::VT_BSTR:
      out += com::BstrToUtf8(Load<com::BSTR>(value));
      return;
    case com::VT_DISPATCH:
    case com::VT_UNKNOWN:
      out += "(interface)";
      return;
    case com::VT_VARIANT: {
      const Unwrapped u = Unwrap(*static_cast<const com::VARIANT*>(value));
      if (u.type == com::VT_VARIANT) {
        out += "(variant)";
      } else if (u.type == com::VT_ARRAY) {
        out += "(unknown)";
      } else {
        AppendValueText(out, u.type, u.value);
      }
      return;
    }
    case com::VT_EMPTY:
      out += "(empty)";
      return;
    case com::VT_NULL:
      out += "(null)";
      return;
    default:
      out += "(unknown)";
  }
}

void WriteParameter(XmlWriter& xml, const Parameter& p, ArrayTraceLimits limits) {
  xml.StartElement("Parameter");
  xml.Attribute("Name", p.name);
  xml.Attribute("Direction", DirectionName(p.direction));
  com::VARTYPE type = p.type;
  const void* value = p.value;
  if (!value) {  // a member that describes an absent argument
    xml.Attribute("Value", "(null)");
    xml.Attribute("DataType", TypeName(type));
    xml.EndElement();
    return;
  }
  if (type == com::VT_VARIANT) {
    const Unwrapped u = Unwrap(*static_cast<const com::VARIANT*>(value));
    if (u.type != com::VT_VARIANT) {  // a nested variant stays "(variant)"
      type = u.type;
      value = u.value;
    }
  }
  if (type == com::VT_ARRAY) {
    const auto* array = *static_cast<const com::SAFEARRAY* const*>(value);
    if (array) {
      AppendArrayDescription(xml, *array, limits);
    } else {
      xml.Attribute("Value", "(null)");
      xml.Attribute("DataType", "(unknown)");
    }
  } else {
    std::string text;
    AppendValueText(text, type, value);
    xml.Attribute("Value", text);
    xml.Attribute("DataType", TypeName(type));
  }
  xml.EndElement();
}

}  // namespace motqr::trace
