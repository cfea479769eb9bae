# Third-party libraries are installed, never copied: natively from Debian's
# -dev packages, for Windows from the prefix that scripts/setup builds
# (see cmake/mingw-w64-x86_64.cmake).

find_package(JPEG REQUIRED)
find_package(ZLIB REQUIRED)

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
