#include "maker/TextTemplate.h"

namespace pixvane::maker {

std::string FillTemplate(std::string_view text, const std::map<std::string, std::string>& values) {
  std::string out;
  size_t at = 0;
  while (at < text.size()) {
    size_t open = text.find('@', at), close = text.find('@', open + 1);
    if (open == std::string_view::npos || close == std::string_view::npos) break;
    auto value = values.find(std::string(text.substr(open + 1, close - open - 1)));
    if (value == values.end()) {
      out += text.substr(at, open + 1 - at);
      at = open + 1;
      continue;
    }
    out += text.substr(at, open - at);
    out += value->second;
    at = close + 1;
  }
  out += text.substr(at);
  return out;
}

}  // namespace pixvane::maker
