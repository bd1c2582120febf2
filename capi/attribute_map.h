// The attribute map: one row per attribute identifier, joining it to its C
// type and to the component property that reads and writes it. Built once, on
// first use, from attributes.def.
//
//   const Attribute* a = FindAttribute(MOTQR_ATTR_OCP_LEVEL);
//   a->type == AttributeType::kReal64;  a->get(vi, "OutputChannel1", &value, 0);
#pragma once

#include <span>

#include "capi/motqr.h"

namespace motqr::capi {

// The IVI C type codes.
enum class AttributeType : int { kInt32 = 1, kReal64 = 3, kBoolean = 4, kSession = 5, kString = 6 };

struct Attribute {
  ViAttr id;
  AttributeType type;
  bool channel_based;
  // Reads into `value` (a ViString buffer of `size` bytes for text); null: write-only.
  ViStatus (*get)(ViSession vi, ViConstString channel, void* value, ViInt32 size);
  // Writes `*value` (the text itself for text); null: read-only.
  ViStatus (*set)(ViSession vi, ViConstString channel, const void* value);
};

// Every row, in identifier order.
std::span<const Attribute> AllAttributes();
// The row of an identifier, or null.
const Attribute* FindAttribute(ViAttr id);

// The generic get and set: map lookup, type and access checks (each failing
// with its C status and message on the session), then the row's function.
ViStatus GetAttribute(ViSession vi, ViConstString channel, ViAttr id, AttributeType type,
                      void* value, ViInt32 size);
ViStatus SetAttribute(ViSession vi, ViConstString channel, ViAttr id, AttributeType type,
                      const void* value);

}  // namespace motqr::capi
