// The IVI configuration store: driver sessions (each with its hardware asset's
// I/O resource descriptor, the six operation settings, a driver setup string,
// data components and virtual names), software modules with their data
// components, and logical names that point at sessions.
//
// The store is an XML file in the IVI configuration store's object model:
//
//   <IviConfigStore>
//     <SoftwareModules>
//       <IviSoftwareModule id="sm1"><Name>motqr</Name><Prefix>motqr</Prefix>
//         <DataComponents/></IviSoftwareModule>
//     </SoftwareModules>
//     <HardwareAssets>
//       <IviHardwareAsset id="ha1"><Name>Bench3</Name>
//         <IOResourceDescriptor>TCPIP::10.0.0.5::5025::SOCKET</IOResourceDescriptor>
//       </IviHardwareAsset>
//     </HardwareAssets>
//     <DriverSessions>
//       <IviDriverSession id="ds1"><Name>Bench3Psu</Name>
//         <IviHardwareAsset idref="ha1"/><IviSoftwareModule idref="sm1"/>
//         <Cache>true</Cache><Simulate>false</Simulate> ...
//         <DriverSetup>Model=TQR-M2</DriverSetup>
//         <DataComponents>
//           <IviStructure><Name>Configurable Initial Settings</Name><DataComponents>
//             <IviString><Name>model</Name><Value>TQR-M2</Value></IviString>
//           </DataComponents></IviStructure>
//         </DataComponents>
//         <VirtualNames>
//           <IviVirtualName><Name>Main</Name><MapTo>OutputChannel1</MapTo></IviVirtualName>
//         </VirtualNames>
//       </IviDriverSession>
//     </DriverSessions>
//     <LogicalNames>
//       <IviLogicalName><Name>Psu</Name><IviDriverSession idref="ds1"/></IviLogicalName>
//     </LogicalNames>
//   </IviConfigStore>
//
// References go from an element's idref to the id of an element of the named
// kind. Elements the driver does not read (descriptions, published APIs,
// physical names, ...) are allowed and ignored. A missing operation setting
// keeps its default.
//
//   ConfigStore store;
//   std::string error;
//   switch (LoadConfigStore(ConfigStoreLocation(), &store, &error)) {
//     case StoreLoadStatus::kLoaded:     store.FindDriverSession("Psu") ...
//     case StoreLoadStatus::kCannotOpen: ...   // no store: not an error
//     case StoreLoadStatus::kMalformed:  ...   // `error` says what and where
//   }
//
// Everything read is bounded: the file size, the length of every text, the
// number of entries of every collection and the nesting of structures.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace motqr::ivi {

inline constexpr std::size_t kMaxStoreBytes = 2u << 20;
inline constexpr std::size_t kMaxStoreText = 4096;        // any one name or value
inline constexpr std::size_t kMaxStoreCollection = 1024;  // entries of any one collection
inline constexpr int kMaxStructureDepth = 8;

enum class DataComponentType { kBoolean, kInteger, kReal, kString, kStructure, kApiReference };

// "Boolean", "Integer", "Real", "String", "Structure" or "APIReference".
std::string_view DataComponentTypeName(DataComponentType type);

struct DataComponent {
  std::string name;
  DataComponentType type = DataComponentType::kString;
  // Boolean: bool; Integer: int32; Real: double; String and APIReference:
  // text; Structure: none (its members are in `members`).
  std::variant<std::monostate, bool, std::int32_t, double, std::string> value;
  std::vector<DataComponent> members;
};

struct VirtualName {
  std::string name;
  std::string map_to;  // a physical name, possibly qualified ("RepCap!!Name")
};

struct DriverSession {
  std::string name;
  std::string io_resource_descriptor;  // of its hardware asset; empty without one
  std::string software_module_name;
  bool cache = true;
  bool interchange_check = false;
  bool query_instr_status = false;
  bool range_check = true;
  bool record_coercions = false;
  bool simulate = false;
  std::string driver_setup;
  std::vector<DataComponent> data_components;
  std::vector<VirtualName> virtual_names;
};

struct SoftwareModule {
  std::string name;
  std::string prefix;
  std::vector<DataComponent> data_components;
};

struct LogicalName {
  std::string name;
  std::string driver_session;  // the session's name; empty when it names a plain session
};

struct ConfigStore {
  std::vector<LogicalName> logical_names;
  std::vector<DriverSession> driver_sessions;
  std::vector<SoftwareModule> software_modules;

  // The driver session `name` stands for: a logical name first, else a driver
  // session's own name (exact comparison). Null when there is none.
  const DriverSession* FindDriverSession(std::string_view name) const;
  const SoftwareModule* FindSoftwareModule(std::string_view name) const;
};

enum class StoreLoadStatus {
  kLoaded,
  kCannotOpen,  // no location, no such file, not a regular file, unreadable
  kMalformed,   // not a store: *error says why
};

// Reads the store at `location` into *store.
StoreLoadStatus LoadConfigStore(const std::string& location, ConfigStore* store,
                                std::string* error);
// Reads store text (at most kMaxStoreBytes); false with *error when malformed.
bool ParseConfigStore(std::string_view xml, ConfigStore* store, std::string* error);

}  // namespace motqr::ivi
