# Third-party libraries are installed, never copied: natively from Debian's
# -dev packages, for Windows from the prefix that scripts/setup builds
# (see cmake/mingw-w64-x86_64.cmake).

if(MINGW)
  # The Windows programs are one static file: take lib<name>.a, never the
  # import library lib<name>.dll.a that the mingw sysroot also holds.
  set(CMAKE_FIND_LIBRARY_SUFFIXES .a)
  set(ZLIB_USE_STATIC_LIBS ON)
endif()

find_package(JPEG REQUIRED)
find_package(ZLIB REQUIRED)

# Region algebra. Natively through pkg-config; for Windows the static
# library scripts/setup built with meson. pixman's header leaves PIXMAN_API
# empty for its users, so a static link needs no extra define.
if(MINGW)
  find_path(PIXMAN_INCLUDE_DIR pixman.h PATH_SUFFIXES pixman-1 REQUIRED)
  find_library(PIXMAN_LIBRARY NAMES pixman-1 REQUIRED)
  add_library(pixman STATIC IMPORTED)
  set_target_properties(pixman PROPERTIES
    IMPORTED_LOCATION "${PIXMAN_LIBRARY}"
    INTERFACE_INCLUDE_DIRECTORIES "${PIXMAN_INCLUDE_DIR}")
else()
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(PIXMAN REQUIRED IMPORTED_TARGET pixman-1)
  add_library(pixman INTERFACE IMPORTED)
  target_link_libraries(pixman INTERFACE PkgConfig::PIXMAN)
endif()

# Lossless turns of JPEG pictures in the tool: TurboJPEG, part of the same
# libjpeg-turbo. Natively Debian's libturbojpeg0-dev; for Windows the static
# library scripts/setup builds beside libjpeg.
if(MINGW)
  find_path(TURBOJPEG_INCLUDE_DIR turbojpeg.h REQUIRED)
  find_library(TURBOJPEG_LIBRARY NAMES turbojpeg REQUIRED)
  add_library(turbojpeg STATIC IMPORTED)
  set_target_properties(turbojpeg PROPERTIES
    IMPORTED_LOCATION "${TURBOJPEG_LIBRARY}"
    INTERFACE_INCLUDE_DIRECTORIES "${TURBOJPEG_INCLUDE_DIR}")
else()
  pkg_check_modules(TURBOJPEG REQUIRED IMPORTED_TARGET libturbojpeg)
  add_library(turbojpeg INTERFACE IMPORTED)
  target_link_libraries(turbojpeg INTERFACE PkgConfig::TURBOJPEG)
endif()

# Header-only libraries of the tool. The Windows build sees them through the
# setup prefix, which links to Debian's headers.
find_path(TOMLPP_INCLUDE_DIR toml++/toml.h REQUIRED)
add_library(tomlplusplus INTERFACE)
target_include_directories(tomlplusplus SYSTEM INTERFACE ${TOMLPP_INCLUDE_DIR})
find_path(CLI11_INCLUDE_DIR CLI/CLI.hpp REQUIRED)
add_library(cli11 INTERFACE)
target_include_directories(cli11 SYSTEM INTERFACE ${CLI11_INCLUDE_DIR})
find_path(NLOHMANN_JSON_INCLUDE_DIR nlohmann/json.hpp REQUIRED)
add_library(nlohmann_json INTERFACE)
target_include_directories(nlohmann_json SYSTEM INTERFACE ${NLOHMANN_JSON_INCLUDE_DIR})

if(PIXVANE_TESTS)
  find_package(GTest REQUIRED)
endif()

# PNG pictures read into savers and the tool's frame rendering to PNG files:
# libpng natively and, built by scripts/setup, for Windows (where GDI draws
# the captions). GIF and WebP animations (libimagequant picks the GIF
# palettes) and HEIC pictures: natively only.
find_package(PNG)
if(PNG_FOUND)
  set(PIXVANE_PNG_FILES ON)
endif()
if(NOT MINGW)
  # The text renderer natively; on Windows GDI draws text.
  find_package(Freetype REQUIRED)
  find_package(GIF)
  pkg_check_modules(WEBP QUIET IMPORTED_TARGET libwebpmux libwebp)
  pkg_check_modules(IMAGEQUANT QUIET IMPORTED_TARGET imagequant)
  # HEIC photos taken into a saver.
  pkg_check_modules(HEIF QUIET IMPORTED_TARGET libheif)
endif()
# The native player of `pixvane play`: SDL2 windows and SDL2_mixer music.
if(NOT WIN32)
  pkg_check_modules(SDL2 QUIET IMPORTED_TARGET sdl2 SDL2_mixer)
  pkg_check_modules(X11 QUIET IMPORTED_TARGET x11)
  if(SDL2_FOUND AND X11_FOUND)
    set(PIXVANE_LINUX_PLAYER ON)
  endif()
endif()
if(PIXVANE_PNG_FILES AND GIF_FOUND AND WEBP_FOUND AND IMAGEQUANT_FOUND AND FREETYPE_FOUND
   AND HEIF_FOUND)
  set(PIXVANE_IMAGE_FILES ON)
endif()

# The studio's HTTP server, cpp-httplib. Debian ships it natively as a
# shared library with its pkg-config file; for Windows scripts/setup installs
# the single header from Debian's source into the prefix, used without TLS
# or compression (the studio serves plain HTTP on loopback), so Winsock is
# all it links.
find_package(Threads REQUIRED)
if(MINGW)
  find_path(HTTPLIB_INCLUDE_DIR httplib.h NO_CACHE)
  if(HTTPLIB_INCLUDE_DIR)
    add_library(cpp_httplib INTERFACE)
    target_include_directories(cpp_httplib SYSTEM INTERFACE ${HTTPLIB_INCLUDE_DIR})
    target_link_libraries(cpp_httplib INTERFACE ws2_32 Threads::Threads)
  endif()
else()
  pkg_check_modules(HTTPLIB QUIET IMPORTED_TARGET cpp-httplib)
  if(HTTPLIB_FOUND)
    add_library(cpp_httplib INTERFACE)
    target_link_libraries(cpp_httplib INTERFACE PkgConfig::HTTPLIB Threads::Threads)
  endif()
endif()

# The studio: the HTTP server over the tool's build and its PNG-side
# rendering (previews, transition strips), in both tools.
if(PIXVANE_PNG_FILES AND TARGET cpp_httplib)
  set(PIXVANE_STUDIO ON)
endif()
