# Libraries a cross build cannot take from the build machine: Debian's
# packages hold them for Linux only. scripts/windows.sh unpacks their Debian
# sources (simdjson with `apt-get source`; GoogleTest is libgtest-dev's
# /usr/src/googletest) and this project builds them for the target.

set(KORUBA_SIMDJSON_SOURCE_DIR "" CACHE PATH "simdjson's source tree, built for the target")
set(KORUBA_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest's source tree")

if(NOT EXISTS "${KORUBA_SIMDJSON_SOURCE_DIR}/src/simdjson.cpp")
  message(FATAL_ERROR "KORUBA_SIMDJSON_SOURCE_DIR (\"${KORUBA_SIMDJSON_SOURCE_DIR}\") holds no "
                      "simdjson source: run scripts/windows.sh, which unpacks Debian's")
endif()
# simdjson builds from one translation unit that includes the others.
add_library(koruba_simdjson STATIC "${KORUBA_SIMDJSON_SOURCE_DIR}/src/simdjson.cpp")
target_include_directories(koruba_simdjson SYSTEM PUBLIC "${KORUBA_SIMDJSON_SOURCE_DIR}/include")
target_include_directories(koruba_simdjson PRIVATE "${KORUBA_SIMDJSON_SOURCE_DIR}/src")
set_target_properties(koruba_simdjson PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
add_library(simdjson::simdjson ALIAS koruba_simdjson)

if(KORUBA_BUILD_TESTS)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  # Defines GTest::gtest and GTest::gtest_main as find_package(GTest) does.
  add_subdirectory("${KORUBA_GTEST_SOURCE_DIR}" "${PROJECT_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL)
  set_target_properties(gtest gtest_main PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
endif()
