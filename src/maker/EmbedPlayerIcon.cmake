# Turns the player's icon into a C++ source, so the native tool carries it
# and needs no file beside it. Run as a script:
# cmake -DINPUT=pixvane.ico -DOUTPUT=PlayerIcon.cpp -P EmbedPlayerIcon.cmake
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" length)
math(EXPR size "${length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
file(WRITE "${OUTPUT}" "// Generated from the player's icon; do not edit.
#include \"maker/PlayerIcon.h\"

namespace pixvane::maker {
namespace {
const char Icon[] = {${bytes} 0};
}  // namespace

std::string_view PlayerIconFile() { return {Icon, ${size}}; }

}  // namespace pixvane::maker
")
