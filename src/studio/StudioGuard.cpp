#include "studio/StudioGuard.h"

#include <algorithm>
#include <cctype>
#include <random>

#include "base/CodePage.h"
#include "maker/ToolError.h"
#include "studio/StudioPlatform.h"

namespace pixvane::studio {
namespace {

bool IsPortText(const std::string& text, int port) {
  return text == std::to_string(port);
}

// Drops the trailing dots and spaces Windows drops from a name.
void TrimEnd(std::string& name) {
  while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
}

// Names Windows keeps for devices, whatever the extension and with spaces
// after them ("CON .txt").
bool IsDeviceName(std::string stem) {
  while (!stem.empty() && stem.back() == ' ') stem.pop_back();
  for (char& c : stem) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  static const char* const devices[] = {"con", "prn", "aux", "nul", "conin$", "conout$"};
  for (const char* device : devices)
    if (stem == device) return true;
  return stem.size() == 4 && (stem.rfind("com", 0) == 0 || stem.rfind("lpt", 0) == 0) &&
         std::isdigit(static_cast<unsigned char>(stem[3]));
}

bool SafePart(const std::string& part) {
  if (part.empty() || part == "." || part == "..") return false;
  if (part.back() == '.' || part.back() == ' ') return false;  // Windows drops them
  for (unsigned char c : part)
    if (c < 0x20 || c == 0x7F ||
        std::string_view("\\:*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos)
      return false;
  return !IsDeviceName(part.substr(0, part.find('.')));
}

}  // namespace

std::string NewAccessToken() {
  std::random_device source;
  static const char digits[] = "0123456789abcdef";
  std::string token;
  for (int i = 0; i < 4; ++i) {
    uint32_t bits = source();
    for (int j = 0; j < 8; ++j, bits >>= 4) token += digits[bits & 15];
  }
  return token;
}

bool TokensMatch(const std::string& given, const std::string& token) {
  if (given.size() != token.size() || token.empty()) return false;
  unsigned difference = 0;
  for (size_t i = 0; i < token.size(); ++i)
    difference |= static_cast<unsigned char>(given[i] ^ token[i]);
  return difference == 0;
}

bool HostAllowed(const std::string& host, int port) {
  for (const char* name : {"127.0.0.1:", "localhost:", "[::1]:"}) {
    std::string prefix(name);
    if (host.size() > prefix.size() && host.compare(0, prefix.size(), prefix) == 0)
      return IsPortText(host.substr(prefix.size()), port);
  }
  return false;
}

std::optional<std::filesystem::path> PathInside(const std::filesystem::path& folder,
                                                const std::string& name) {
  if (name.empty() || name.size() > 400 || name.front() == '/') return std::nullopt;
  std::filesystem::path path = folder;
  size_t start = 0;
  while (start <= name.size()) {
    size_t slash = std::min(name.find('/', start), name.size());
    std::string part = name.substr(start, slash - start);
    if (!SafePart(part)) return std::nullopt;
    path /= maker::PathFromUtf8(part);
    start = slash + 1;
  }
  return path;
}

bool ResolvesInside(const std::filesystem::path& folder, const std::filesystem::path& path) {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::path root = fs::weakly_canonical(folder, error);
  if (error) return false;
  const fs::path real = fs::weakly_canonical(path, error);
  if (error) return false;
  const fs::path relative = real.lexically_relative(root);
  if (relative.empty() || *relative.begin() == "..") return false;
  // Where resolving cannot see through a reparse point (a junction on
  // Windows), any such point between the folder and the file is refused
  // outright. The folder and what holds it are the maker's choice: a
  // project in a linked or synced folder still works.
  fs::path part = folder;
  for (const fs::path& step :
       path.lexically_normal().lexically_relative(folder.lexically_normal())) {
    if (step == "." || step == "..") break;
    part /= step;
    if (IsUnresolvedLink(part)) return false;
  }
  return true;
}

std::string SafeFileName(const std::string& given) {
  std::string name = ValidUtf8(given.substr(
      given.find_last_of("/\\") == std::string::npos ? 0 : given.find_last_of("/\\") + 1));
  for (char& c : name) {
    unsigned char u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F || std::string_view("<>:\"|?*").find(c) != std::string_view::npos)
      c = '_';
  }
  // Windows drops trailing dots and spaces, so "a.jpg " would not be the
  // name it stored.
  TrimEnd(name);
  // A long "extension" is part of the name ("Mr. Smith at the beach").
  size_t dot = name.find_last_of('.');
  if (dot != std::string::npos && name.size() - dot > 8) dot = std::string::npos;
  std::string stem = dot == std::string::npos ? name : name.substr(0, dot);
  std::string extension = dot == std::string::npos ? "" : name.substr(dot);
  while (!stem.empty() && (stem.front() == '.' || stem.front() == ' ')) stem.erase(0, 1);
  TrimEnd(stem);
  if (stem.empty()) return "";
  // Windows would open the device, whatever the extension.
  size_t first = std::min(stem.find('.'), stem.size());
  if (IsDeviceName(stem.substr(0, first))) stem = stem.substr(0, first) + "_" + stem.substr(first);
  if (stem.size() > 120) {
    size_t cut = 120;
    while (cut > 0 && (static_cast<unsigned char>(stem[cut]) & 0xC0) == 0x80) --cut;
    stem.resize(cut);
    TrimEnd(stem);
  }
  return stem + extension;
}

}  // namespace pixvane::studio
