#include "maker/Glob.h"

#include <algorithm>

#include "maker/ToolError.h"

namespace pixvane::maker {
namespace {

namespace fs = std::filesystem;

#ifdef _WIN32
constexpr bool FileNamesIgnoreCase = true;
#else
constexpr bool FileNamesIgnoreCase = false;
#endif

char32_t Fold(char32_t c, bool ignoreCase) {
  return ignoreCase && c >= U'A' && c <= U'Z' ? c - U'A' + U'a' : c;
}

// Matches c against the set that starts just after "[" at pattern[p]; on
// success p is left just after the closing "]". An unclosed "[" is no set.
bool MatchSet(std::u32string_view pattern, size_t& p, char32_t c, bool ignoreCase, bool& isSet) {
  size_t i = p;
  bool negate = i < pattern.size() && (pattern[i] == U'!' || pattern[i] == U'^');
  if (negate) ++i;
  bool found = false;
  size_t first = i;
  // A "]" right after the opening (or its "!") is a member, not the end.
  while (i < pattern.size() && (pattern[i] != U']' || i == first)) {
    char32_t low = Fold(pattern[i], ignoreCase), high = low;
    if (i + 2 < pattern.size() && pattern[i + 1] == U'-' && pattern[i + 2] != U']') {
      high = Fold(pattern[i + 2], ignoreCase);
      i += 2;
    }
    if (c >= low && c <= high) found = true;
    ++i;
  }
  isSet = i < pattern.size();
  if (!isSet) return false;
  p = i + 1;
  return found != negate;
}

// Matches one pattern element at pattern[p] against name[n] and advances both.
bool MatchOne(std::u32string_view pattern, size_t& p, std::u32string_view name, size_t& n,
              bool ignoreCase) {
  if (n >= name.size()) return false;
  char32_t c = Fold(name[n], ignoreCase);
  if (pattern[p] == U'?') {
    ++p, ++n;
    return true;
  }
  if (pattern[p] == U'[') {
    size_t q = p + 1;
    bool isSet = false;
    bool match = MatchSet(pattern, q, c, ignoreCase, isSet);
    if (isSet) {
      if (match) p = q, ++n;
      return match;
    }
  }
  if (Fold(pattern[p], ignoreCase) != c) return false;
  ++p, ++n;
  return true;
}

}  // namespace

bool HasWildcards(std::string_view text) {
  return text.find_first_of("*?[") != std::string_view::npos;
}

bool MatchesGlob(std::u32string_view pattern, std::u32string_view name, bool ignoreCase) {
  if (!name.empty() && name[0] == U'.' && (pattern.empty() || pattern[0] != U'.')) return false;
  // The classic single-backtrack matcher: on a mismatch, let the last "*"
  // swallow one more character and try again from there.
  size_t p = 0, n = 0, starP = std::u32string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == U'*') {
      starP = ++p;
      starN = n;
    } else if (p < pattern.size() && MatchOne(pattern, p, name, n, ignoreCase)) {
    } else if (starP != std::u32string_view::npos) {
      p = starP;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == U'*') ++p;
  return p == pattern.size();
}

namespace {

std::vector<fs::path> Expand(const fs::path& base, const std::string& pattern, bool ignoreCase) {
  fs::path relative = PathFromUtf8(pattern);
  fs::path folder = base / relative.parent_path();
  if (HasWildcards(Utf8FromPath(relative.parent_path())))
    throw EToolError("wildcards are allowed only in the last part of a path: " + pattern);
  std::u32string namePattern = relative.filename().u32string();
  std::vector<fs::path> matches;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    if (it->is_regular_file(error) &&
        MatchesGlob(namePattern, it->path().filename().u32string(), ignoreCase))
      matches.push_back(it->path());
  }
  std::sort(matches.begin(), matches.end(), [](const fs::path& a, const fs::path& b) {
    return a.filename().native() < b.filename().native();
  });
  return matches;
}

}  // namespace

std::vector<fs::path> ExpandGlob(const fs::path& base, const std::string& pattern) {
  return Expand(base, pattern, FileNamesIgnoreCase);
}

std::vector<fs::path> CaseOnlyMatches(const fs::path& base, const std::string& pattern) {
  if (FileNamesIgnoreCase) return {};
  return Expand(base, pattern, true);
}

}  // namespace pixvane::maker
