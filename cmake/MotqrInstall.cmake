# `cmake --install <build> [--prefix <dir>]`: libmotqr.so with its SONAME, the public headers,
# tqr-sim, the motqr tool, a pkg-config file (motqr.pc) and a CMake package (find_package(motqr)
# -> motqr::motqr). Every installed file finds the others relative to itself, so a tree
# installed under any prefix works where it lies.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

if(NOT TARGET motqr)
  return()  # a partial build (MOTQR_ONLY) without the shared library installs nothing
endif()

# The headers keep their source layout under include/motqr, so a program includes
# "capi/motqr.h" and "component/motqr.hpp" exactly as the examples do.
set(MOTQR_INCLUDE_SUBDIR ${CMAKE_INSTALL_INCLUDEDIR}/motqr)
set(MOTQR_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/motqr)

install(TARGETS motqr EXPORT motqrTargets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
        INCLUDES DESTINATION ${MOTQR_INCLUDE_SUBDIR})
install(FILES ${PROJECT_SOURCE_DIR}/capi/motqr.h DESTINATION ${MOTQR_INCLUDE_SUBDIR}/capi)
install(FILES ${PROJECT_SOURCE_DIR}/component/motqr.hpp ${PROJECT_SOURCE_DIR}/component/find_instruments.hpp
        DESTINATION ${MOTQR_INCLUDE_SUBDIR}/component)
# interfaces/motqr_interfaces.h includes every interface header of the folder.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/interfaces/ DESTINATION ${MOTQR_INCLUDE_SUBDIR}/interfaces
        FILES_MATCHING PATTERN "*.h" PATTERN "*.def" PATTERN "tests" EXCLUDE)
# The part of the component runtime that the interfaces and motqr.hpp use.
install(FILES
        ${PROJECT_SOURCE_DIR}/platform/com/bstr.h
        ${PROJECT_SOURCE_DIR}/platform/com/com_ptr.h
        ${PROJECT_SOURCE_DIR}/platform/com/error_info.h
        ${PROJECT_SOURCE_DIR}/platform/com/safearray.h
        ${PROJECT_SOURCE_DIR}/platform/com/types.h
        ${PROJECT_SOURCE_DIR}/platform/com/unknown.h
        ${PROJECT_SOURCE_DIR}/platform/com/variant.h
        DESTINATION ${MOTQR_INCLUDE_SUBDIR}/platform/com)
# Where the IVI configuration store lies, settable by the program.
install(FILES ${PROJECT_SOURCE_DIR}/platform/ivi/config_store_location.h
        DESTINATION ${MOTQR_INCLUDE_SUBDIR}/platform/ivi)
# Trace listeners, registered by the program.
install(FILES ${PROJECT_SOURCE_DIR}/trace/trace_listener.h
        DESTINATION ${MOTQR_INCLUDE_SUBDIR}/trace)

if(TARGET tqr-sim)
  install(TARGETS tqr-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

# The command-line tool: the executable of tools/ whose file is named motqr (the target name
# motqr is the library's). It finds libmotqr.so beside the bin directory.
if(EXISTS ${PROJECT_SOURCE_DIR}/tools/CMakeLists.txt AND (NOT MOTQR_ONLY OR "tools" IN_LIST MOTQR_ONLY))
  get_property(tool_targets DIRECTORY ${PROJECT_SOURCE_DIR}/tools PROPERTY BUILDSYSTEM_TARGETS)
  file(RELATIVE_PATH bin_to_lib ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}
       ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR})
  foreach(tool IN LISTS tool_targets)
    get_target_property(tool_type ${tool} TYPE)
    get_target_property(tool_file ${tool} OUTPUT_NAME)
    if(tool_type STREQUAL "EXECUTABLE" AND (tool STREQUAL "motqr" OR tool_file STREQUAL "motqr"))
      set_target_properties(${tool} PROPERTIES INSTALL_RPATH "$ORIGIN/${bin_to_lib}")
      install(TARGETS ${tool} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    endif()
  endforeach()
endif()

# pkg-config: the prefix is found from the .pc file's own place.
file(RELATIVE_PATH pc_to_prefix ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}/pkgconfig
     ${CMAKE_INSTALL_PREFIX})
string(REGEX REPLACE "/$" "" pc_to_prefix "${pc_to_prefix}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/motqr.pc.in ${PROJECT_BINARY_DIR}/motqr.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/motqr.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

# CMake package.
install(EXPORT motqrTargets NAMESPACE motqr:: DESTINATION ${MOTQR_CMAKE_DIR})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/motqrConfig.cmake.in
                              ${PROJECT_BINARY_DIR}/motqrConfig.cmake
                              INSTALL_DESTINATION ${MOTQR_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/motqrConfigVersion.cmake
                                 VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/motqrConfig.cmake ${PROJECT_BINARY_DIR}/motqrConfigVersion.cmake
        DESTINATION ${MOTQR_CMAKE_DIR})

install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/ DESTINATION ${CMAKE_INSTALL_DOCDIR}
        FILES_MATCHING PATTERN "*.md")
