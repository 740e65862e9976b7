# Installs the library, its headers, a CMake package (find_package(Lumora)
# gives Lumora::lumora) and a pkg-config file.
include(CMakePackageConfigHelpers)

set(LUMORA_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Lumora)

install(TARGETS lumora EXPORT LumoraTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/lumora
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})

install(EXPORT LumoraTargets
  NAMESPACE Lumora::
  FILE lumora-targets.cmake
  DESTINATION ${LUMORA_CMAKE_DIR})
export(EXPORT LumoraTargets NAMESPACE Lumora::
  FILE ${PROJECT_BINARY_DIR}/lumora-targets.cmake)

configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/lumora-config.cmake.in
  ${PROJECT_BINARY_DIR}/lumora-config.cmake
  INSTALL_DESTINATION ${LUMORA_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/lumora-config-version.cmake
  VERSION ${PROJECT_VERSION}
  COMPATIBILITY SameMajorVersion)
install(FILES
  ${PROJECT_BINARY_DIR}/lumora-config.cmake
  ${PROJECT_BINARY_DIR}/lumora-config-version.cmake
  DESTINATION ${LUMORA_CMAKE_DIR})

configure_file(${PROJECT_SOURCE_DIR}/cmake/lumora.pc.in ${PROJECT_BINARY_DIR}/lumora.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/lumora.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
