# Cross build for 64-bit Windows with Debian's mingw-w64 compilers.
# The posix thread model gives std::thread and std::mutex; everything is
# linked statically so one file runs on a bare Windows.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(PIXVANE_MINGW_TRIPLET x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${PIXVANE_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PIXVANE_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${PIXVANE_MINGW_TRIPLET}-windres)

# Dependencies built by scripts/setup live in this prefix.
if(NOT PIXVANE_MINGW_PREFIX)
  set(PIXVANE_MINGW_PREFIX "${CMAKE_CURRENT_LIST_DIR}/../.cache/mingw/prefix")
endif()
get_filename_component(PIXVANE_MINGW_PREFIX "${PIXVANE_MINGW_PREFIX}" ABSOLUTE)
# try_compile projects read this file again; give them the same prefix.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES PIXVANE_MINGW_PREFIX)

set(CMAKE_FIND_ROOT_PATH /usr/${PIXVANE_MINGW_TRIPLET} ${PIXVANE_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# CTest runs the Windows programs under Wine, in the prefix scripts/setup
# made (WINEPREFIX may point elsewhere; WINEDEBUG stays the caller's).
if(NOT PIXVANE_WINEPREFIX)
  if(DEFINED ENV{WINEPREFIX})
    set(PIXVANE_WINEPREFIX "$ENV{WINEPREFIX}")
  else()
    set(PIXVANE_WINEPREFIX "${CMAKE_CURRENT_LIST_DIR}/../.cache/wine")
  endif()
endif()
get_filename_component(PIXVANE_WINEPREFIX "${PIXVANE_WINEPREFIX}" ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR env "WINEPREFIX=${PIXVANE_WINEPREFIX}" wine)
