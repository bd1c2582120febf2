// The ten generic attribute functions, the typed accessors of attributes.def,
// and the time zone accessors.
#include "capi/attribute_map.h"
#include "capi/c_call.h"

using namespace motqr::capi;

// ---- Generic
// -------------------------------------------------------------------------------------

#define MOTQR_GENERIC_ATTRIBUTE(CType, Type)                                                     \
  MOTQR_C_EXPORT ViStatus motqr_GetAttribute##CType(ViSession vi, ViConstString ChannelName,     \
                                                    ViAttr AttributeId, CType* AttributeValue) { \
    return GetAttribute(vi, ChannelName, AttributeId, AttributeType::Type, AttributeValue, 0);   \
  }                                                                                              \
  MOTQR_C_EXPORT ViStatus motqr_SetAttribute##CType(ViSession vi, ViConstString ChannelName,     \
                                                    ViAttr AttributeId, CType AttributeValue) {  \
    return SetAttribute(vi, ChannelName, AttributeId, AttributeType::Type, &AttributeValue);     \
  }
MOTQR_GENERIC_ATTRIBUTE(ViInt32, kInt32)
MOTQR_GENERIC_ATTRIBUTE(ViReal64, kReal64)
MOTQR_GENERIC_ATTRIBUTE(ViBoolean, kBoolean)
MOTQR_GENERIC_ATTRIBUTE(ViSession, kSession)
#undef MOTQR_GENERIC_ATTRIBUTE

MOTQR_C_EXPORT ViStatus motqr_GetAttributeViString(ViSession vi, ViConstString ChannelName,
                                                   ViAttr AttributeId, ViInt32 BufferSize,
                                                   ViChar AttributeValue[]) {
  return GetAttribute(vi, ChannelName, AttributeId, AttributeType::kString, AttributeValue,
                      BufferSize);
}

MOTQR_C_EXPORT ViStatus motqr_SetAttributeViString(ViSession vi, ViConstString ChannelName,
                                                   ViAttr AttributeId,
                                                   ViConstString AttributeValue) {
  return SetAttribute(vi, ChannelName, AttributeId, AttributeType::kString, AttributeValue);
}

// ---- Typed accessors
// -------------------------------------------------------------------------------

#define MOTQR_GET_Channel(Accessor, Type, Id)                                          \
  MOTQR_C_EXPORT ViStatus motqr_Get##Accessor(ViSession vi, ViConstString ChannelName, \
                                              Vi##Type* AttributeValue) {              \
    return motqr_GetAttributeVi##Type(vi, ChannelName, Id, AttributeValue);            \
  }
#define MOTQR_SET_ReadWrite_Channel(Accessor, Type, Id)                                \
  MOTQR_C_EXPORT ViStatus motqr_Set##Accessor(ViSession vi, ViConstString ChannelName, \
                                              Vi##Type AttributeValue) {               \
    return motqr_SetAttributeVi##Type(vi, ChannelName, Id, AttributeValue);            \
  }
#define MOTQR_GET_Session(Accessor, Type, Id)                                           \
  MOTQR_C_EXPORT ViStatus motqr_Get##Accessor(ViSession vi, Vi##Type* AttributeValue) { \
    return motqr_GetAttributeVi##Type(vi, "", Id, AttributeValue);                      \
  }
#define MOTQR_SET_ReadWrite_Session(Accessor, Type, Id)                                \
  MOTQR_C_EXPORT ViStatus motqr_Set##Accessor(ViSession vi, Vi##Type AttributeValue) { \
    return motqr_SetAttributeVi##Type(vi, "", Id, AttributeValue);                     \
  }
#define MOTQR_SET_ReadOnly_Channel(Accessor, Type, Id)
#define MOTQR_SET_ReadOnly_Session(Accessor, Type, Id)

#define MOTQR_TYPED_ATTRIBUTE(Id, NAME, Type, Reach, Access, Interface, Property, Accessor) \
  MOTQR_GET_##Reach(Accessor, Type, Id) MOTQR_SET_##Access##_##Reach(Accessor, Type, Id)
#include "capi/attributes.def"

// ---- Time zone
// ----------------------------------------------------------------------------------------

MOTQR_C_EXPORT ViStatus motqr_GetTimeZone(ViSession vi, ViInt32 BufferSize,
                                          ViChar AttributeValue[]) {
  return GetAttribute(vi, "", MOTQR_ATTR_TIME_ZONE, AttributeType::kString, AttributeValue,
                      BufferSize);
}

MOTQR_C_EXPORT ViStatus motqr_SetTimeZone(ViSession vi, ViConstString AttributeValue) {
  return SetAttribute(vi, "", MOTQR_ATTR_TIME_ZONE, AttributeType::kString, AttributeValue);
}
