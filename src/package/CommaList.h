#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace pixvane {

// A list of texts stored as one comma-separated text with double-quote
// quoting, as the settings record keeps its lists.
class TCommaList {
 public:
  std::vector<std::string> Items;

  // Parsing: blanks and control characters (codes 1 to 32) separate items as
  // commas do; a quoted item may hold anything, with "" for one quote; a
  // comma at the very end adds an empty item. A NUL ends the text.
  void SetCommaText(std::string_view text);
  // Items holding a character up to code 32, a quote or a comma are quoted;
  // a single empty item is written "".
  std::string CommaText() const;

  int Count() const { return static_cast<int>(Items.size()); }
  // Item index as text or as integer (0 when it is not one); an index outside
  // the list fails with "Index is out of bounds".
  const std::string& At(int index) const;
  int32_t IntAt(int index) const;

  bool operator==(const TCommaList&) const = default;
};

}  // namespace pixvane
