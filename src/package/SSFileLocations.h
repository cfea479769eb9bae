#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "base/CodePage.h"

#include "package/CommaList.h"
#include "package/Font.h"
#include "package/Persistent.h"

namespace pixvane {

// A UTF-8 file name in the code page: a character the code page lacks
// becomes "_" and its code in hex ("夕日.wav" is "_5915_65E5.wav"), so
// different names stay different and the result is still a plain name.
std::string CodePageFileName(std::string_view utf8);

// One kind of raw file run in a package, its sounds or its Flash movies:
// three parallel lists of the settings record holding each file's absolute
// offset, stored name and size. Each list is read on its own: an index
// outside it fails with "Index is out of bounds", and a size or offset that
// is not a number is 0. Readers get the const form, the package writer the
// writable one. The names are in the code page, or all of them UTF-8 when
// one has characters the code page lacks (NamesUtf8).
template <typename TList>
struct TMediaRunOf {
  TList& Offsets;
  TList& Names;
  TList& Sizes;
  std::conditional_t<std::is_const_v<TList>, const bool, bool>& NamesUtf8;

  int Count() const { return Offsets.Count(); }
  int32_t OffsetAt(int i) const { return Offsets.IntAt(i); }
  const std::string& NameAt(int i) const { return Names.At(i); }
  int32_t SizeAt(int i) const { return Sizes.IntAt(i); }
  // The name as its maker wrote it.
  std::string Utf8NameAt(int i) const { return TStoredText(Names.At(i), NamesUtf8).ToUtf8(); }
  // The name the player extracts the file under: the stored one, in the code
  // page the player's file and media calls take, so a UTF-8 name is spelt
  // with what the code page has (CodePageFileName).
  std::string FileNameAt(int i) const {
    return NamesUtf8 ? CodePageFileName(Names.At(i)) : Names.At(i);
  }

  // The writable form only: one more file at the end of the run.
  void Append(int32_t offset, const std::string& name, int64_t size) {
    Offsets.Items.push_back(std::to_string(offset));
    Names.Items.push_back(name);
    Sizes.Items.push_back(std::to_string(size));
  }
};
using TMediaRun = TMediaRunOf<const TCommaList>;
using TWritableMediaRun = TMediaRunOf<TCommaList>;

// How the music goes on, stored as SoundRandom with these values: a random
// track each time, or one random track over and over. Any stored number but
// 2 and 3 plays the list.
enum class TSoundOrder : int32_t { List = 1, Random = 2, RepeatOne = 3 };

// What a saver is, stored as Ver; only the exact texts count. "photo" plays
// its music beside the pictures; "flash" goes on to its movies once the
// pictures are through. Any other text ("Flash" too) is a kind this player
// does not know: no music, and the pictures start over.
enum class TSaverKind { Photo, Flash, Unknown };

// How a picture meets the screen. Stretch and None are the two looks of the
// lStretch flag; Fit and Fill keep the picture's proportions, showing all of
// it between black bars or covering the screen and cropping the overflow
// evenly. Stored as ScaleMode, whose default 0 defers to lStretch.
enum class TScaleMode { Stretch, None, Fit, Fill };

// What the monitors of a screen show: one picture spread over them all, or
// each the next picture of the order. Stored as MonitorMode.
enum class TMonitorMode { Same, Each };

// The settings record of a content package: everything about a show.
class TSSFileLocations : public TPersistent {
 public:
  // The zoom of pan and zoom in thousandths: its default and its range.
  static constexpr int32_t DefaultMotionZoom = 1150, MinMotionZoom = 1050, MaxMotionZoom = 1500;

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
  // Settings added later; each is written only when it differs from its
  // default, so a record that does not use them reads as before.
  int32_t ScaleMode = 0;        // 0 as lStretch says, 1 fit, 2 fill
  bool lShufflePic = false;     // every picture once per round, in a random order
  bool lCaptionShadow = false;  // a soft dark shadow under the caption
  int32_t CaptionMargin = 0;    // pixels at 96 DPI between the caption and the bottom edge
  int32_t Motion = 0;           // 0 still pictures, 1 pan and zoom
  int32_t MotionZoom = DefaultMotionZoom;  // how far pan and zoom zooms, in thousandths
  bool lPicCaptions = false;               // DescriptCommaList holds each picture's own caption
  // Not stored themselves: true when Text, respectively every item of
  // DescriptCommaList, is UTF-8 because it holds characters the code page
  // lacks; the same for the items of the three file-name lists. The reader
  // sets them from the stream's text type.
  bool TextUtf8 = false;
  bool DescriptUtf8 = false;
  bool PicNamesUtf8 = false, SndNamesUtf8 = false, FlashNamesUtf8 = false;
  int32_t MonitorMode = 0;  // 0 one picture for every monitor, 1 a picture of its own on each
  std::string Name;         // every streamable component has these two; packages leave them empty
  int32_t Tag = 0;

  std::string_view ClassName() const override { return "TSSFileLocations"; }
  void DefineProperties(TPropertyList& properties) override;
  // Every published property alike, the unstored Name and Tag included.
  bool operator==(const TSSFileLocations& other) const { return SameProperties(*this, other); }

  // SoundRandom and Ver as the player reads them. The stored values stay as
  // they were read; the setters store what the tool writes.
  TSoundOrder SoundOrder() const;
  void SetSoundOrder(TSoundOrder order);
  TScaleMode Scale() const;
  void SetScale(TScaleMode mode);
  // Motion 1: every picture slowly zooms and pans while it shows; any other
  // stored value keeps it still.
  bool PanZoom() const { return Motion == 1; }
  // The zoom as the player uses it: a stored value outside the range is
  // brought to its nearest end.
  double Zoom() const;
  TMonitorMode Monitors() const {
    return MonitorMode == 1 ? TMonitorMode::Each : TMonitorMode::Same;
  }
  TSaverKind Kind() const;
  void SetKind(TSaverKind kind);  // Photo or Flash

  // The caption of the picture at picIndex: its own when the record holds
  // one, the show's otherwise (empty when there is none).
  TStoredText CaptionOf(int picIndex) const;
  // What the tool stores from the manifest's UTF-8: the show's caption, and
  // one caption per picture in picture order (empty for none). A list with
  // no caption at all leaves the record as it is.
  void SetCaption(std::string_view utf8);
  void SetPicCaptions(const std::vector<std::string>& utf8);

  // Accessors of the lists; an index outside its own list fails with
  // "Index is out of bounds", and a numeric item that is not a number is 0.
  int EffectCount() const { return EffectList.Count(); }
  int32_t EffectAt(int i) const { return EffectList.IntAt(i); }
  int PicCount() const { return PicList.Count(); }
  int32_t PicOffsetAt(int i) const { return PicList.IntAt(i); }
  TMediaRun Sounds() const { return {SndList, SndFileNamesList, SndSizesList, SndNamesUtf8}; }
  TWritableMediaRun Sounds() { return {SndList, SndFileNamesList, SndSizesList, SndNamesUtf8}; }
  TMediaRun Flash() const {
    return {FlashList, FlashFileNamesList, FlashSizesList, FlashNamesUtf8};
  }
  TWritableMediaRun Flash() {
    return {FlashList, FlashFileNamesList, FlashSizesList, FlashNamesUtf8};
  }
  // The stored file name of the picture at i, as its maker wrote it.
  std::string PicFileNameAt(int i) const {
    return TStoredText(PicFileNamesList.At(i), PicNamesUtf8).ToUtf8();
  }
};

}  // namespace pixvane
