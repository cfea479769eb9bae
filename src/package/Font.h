#pragma once
#include <cstdint>
#include <string>

#include "package/IdentMaps.h"
#include "package/Persistent.h"

namespace pixvane {

enum TFontStyle : uint32_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

// A font description as stored in a settings record. A new font has the
// platform's default face, size, colour and character set.
class TFont : public TPersistent {
 public:
  int32_t Charset = DefaultCharset;
  int32_t Color = clWindowText;
  int32_t Height = -11;
  std::string Name = "MS Sans Serif";
  uint32_t Style = 0;  // TFontStyle bits

  std::string_view ClassName() const override { return "TFont"; }
  void DefineProperties(TPropertyList& properties) override;
};

}  // namespace pixvane
