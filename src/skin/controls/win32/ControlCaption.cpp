#include "skin/controls/win32/ControlCaption.h"

#include <string>
#include <vector>

#include "base/win32/Handles.h"
#include "skin/controls/ControlInput.h"

namespace pixvane {
namespace {

// A line as drawn: its characters and where each one ends.
struct TLine {
  std::string Text;
  int Mark = -1;
  std::vector<int> Ends;  // the advance to the end of each character
  int Width() const { return Ends.empty() ? 0 : Ends.back(); }
};

TLine Measure(HDC dc, std::string_view caption, UINT format) {
  TLine line;
  if (format & DT_NOPREFIX) {
    line.Text = caption;
  } else {
    TCaptionMarks marks = CaptionMarks(caption);
    line.Text = std::move(marks.Shown);
    line.Mark = marks.Mark;
  }
  line.Ends.resize(line.Text.size());
  SIZE size{};
  if (!line.Text.empty())
    GetTextExtentExPointA(dc, line.Text.c_str(), static_cast<int>(line.Text.size()), 0, nullptr,
                          line.Ends.data(), &size);
  return line;
}

// The longest beginning that fits width with "..." after it, and the dots.
TLine Ellipsis(HDC dc, const TLine& line, int width) {
  const int dots = Measure(dc, "...", DT_NOPREFIX).Width();
  size_t keep = 0;
  while (keep < line.Text.size() && line.Ends[keep] + dots <= width) ++keep;
  TLine shorter = Measure(dc, line.Text.substr(0, keep) + "...", DT_NOPREFIX);
  if (line.Mark >= 0 && static_cast<size_t>(line.Mark) < keep) shorter.Mark = line.Mark;
  return shorter;
}

}  // namespace

SIZE MeasureCaption(HDC dc, std::string_view caption, UINT format) {
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  return {Measure(dc, caption, format).Width(), metrics.tmHeight};
}

void DrawCaption(HDC dc, const RECT& rect, std::string_view caption, UINT format) {
  TLine line = Measure(dc, caption, format);
  const int width = rect.right - rect.left;
  if ((format & DT_END_ELLIPSIS) && line.Width() > width) line = Ellipsis(dc, line, width);
  if (line.Text.empty()) return;
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  const int x = format & DT_CENTER ? rect.left + (width - line.Width()) / 2 : rect.left;
  const int y = rect.top + (rect.bottom - rect.top - metrics.tmHeight) / 2;
  std::vector<int> advances(line.Ends.size());
  for (size_t i = 0; i < advances.size(); ++i)
    advances[i] = line.Ends[i] - (i ? line.Ends[i - 1] : 0);
  ExtTextOutA(dc, x, y, ETO_CLIPPED, &rect, line.Text.c_str(), static_cast<UINT>(line.Text.size()),
              advances.data());
  if (line.Mark < 0) return;
  // The access key's mark: a line under its character, just below the
  // baseline, in the text's colour.
  const size_t mark = static_cast<size_t>(line.Mark);
  RECT under{x + (mark ? line.Ends[mark - 1] : 0), y + metrics.tmAscent + 1, x + line.Ends[mark],
             y + metrics.tmAscent + 2};
  IntersectRect(&under, &under, &rect);
  TGdiBrush ink(CreateSolidBrush(GetTextColor(dc)));
  FillRect(dc, &under, ink.Get());
}

}  // namespace pixvane
