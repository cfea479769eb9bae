#include "package/Font.h"

namespace pixvane {

void TFont::DefineProperties(TPropertyList& properties) {
  properties.Integer("Charset", Charset, &CharsetIdents);
  properties.Integer("Color", Color, &ColorIdents);
  properties.Integer("Height", Height);
  properties.Text("Name", Name);
  properties.Set("Style", Style, FontStyleNames);
}

}  // namespace pixvane
