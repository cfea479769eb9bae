#pragma once
#include "package/Persistent.h"

namespace pixvane {

// Identifiers that a font's integer properties may be written as.
extern const TIdentMap CharsetIdents;  // the 18 Windows character sets
extern const TIdentMap ColorIdents;    // the 49 named colours, 00BBGGRR or 80000000 + index

// Element names of a font's style set, bit i = element i.
extern const TIdentMap FontStyleNames;

inline constexpr int32_t clWindowText = static_cast<int32_t>(0x80000008);
inline constexpr int32_t clWhite = 0xFFFFFF;
inline constexpr int32_t DefaultCharset = 1;  // DEFAULT_CHARSET, which windows.h defines as a macro

}  // namespace pixvane
