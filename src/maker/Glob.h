#pragma once
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace pixvane::maker {

// True when text holds one of the wildcard characters *, ? or [.
bool HasWildcards(std::string_view text);

// Shell-style match of one file name: "*" any run of characters, "?" one
// character, "[abc]", "[a-z]" and "[!a-z]" (or "[^a-z]") one character of a
// set. A name starting with "." is matched only by a pattern that does too,
// so "*.jpg" leaves out the "._x.jpg" shadow files some systems scatter about.
bool MatchesGlob(std::u32string_view pattern, std::u32string_view name, bool ignoreCase);

// The regular files matching pattern (UTF-8, relative to base unless
// absolute), sorted by name. Wildcards may stand only in the last part of the
// pattern: one folder is listed, never a tree. An empty result is returned as
// such; the caller decides whether that is an error. A folder part with
// wildcards fails with EToolError.
std::vector<std::filesystem::path> ExpandGlob(const std::filesystem::path& base,
                                              const std::string& pattern);

// The files pattern would match if letter case were ignored, for a pattern
// that matched nothing where file names are case-sensitive ("*.JPG" among
// "a.jpg", "b.jpg"); empty where names ignore case anyway.
std::vector<std::filesystem::path> CaseOnlyMatches(const std::filesystem::path& base,
                                                   const std::string& pattern);

}  // namespace pixvane::maker
