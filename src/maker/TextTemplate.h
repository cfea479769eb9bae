#pragma once
#include <map>
#include <string>
#include <string_view>

namespace pixvane::maker {

// text with each @KEY@ of values replaced by its value, in one pass, so a
// value is never read as a key itself; an @ that starts no key stays.
std::string FillTemplate(std::string_view text, const std::map<std::string, std::string>& values);

}  // namespace pixvane::maker
