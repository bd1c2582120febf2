# libmotqr.so: every layer linked in whole; only MOTQR_EXPORT symbols leave it
# (component/exports.map). Layers missing from a partial build (MOTQR_ONLY) are skipped.
set(MOTQR_MODULE_LAYERS
    motqr_capi motqr_component motqr_instrument motqr_commands motqr_repcap motqr_trace
    motqr_driver motqr_driver_visa motqr_io_session motqr_io motqr_io_input motqr_errors
    motqr_platform_visa motqr_platform_ivi motqr_platform_com)
if(TARGET motqr_component)
  set(present_layers)
  foreach(layer IN LISTS MOTQR_MODULE_LAYERS)
    if(TARGET ${layer})
      list(APPEND present_layers ${layer})
    endif()
  endforeach()
  set(whole_archives)
  foreach(layer IN LISTS present_layers)
    list(APPEND whole_archives $<TARGET_FILE:${layer}>)
  endforeach()
  add_library(motqr SHARED ${PROJECT_SOURCE_DIR}/component/module.cpp)
  add_dependencies(motqr ${present_layers})
  target_link_libraries(motqr PRIVATE -Wl,--whole-archive ${whole_archives}
                        -Wl,--no-whole-archive Threads::Threads ${CMAKE_DL_LIBS})
  # The XML library of the configuration store (platform/ivi), linked statically.
  if(TARGET pugixml::static)
    target_link_libraries(motqr PRIVATE pugixml::static)
  endif()
  # The ONC RPC library of the VXI-11 transport (platform/visa), a shared system library.
  if(TARGET PkgConfig::TIRPC)
    target_link_libraries(motqr PRIVATE PkgConfig::TIRPC)
  endif()
  # Installed, the headers lie under include/motqr (cmake/MotqrInstall.cmake).
  target_include_directories(motqr PUBLIC $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}>)
  target_compile_features(motqr INTERFACE cxx_std_20)  # the C++ headers; C callers need C99
  target_link_options(motqr PRIVATE -Wl,--no-undefined
                      -Wl,--version-script=${PROJECT_SOURCE_DIR}/component/exports.map)
  set_property(TARGET motqr APPEND PROPERTY LINK_DEPENDS
               ${PROJECT_SOURCE_DIR}/component/exports.map)
  # libmotqr.so.1.3.0 with SONAME libmotqr.so.1: the major version changes with the ABI.
  set_target_properties(motqr PROPERTIES VERSION ${PROJECT_VERSION}
                                         SOVERSION ${PROJECT_VERSION_MAJOR})
  motqr_set_warnings(motqr)
endif()
