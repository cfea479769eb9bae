#pragma once
#include <array>
#include <cstdint>
#include <initializer_list>
#include <string_view>

#include "package/Persistent.h"
#include "skin/SkinTypes.h"

namespace pixvane {

// The states a button-like object may have a look of its own for, besides
// the normal one: the indices of TStateLooks.
enum TLookState : int32_t { lsHot, lsFocused, lsPressed, lsDisabled };

// The index of a state number's own look; -1 for a state painted normally.
inline int32_t LookIndex(int32_t state) {
  switch (state) {
    case StateHot:
      return lsHot;
    case StateFocused:
      return lsFocused;
    case StatePressed:
      return lsPressed;
    case StateDisabled:
      return lsDisabled;
    default:
      return -1;
  }
}

// One look (a bitmap link, a font, a colour) for each of those states. The
// normal look is the object's own Bitmap, Font or Color.
template <typename T>
struct TStateLooks {
  std::array<T, 4> Items{};  // by TLookState

  T& operator[](TLookState state) { return Items[state]; }
  const T& operator[](TLookState state) const { return Items[state]; }
  // The look a state number paints with: its own, else normal.
  const T& For(int32_t state, const T& normal) const {
    const int32_t index = LookIndex(state);
    return index < 0 ? normal : Items[static_cast<size_t>(index)];
  }
};

// The stored names of four looks, in TLookState order. The names differ from
// class to class; skins store them so.
using TLookNames = std::array<std::string_view, 4>;

// Publishes looks that are objects (links, fonts) in TLookState order.
template <typename T>
void PublishLooks(TPropertyList& properties, TStateLooks<T>& looks, const TLookNames& names) {
  for (size_t i = 0; i < names.size(); ++i) properties.Object(names[i], looks.Items[i]);
}

}  // namespace pixvane
