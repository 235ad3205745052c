# The Windows packages: `cmake --build --preset windows --target
# windows_packages` stages what `cmake --install` puts in place and makes
# koruba-x-<version>-setup.exe with NSIS and koruba-x-<version>-windows.zip
# (the same folder, to run without installing) in the build folder.

if(NOT MINGW)
  return()
endif()

find_program(KORUBA_MAKENSIS makensis)
set(KORUBA_SETUP_PATH "${PROJECT_BINARY_DIR}/koruba-x-${PROJECT_VERSION}-setup.exe")
set(KORUBA_ZIP_PATH "${PROJECT_BINARY_DIR}/koruba-x-${PROJECT_VERSION}-windows.zip")
if(NOT KORUBA_MAKENSIS)
  message(STATUS "makensis is missing: no windows_packages target (scripts/windows.sh installs nsis)")
  return()
endif()

set(stage "${PROJECT_BINARY_DIR}/windows-stage")
add_custom_target(windows_packages
  COMMAND "${CMAKE_COMMAND}" -E rm -rf "${stage}"
  COMMAND "${CMAKE_COMMAND}" --install "${PROJECT_BINARY_DIR}" --prefix "${stage}/KORUBA-X" --strip
  COMMAND "${CMAKE_COMMAND}"
    "-DSTAGE=${stage}"
    "-DNSI_IN=${PROJECT_SOURCE_DIR}/packaging/windows/koruba-x.nsi.in"
    "-DSETUP=${KORUBA_SETUP_PATH}"
    "-DZIP=${KORUBA_ZIP_PATH}"
    "-DICON=${PROJECT_SOURCE_DIR}/resources/koruba-x.ico"
    "-DVERSION=${PROJECT_VERSION}"
    "-DMAKENSIS=${KORUBA_MAKENSIS}"
    -P "${PROJECT_SOURCE_DIR}/packaging/windows/MakePackages.cmake"
  COMMENT "Making the Windows setup and zip"
  VERBATIM)
add_dependencies(windows_packages koruba-x koruba-x-calc)
