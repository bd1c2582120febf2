// The C type of each VISA attribute this layer knows, so a value is read into a variable of
// the attribute's own width and handed out as the matching VARIANT type.
#pragma once

#include <cstdint>

#include "platform/visa/visa_types.h"

namespace motqr::visa {

enum class AttributeType : std::uint8_t {
  kUInt8,    // ViUInt8 (termination characters)
  kUInt16,   // ViUInt16
  kInt16,    // ViInt16 (line states)
  kBoolean,  // ViBoolean (16 bits)
  kUInt32,   // ViUInt32
  kString,   // text of up to 256 bytes
};

struct AttributeInfo {
  ViAttr id;
  AttributeType type;
};

// nullptr for an attribute not in the table.
const AttributeInfo* FindAttributeInfo(ViAttr attribute);

}  // namespace motqr::visa
