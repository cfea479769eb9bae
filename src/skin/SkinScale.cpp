#include "skin/SkinScale.h"

#include <string_view>

#include "base/MulDiv.h"

namespace pixvane {
namespace {

bool IsGeometry(std::string_view name) {
  for (std::string_view known :
       {"Left", "Top", "Right", "Bottom", "Height", "MarginLeft", "MarginRight", "MarginTop",
        "MarginBottom", "TextMarginLeft", "TextMarginRight", "TextMarginTop", "RollValue"})
    if (name == known) return true;
  return false;
}

// Integer properties by name, through sub-objects (fonts, links); colours
// and character sets have identifier maps and are never sizes.
void ScaleProperties(TPersistent& object, int percent, bool skipBounds) {
  TPropertyList properties;
  object.DefineProperties(properties);
  for (const TProperty& property : properties.Items()) {
    if (property.Kind == TPropKind::Object) {
      ScaleProperties(*property.Object, percent, false);
    } else if (property.Kind == TPropKind::Integer && !property.Idents &&
               IsGeometry(property.Name)) {
      // An object's own rectangle is scaled in place, without a layout.
      const bool bounds =
          property.Name == "Left" || property.Name == "Top" || property.Name == "Height";
      if (!(skipBounds && bounds)) property.SetOrd(MulDiv(property.GetOrd(), percent, 100));
    }
  }
}

void ScaleObject(TSkinObject& object, int percent) {
  object.ScaleBounds(percent);
  ScaleProperties(object, percent, true);
  for (int i = 0; i < object.ChildCount(); ++i) ScaleObject(*object.Child(i), percent);
}

}  // namespace

void ScaleSkinObjects(TSkinSource& source, int percent) {
  for (int i = 0; i < source.ObjectCount(); ++i) ScaleObject(*source.Object(i), percent);
}

int SkinScaleForDpi(int dpi) {
  // Percent of 96 dpi, compared at twice the resolution to avoid rounding:
  // the midpoints 125 % and 175 % are 120 and 168 dpi.
  if (dpi >= 168) return 200;
  if (dpi >= 120) return 150;
  return 100;
}

}  // namespace pixvane
