#pragma once
#include <cstdint>
#include <initializer_list>
#include <random>
#include <string>

#include "package/SSFileLocations.h"

namespace pixvane::test {

// Settings records with every property drawn at random, texts of every byte
// and integers at the edges of each stored width: what the writer must carry
// through whatever form the record takes.
class TRandomRecord {
 public:
  explicit TRandomRecord(unsigned seed) : FRandom(seed) {}

  TSSFileLocations Make() {
    TSSFileLocations r;
    r.Text = Text(400);
    r.TextFont.Charset = Pick({0, 1, 2, 77, 204, 255, 3, 100});
    r.TextFont.Color =
        Pick({0xFFFFFF, 0x123456, static_cast<int32_t>(0x80000005), 0x1FFFFFFF, -1, 0});
    r.TextFont.Height = Int();
    r.TextFont.Name =
        "F" + Text(40);  // an empty face is not written, so the default would come back
    r.TextFont.Style = FRandom() % 16;
    for (bool* flag :
         {&r.lRandomPic, &r.lRandomStyle, &r.lClearOldImage, &r.lStretch, &r.lSoundLoop, &r.lMute,
          &r.lExitMouseMove, &r.lExitMouseClick, &r.lExitKeyPress, &r.lShowMouseCursor,
          &r.lExitFSCommandQuit, &r.lShufflePic, &r.lCaptionShadow, &r.lPicCaptions})
      *flag = FRandom() % 2;
    r.Interval = Int();
    r.SoundRandom = Int();
    r.ScaleMode = Pick({0, 1, 2});
    r.CaptionMargin = Int();
    r.Motion = Pick({0, 1});
    r.MotionZoom = Int();
    r.MonitorMode = Pick({0, 1});
    for (std::string* text : {&r.Title, &r.Author, &r.Email, &r.Web, &r.Ver}) *text = Text(300);
    for (TCommaList* list :
         {&r.EffectList, &r.PicList, &r.PicFileNamesList, &r.SndList, &r.SndFileNamesList,
          &r.SndSizesList, &r.FlashList, &r.FlashFileNamesList, &r.FlashSizesList, &r.DescriptList})
      for (int n = static_cast<int>(FRandom() % 4); n > 0; --n) list->Items.push_back(Text(12));
    return r;
  }

 private:
  int32_t Pick(std::initializer_list<int32_t> values) {
    return values.begin()[FRandom() % values.size()];
  }
  int32_t Int() {
    return Pick({0, 1, -1, 127, 128, -128, -129, 32767, 32768, -32768, -32769, INT32_MAX, INT32_MIN,
                 static_cast<int32_t>(FRandom())});
  }
  std::string Text(int longest) {
    std::string text;
    int length = FRandom() % 3 == 0 ? 0 : static_cast<int>(FRandom() % (longest + 1));
    for (int i = 0; i < length; ++i) text += static_cast<char>(1 + FRandom() % 255);
    return text;
  }
  std::mt19937 FRandom;
};

}  // namespace pixvane::test
