#include "base/Errors.h"

#include <initializer_list>

namespace pixvane {
namespace {

std::string FormatList(const char* pattern, std::initializer_list<const std::string*> args) {
  std::string out;
  auto next = args.begin();
  for (const char* p = pattern; *p; ++p) {
    if (p[0] == '%' && p[1] == 's' && next != args.end()) {
      out += **next++;
      ++p;
    } else {
      out += *p;
    }
  }
  return out;
}

}  // namespace

std::string Format(const char* pattern, const std::string& a) {
  return FormatList(pattern, {&a});
}

std::string Format(const char* pattern, const std::string& a, const std::string& b,
                   const std::string& c, const std::string& d) {
  return FormatList(pattern, {&a, &b, &c, &d});
}

}  // namespace pixvane
