#include "maker/ToolError.h"

namespace pixvane::maker {

std::string Located(const std::filesystem::path& file, int line, const std::string& problem) {
  std::string where = PathForMessage(file);
  if (line > 0) where += ":" + std::to_string(line);
  return where + ": " + problem;
}

std::filesystem::path PathFromUtf8(const std::string& text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::string Utf8FromPath(const std::filesystem::path& path) {
  std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

std::string PathForMessage(const std::filesystem::path& path) {
  return Utf8FromPath(path);
}

}  // namespace pixvane::maker
