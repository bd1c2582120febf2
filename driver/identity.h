// Who the driver is and which instrument it talks to: the driver constants,
// the model table and the parsing of the "*IDN?" reply.
#pragma once

#include <string>
#include <string_view>

namespace motqr::driver {

// Constants of this driver, set when a driver object is constructed.
struct DriverConstants {
  static constexpr const char* kPrefix = "motqr";
  static constexpr const char* kIdentifier = "MorvaneTqr";
  static constexpr const char* kVendor = "Morvane";
  static constexpr const char* kDescription = "IVI Driver for MorvaneTqr";
  static constexpr const char* kDescriptionSuffix = " [Compiled for 64-bit.]";
  static constexpr const char* kRevision = "1.3.0.0";
  static constexpr const char* kGroupCapabilities =
      "IviDCPwrBase,IviDCPwrTrigger,IviDCPwrSoftwareTrigger,IviDCPwrMeasurement";
  static constexpr const char* kSupportedModels =
      "TQR-M1,TQR-M2,TQR-M3,TQR-M4,TQR-M5,TQR-M6,TQR-M7";
  static constexpr const char* kDefaultModel = "TQR-M4";
  static constexpr int kSpecificationMajorVersion = 3;
  static constexpr int kSpecificationMinorVersion = 0;
  static constexpr const char* kProgId = "MorvaneTqr.MorvaneTqr.1";
};

// The instrument's identity as read from "*IDN?".
struct InstrumentIdentity {
  std::string manufacturer;
  std::string model;
  std::string serial_number;
  std::string firmware_revision;
  std::string idn_reply;
};

// Splits an "*IDN?" reply the way a tokenizer does (runs of commas separate,
// empty fields vanish) and trims each of the first four fields.
InstrumentIdentity ParseIdentity(std::string_view reply);

// The family of `model` in the model table (exact, case-sensitive), or null.
const std::string* FindModelFamily(std::string_view model);
bool IsKnownModel(std::string_view model);
// Whether `name` is a family of the model table ("DefaultFamily").
bool IsModelFamily(std::string_view name);

}  // namespace motqr::driver
