// The "Parameter" element of a traced call: name, direction, and either the
// scalar's value and type, or an array's dimensions, element type and (for a
// one-dimensional array) its first elements.
//
//   <Parameter Name="val" Direction="In" Value="5" DataType="Double"/>
//   <Parameter Name="Data" Direction="In" NumDims="1" DimSizes="3" DataType="Double[]">
//     <Element Value="0"/> ...
//   </Parameter>
#pragma once

#include <cstdint>
#include <string>

#include "platform/com/types.h"
#include "trace/parameter.h"
#include "trace/xml_writer.h"

namespace motqr::trace {

struct ArrayTraceLimits {
  bool write_elements;        // TraceArray
  std::int32_t max_elements;  // TraceArraySizeMax
};

void WriteParameter(XmlWriter& xml, const Parameter& p, ArrayTraceLimits limits);

// "Double", "String", ... and "(unknown)" for a type without a name.
const char* TypeName(com::VARTYPE type);
// The text of the value of type `type` at `value`: integers in decimal,
// floating point as "%.15g", strings as their text, booleans "true"/"false".
void AppendValueText(std::string& out, com::VARTYPE type, const void* value);

}  // namespace motqr::trace
