#include "package/CommaList.h"

#include "base/Errors.h"
#include "base/IntText.h"

namespace pixvane {
namespace {

bool IsBlank(char c) {
  return c >= 1 && c <= 32;
}

void SkipBlanks(std::string_view text, size_t& i) {
  while (i < text.size() && IsBlank(text[i])) ++i;
}

std::string QuotedItem(std::string_view text, size_t& i) {
  std::string item;
  for (++i; i < text.size(); ++i) {
    if (text[i] != '"') {
      item += text[i];
    } else if (i + 1 < text.size() && text[i + 1] == '"') {
      item += '"';
      ++i;
    } else {
      ++i;
      break;
    }
  }
  return item;
}

}  // namespace

void TCommaList::SetCommaText(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  Items.clear();
  size_t i = 0;
  SkipBlanks(text, i);
  while (i < text.size()) {
    if (text[i] == '"') {
      Items.push_back(QuotedItem(text, i));
    } else {
      size_t start = i;
      while (i < text.size() && text[i] != ',' && !IsBlank(text[i])) ++i;
      Items.emplace_back(text.substr(start, i - start));
    }
    SkipBlanks(text, i);
    if (i < text.size() && text[i] == ',') {
      if (i + 1 == text.size()) Items.emplace_back();
      ++i;
      SkipBlanks(text, i);
    }
  }
}

std::string TCommaList::CommaText() const {
  if (Items.size() == 1 && Items[0].empty()) return "\"\"";
  std::string text;
  for (size_t n = 0; n < Items.size(); ++n) {
    const std::string& item = Items[n];
    if (n) text += ',';
    bool quote = false;
    for (char c : item)
      if (static_cast<unsigned char>(c) <= 32 || c == '"' || c == ',') quote = true;
    if (!quote) {
      text += item;
      continue;
    }
    text += '"';
    for (char c : item) {
      if (c == '"') text += '"';
      text += c;
    }
    text += '"';
  }
  return text;
}

const std::string& TCommaList::At(int index) const {
  if (index < 0 || index >= Count()) throw EListError("Index is out of bounds");
  return Items[static_cast<size_t>(index)];
}

int32_t TCommaList::IntAt(int index) const {
  return StrToIntDef(At(index), 0);
}

}  // namespace pixvane
