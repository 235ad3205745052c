# Cross-compiles KORUBA-X for 64-bit Windows on Debian with the MinGW-w64
# compilers of the posix thread model (std::thread and std::mutex need it).
# KORUBA_WINDOWS_QT names a Qt built for x86_64-w64-mingw32 (scripts/windows.sh
# unpacks or builds one); moc, rcc and uic are the host's own (QT_HOST_PATH).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

# try_compile projects read this file again and see only the variables
# named here.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES KORUBA_WINDOWS_QT)
if(NOT KORUBA_WINDOWS_QT)
  set(KORUBA_WINDOWS_QT "$ENV{KORUBA_WINDOWS_QT}")
endif()
if(NOT IS_DIRECTORY "${KORUBA_WINDOWS_QT}/lib/cmake/Qt6")
  message(FATAL_ERROR "KORUBA_WINDOWS_QT (\"${KORUBA_WINDOWS_QT}\") is no Qt 6 for MinGW-w64: "
                      "run scripts/windows.sh, which provides one")
endif()
set(QT_HOST_PATH /usr CACHE PATH "Qt of the build machine (moc, rcc, uic)")
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake CACHE PATH "CMake packages of QT_HOST_PATH")

set(CMAKE_FIND_ROOT_PATH "${KORUBA_WINDOWS_QT}" /usr/x86_64-w64-mingw32)
set(CMAKE_PREFIX_PATH "${KORUBA_WINDOWS_QT}/lib/cmake")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
