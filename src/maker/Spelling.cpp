#include "maker/Spelling.h"

#include <algorithm>

#include "base/AsciiText.h"

namespace pixvane::maker {

size_t EditDistance(std::string_view a, std::string_view b) {
  std::vector<size_t> row(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    size_t diagonal = row[0];
    row[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      size_t above = row[j];
      row[j] = std::min({above + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
      diagonal = above;
    }
  }
  return row[b.size()];
}

size_t SpellingReach(std::string_view word) {
  return std::max<size_t>(2, word.size() / 3);
}

std::vector<std::string> ClosestNames(std::string_view word,
                                      const std::vector<std::string>& names) {
  const std::string lower = AsciiLowerCase(word);
  std::vector<std::string> closest;
  size_t best = SpellingReach(word);
  for (const std::string& name : names) {
    const size_t distance = EditDistance(lower, AsciiLowerCase(name));
    if (distance > best) continue;
    if (distance < best) closest.clear();
    best = distance;
    if (std::find(closest.begin(), closest.end(), name) == closest.end()) closest.push_back(name);
  }
  return closest;
}

std::string QuotedChoices(const std::vector<std::string>& names) {
  std::string text;
  for (size_t i = 0; i < names.size(); ++i) {
    if (i > 0) text += i + 1 == names.size() ? " or " : ", ";
    text += "\"" + names[i] + "\"";
  }
  return text;
}

}  // namespace pixvane::maker
