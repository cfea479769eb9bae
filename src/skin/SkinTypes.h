#pragma once
#include <cstdint>

#include "package/Persistent.h"

namespace pixvane {

// The enumerations of skin objects, with ordinals as stored.
enum TSkinAlign : int32_t {
  saNone,
  saLeft,
  saMostLeft,
  saTop,
  saMostTop,
  saRight,
  saMostRight,
  saBottom,
  saMostBottom,
  saClient,
  saTopLeft,
  saTopRight,
  saBottomLeft,
  saBottomRight,
  saCenter,
  saText
};

enum TSkinKind : int32_t {
  skNone,
  skForm,
  skCaption,
  skTitle,
  skTop,
  skLeft,
  skRight,
  skBottom,
  skTopLeft,
  skTopRight,
  skBottomLeft,
  skBottomRight,
  skSysButton,
  skClient,
  skMenuBar,
  skMenuBarItem,
  skMenuBarItemText,
  skPopupMenu,
  skPopupMenuItem,
  skPopupMenuItemText,
  skItemText
};

enum TSkinTextAlign : int32_t {
  taTopLeft,
  taTopCenter,
  taTopRight,
  taLeft,
  taCenter,
  taRight,
  taBottomLeft,
  taBottomCenter,
  taBottomRight
};

enum TSkinTextEffect : int32_t { teNone, teShadow };

enum TSkinTileStyle : int32_t { tsTile, tsStretch, tsCenter };

enum TSkinAction : int32_t {
  sbaNone,
  sbaClose,
  sbaHelp,
  sbaMinimize,
  sbaMaximize,
  sbaRestore,
  sbaRollUp,
  sbaRollDown,
  sbaTray,
  sbaSysMenu,
  sbaRollPanel,
  sbaCustom
};

enum TSkinRollKind : int32_t { rkLeft, rkTop, rkRight, rkBottom };

// The states controls give their trees; a skinned form passes its window
// state (0 normal, 2 maximized, 3 minimized or in the tray, 4 rolled up).
inline constexpr int32_t StateNormal = 0;
inline constexpr int32_t StateHot = 5;
inline constexpr int32_t StatePressed = 6;
inline constexpr int32_t StateFocused = 7;
inline constexpr int32_t StateDisabled = 8;

// The border icons of a skinned form, as bits.
enum TSkinBorderIcon : uint32_t {
  sbiSystemMenu = 1,
  sbiMinimize = 2,
  sbiMaximize = 4,
  sbiHelp = 8,
  sbiRollup = 16,
  sbiTray = 32,
  sbiClose = 64,
};

extern const TIdentMap SkinAlignNames;
extern const TIdentMap SkinKindNames;
extern const TIdentMap SkinTextAlignNames;
extern const TIdentMap SkinTextEffectNames;
extern const TIdentMap SkinTileStyleNames;
extern const TIdentMap SkinActionNames;
extern const TIdentMap SkinRollKindNames;

}  // namespace pixvane
