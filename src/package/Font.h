#pragma once
#include <cstdint>
#include <string>

#include "graphics/Text.h"
#include "package/IdentMaps.h"
#include "package/Persistent.h"

namespace pixvane {

// A font description as stored in a settings record: what the text renderer
// reads of it (face, height, style, character set) and its colour. A new
// font has the platform's default face, size, colour and character set.
class TFont : public TPersistent, public TTextFont {
 public:
  int32_t Color = clWindowText;

  std::string_view ClassName() const override { return "TFont"; }
  void DefineProperties(TPropertyList& properties) override;
};

}  // namespace pixvane
