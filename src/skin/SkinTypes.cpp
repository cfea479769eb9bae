#include "skin/SkinTypes.h"

#include <iterator>

namespace pixvane {
namespace {
constexpr TIdentEntry SkinAlignNamesEntries[] = {
    {"saNone", saNone},
    {"saLeft", saLeft},
    {"saMostLeft", saMostLeft},
    {"saTop", saTop},
    {"saMostTop", saMostTop},
    {"saRight", saRight},
    {"saMostRight", saMostRight},
    {"saBottom", saBottom},
    {"saMostBottom", saMostBottom},
    {"saClient", saClient},
    {"saTopLeft", saTopLeft},
    {"saTopRight", saTopRight},
    {"saBottomLeft", saBottomLeft},
    {"saBottomRight", saBottomRight},
    {"saCenter", saCenter},
    {"saText", saText},
};
constexpr TIdentEntry SkinKindNamesEntries[] = {
    {"skNone", skNone},
    {"skForm", skForm},
    {"skCaption", skCaption},
    {"skTitle", skTitle},
    {"skTop", skTop},
    {"skLeft", skLeft},
    {"skRight", skRight},
    {"skBottom", skBottom},
    {"skTopLeft", skTopLeft},
    {"skTopRight", skTopRight},
    {"skBottomLeft", skBottomLeft},
    {"skBottomRight", skBottomRight},
    {"skSysButton", skSysButton},
    {"skClient", skClient},
    {"skMenuBar", skMenuBar},
    {"skMenuBarItem", skMenuBarItem},
    {"skMenuBarItemText", skMenuBarItemText},
    {"skPopupMenu", skPopupMenu},
    {"skPopupMenuItem", skPopupMenuItem},
    {"skPopupMenuItemText", skPopupMenuItemText},
    {"skItemText", skItemText},
};
constexpr TIdentEntry SkinTextAlignNamesEntries[] = {
    {"taTopLeft", taTopLeft},         {"taTopCenter", taTopCenter},
    {"taTopRight", taTopRight},       {"taLeft", taLeft},
    {"taCenter", taCenter},           {"taRight", taRight},
    {"taBottomLeft", taBottomLeft},   {"taBottomCenter", taBottomCenter},
    {"taBottomRight", taBottomRight},
};
constexpr TIdentEntry SkinTextEffectNamesEntries[] = {
    {"teNone", teNone},
    {"teShadow", teShadow},
};
constexpr TIdentEntry SkinTileStyleNamesEntries[] = {
    {"tsTile", tsTile},
    {"tsStretch", tsStretch},
    {"tsCenter", tsCenter},
};
constexpr TIdentEntry SkinActionNamesEntries[] = {
    {"sbaNone", sbaNone},         {"sbaClose", sbaClose},         {"sbaHelp", sbaHelp},
    {"sbaMinimize", sbaMinimize}, {"sbaMaximize", sbaMaximize},   {"sbaRestore", sbaRestore},
    {"sbaRollUp", sbaRollUp},     {"sbaRollDown", sbaRollDown},   {"sbaTray", sbaTray},
    {"sbaSysMenu", sbaSysMenu},   {"sbaRollPanel", sbaRollPanel}, {"sbaCustom", sbaCustom},
};
constexpr TIdentEntry SkinRollKindNamesEntries[] = {
    {"rkLeft", rkLeft},
    {"rkTop", rkTop},
    {"rkRight", rkRight},
    {"rkBottom", rkBottom},
};

}  // namespace

const TIdentMap SkinAlignNames(SkinAlignNamesEntries, std::size(SkinAlignNamesEntries));
const TIdentMap SkinKindNames(SkinKindNamesEntries, std::size(SkinKindNamesEntries));
const TIdentMap SkinTextAlignNames(SkinTextAlignNamesEntries, std::size(SkinTextAlignNamesEntries));
const TIdentMap SkinTextEffectNames(SkinTextEffectNamesEntries,
                                    std::size(SkinTextEffectNamesEntries));
const TIdentMap SkinTileStyleNames(SkinTileStyleNamesEntries, std::size(SkinTileStyleNamesEntries));
const TIdentMap SkinActionNames(SkinActionNamesEntries, std::size(SkinActionNamesEntries));
const TIdentMap SkinRollKindNames(SkinRollKindNamesEntries, std::size(SkinRollKindNamesEntries));

}  // namespace pixvane
