#pragma once
#include <cstdint>
#include <string>

#include "package/CommaList.h"
#include "package/Font.h"
#include "package/Persistent.h"

namespace pixvane {

// The settings record of a content package: everything about a show.
class TSSFileLocations : public TPersistent {
 public:
  std::string Text;
  TFont TextFont;
  bool lRandomPic = false;
  bool lRandomStyle = false;
  bool lClearOldImage = false;
  bool lStretch = false;
  int32_t Interval = 0;
  int32_t SoundRandom = 0;
  bool lSoundLoop = false;
  bool lMute = false;
  bool lExitMouseMove = false;
  bool lExitMouseClick = false;
  bool lExitKeyPress = false;
  bool lShowMouseCursor = false;
  bool lExitFSCommandQuit = false;
  std::string Title, Author, Email, Web, Ver;
  TCommaList EffectList, PicList, PicFileNamesList, SndList, SndFileNamesList, SndSizesList,
      FlashList, FlashFileNamesList, FlashSizesList, DescriptList;
  std::string Name;  // every streamable component has these two; packages leave them empty
  int32_t Tag = 0;

  std::string_view ClassName() const override { return "TSSFileLocations"; }
  void DefineProperties(TPropertyList& properties) override;

  // Accessors of the lists; an index outside its own list fails with
  // "Index is out of bounds", and a numeric item that is not a number is 0.
  int EffectCount() const { return EffectList.Count(); }
  int32_t EffectAt(int i) const { return EffectList.IntAt(i); }
  int PicCount() const { return PicList.Count(); }
  int32_t PicOffsetAt(int i) const { return PicList.IntAt(i); }
  int SndCount() const { return SndList.Count(); }
  int32_t SndOffsetAt(int i) const { return SndList.IntAt(i); }
  const std::string& SndFileNameAt(int i) const { return SndFileNamesList.At(i); }
  int32_t SndSizeAt(int i) const { return SndSizesList.IntAt(i); }
  int FlashCount() const { return FlashList.Count(); }
  int32_t FlashOffsetAt(int i) const { return FlashList.IntAt(i); }
  const std::string& FlashFileNameAt(int i) const { return FlashFileNamesList.At(i); }
  int32_t FlashSizeAt(int i) const { return FlashSizesList.IntAt(i); }
};

}  // namespace pixvane
