# Turns the page's files into one C++ source, so the tool carries its page
# and needs no files beside it. Run as a script: cmake -DOUTPUT=... -DFILES=a,b
# -DBASE=folder -P EmbedWebAssets.cmake, the files separated by ",".
string(REPLACE "," ";" FILES "${FILES}")
set(body "")
set(table "")
set(index 0)
foreach(file IN LISTS FILES)
  file(READ "${BASE}/${file}" hex HEX)
  string(LENGTH "${hex}" length)
  math(EXPR size "${length} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
  string(APPEND body "const char Asset${index}[] = {${bytes} 0};\n")
  string(APPEND table "  {\"${file}\", {Asset${index}, ${size}}},\n")
  math(EXPR index "${index} + 1")
endforeach()
file(WRITE "${OUTPUT}.new" "// Generated from src/studio/web; do not edit.
#include \"studio/WebAssets.h\"

namespace pixvane::studio {
namespace {
${body}
const TWebAsset Assets[] = {
${table}};
}  // namespace

const TWebAsset* FindWebAsset(std::string_view name) {
  for (const TWebAsset& asset : Assets)
    if (asset.Name == name) return &asset;
  return nullptr;
}

}  // namespace pixvane::studio
")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
