# Installed layout a host builds against: include/, lib/ (import libraries), bin/ (DLLs and skins).
include(CMakePackageConfigHelpers)
install(TARGETS qTrimUI uifw q32Base q32Cvt EXPORT qTrimUITargets
  RUNTIME DESTINATION bin ARCHIVE DESTINATION lib LIBRARY DESTINATION bin
  INCLUDES DESTINATION include)
install(DIRECTORY include/ DESTINATION include)
install(DIRECTORY platform/framework/include/ platform/q32/include/ DESTINATION include)
install(DIRECTORY assets/bitmap/ DESTINATION bin/bitmap)
install(EXPORT qTrimUITargets NAMESPACE qTrimUI:: DESTINATION lib/cmake/qTrimUI)
configure_package_config_file(${CMAKE_SOURCE_DIR}/cmake/qTrimUIConfig.cmake.in
  ${CMAKE_BINARY_DIR}/qTrimUIConfig.cmake INSTALL_DESTINATION lib/cmake/qTrimUI)
write_basic_package_version_file(${CMAKE_BINARY_DIR}/qTrimUIConfigVersion.cmake COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/qTrimUIConfig.cmake ${CMAKE_BINARY_DIR}/qTrimUIConfigVersion.cmake
  DESTINATION lib/cmake/qTrimUI)
