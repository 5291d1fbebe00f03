# Cross-build for Windows with the mingw-w64 toolchain (posix threads, everything linked statically
# so that the programs need no runtime DLLs beside the system's). The architecture comes from
# QV_MINGW_ARCH: x86_64 (the default) or i686.
set(QV_MINGW_ARCH x86_64 CACHE STRING "The Windows architecture to build for: x86_64 or i686")
# The compiler checks configure projects of their own, which read this file again.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES QV_MINGW_ARCH)
if(NOT QV_MINGW_ARCH MATCHES "^(x86_64|i686)$")
  message(FATAL_ERROR "QV_MINGW_ARCH is ${QV_MINGW_ARCH}; it must be x86_64 or i686")
endif()

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${QV_MINGW_ARCH})
set(mingw_prefix ${QV_MINGW_ARCH}-w64-mingw32)
set(CMAKE_C_COMPILER ${mingw_prefix}-gcc-posix)
set(CMAKE_CXX_COMPILER ${mingw_prefix}-g++-posix)
set(CMAKE_RC_COMPILER ${mingw_prefix}-windres)
set(QV_WIDL ${mingw_prefix}-widl CACHE STRING "The IDL compiler that writes the type library")
set(CMAKE_FIND_ROOT_PATH /usr/${mingw_prefix})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# -O2 as in the native build: GCC 12 at -O3 reports false overlaps in std::string (-Wrestrict).
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "Flags of the Release build")
