#pragma once
#include <windows.h>

#include <string_view>

namespace pixvane {

// One line of a control's caption, measured and drawn at the same advances.
// GDI under Wine places the hinted glyphs of small fonts a few pixels off
// the advances it measures, so text drawn by DrawText can end past (or well
// short of) its measured box: a focus mark framing the box cuts the last
// letter, an underline runs past the text, a clip cuts a letter that was
// measured to fit. Drawing at the measured advances keeps the ink inside
// the box that was measured.
//
// format takes DrawText's flags for a single line: DT_CENTER (else left),
// DT_NOPREFIX (else "&x" marks x, underlined, and "&&" is "&"), and
// DT_END_ELLIPSIS (a caption too wide for rect ends in "..."). The line is
// centred vertically and cut to rect.
SIZE MeasureCaption(HDC dc, std::string_view caption, UINT format);
void DrawCaption(HDC dc, const RECT& rect, std::string_view caption, UINT format);

}  // namespace pixvane
