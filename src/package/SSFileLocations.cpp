#include "package/SSFileLocations.h"

#include <algorithm>
#include <cassert>
#include <iterator>

namespace pixvane {
namespace {

const TIdentEntry ScaleModeNames[] = {{"smStretchFlag", 0}, {"smFit", 1}, {"smFill", 2}};
const TIdentMap ScaleModeMap(ScaleModeNames, std::size(ScaleModeNames));
const TIdentEntry MotionNames[] = {{"mtNone", 0}, {"mtPanZoom", 1}};
const TIdentMap MotionMap(MotionNames, std::size(MotionNames));
const TIdentEntry MonitorModeNames[] = {{"mmSame", 0}, {"mmEach", 1}};
const TIdentMap MonitorModeMap(MonitorModeNames, std::size(MonitorModeNames));

TProperty& List(TPropertyList& properties, std::string_view name, TCommaList& list) {
  return properties.Text(
      name, [&list] { return list.CommaText(); },
      [&list](std::string text) { list.SetCommaText(text); });
}

}  // namespace

std::string CodePageFileName(std::string_view utf8) {
  static const char digits[] = "0123456789ABCDEF";
  std::string name;
  for (size_t i = 0; i < utf8.size();) {
    const char32_t c = NextUtf8(utf8, i);
    std::string one;
    PutUtf8(one, c);
    if (FitsAnsi(one)) {
      name += Utf8ToAnsi(one);
      continue;
    }
    std::string hex;
    for (char32_t rest = c; rest != 0 || hex.size() < 4; rest >>= 4)
      hex.insert(hex.begin(), digits[rest & 15]);
    name += "_" + hex;
  }
  return name;
}

void TSSFileLocations::DefineProperties(TPropertyList& properties) {
  // Declaration order is the order in which the builder writes them.
  properties.Text("Text", Text).Unicode = &TextUtf8;
  properties.Object("TextFont", TextFont);
  properties.Flag("lRandomStyle", lRandomStyle);
  properties.Flag("lRandomPic", lRandomPic);
  properties.Flag("lClearOldImage", lClearOldImage);
  properties.Flag("lStretch", lStretch);
  properties.Integer("Interval", Interval);
  properties.Integer("SoundRandom", SoundRandom);
  properties.Flag("lSoundLoop", lSoundLoop);
  properties.Flag("lMute", lMute);
  properties.Flag("lExitMouseMove", lExitMouseMove);
  properties.Flag("lExitMouseClick", lExitMouseClick);
  properties.Flag("lExitKeyPress", lExitKeyPress);
  properties.Flag("lShowMouseCursor", lShowMouseCursor);
  properties.Flag("lExitFSCommandQuit", lExitFSCommandQuit);
  properties.Text("Title", Title);
  properties.Text("Author", Author);
  properties.Text("Email", Email);
  properties.Text("Web", Web);
  properties.Text("Ver", Ver);
  List(properties, "EffectCommaList", EffectList);
  List(properties, "PicCommaList", PicList);
  List(properties, "PicFileNamesCommaList", PicFileNamesList).Unicode = &PicNamesUtf8;
  List(properties, "SndCommaList", SndList);
  List(properties, "SndFileNamesCommaList", SndFileNamesList).Unicode = &SndNamesUtf8;
  List(properties, "SndSizesCommaList", SndSizesList);
  List(properties, "FlashCommaList", FlashList);
  List(properties, "FlashFileNamesCommaList", FlashFileNamesList).Unicode = &FlashNamesUtf8;
  List(properties, "FlashSizesCommaList", FlashSizesList);
  TProperty& descript = List(properties, "DescriptCommaList", DescriptList);
  descript.Utf8Text = true;
  descript.Unicode = &DescriptUtf8;
  properties.Enum("ScaleMode", ScaleMode, ScaleModeMap).Default = 0;
  properties.Flag("lShufflePic", lShufflePic).Default = 0;
  properties.Flag("lCaptionShadow", lCaptionShadow).Default = 0;
  properties.Integer("CaptionMargin", CaptionMargin).Default = 0;
  properties.Enum("Motion", Motion, MotionMap).Default = 0;
  properties.Integer("MotionZoom", MotionZoom).Default = DefaultMotionZoom;
  properties.Flag("lPicCaptions", lPicCaptions).Default = 0;
  properties.Enum("MonitorMode", MonitorMode, MonitorModeMap).Default = 0;
  properties.Text("Name", Name).Stored = false;
  properties.Integer("Tag", Tag).Stored = false;
}

TStoredText TSSFileLocations::CaptionOf(int picIndex) const {
  if (lPicCaptions && picIndex >= 0 && picIndex < DescriptList.Count() &&
      !DescriptList.At(picIndex).empty())
    return {DescriptList.At(picIndex), DescriptUtf8};
  return {Text, TextUtf8};
}

void TSSFileLocations::SetCaption(std::string_view utf8) {
  TStoredText caption = TStoredText::FromUtf8(utf8);
  Text = std::move(caption.Bytes);
  TextUtf8 = caption.Utf8;
}

void TSSFileLocations::SetPicCaptions(const std::vector<std::string>& utf8) {
  bool any = false, fits = true;
  for (const std::string& caption : utf8) {
    any = any || !caption.empty();
    fits = fits && FitsAnsi(caption);
  }
  if (!any) return;
  // One list, one kind of text: UTF-8 throughout as soon as one caption
  // needs it, so an 8-bit caption is never mistaken for UTF-8.
  DescriptList.Items.clear();
  for (const std::string& caption : utf8)
    DescriptList.Items.push_back(fits ? Utf8ToAnsi(caption) : ValidUtf8(caption));
  DescriptUtf8 = !fits;
  lPicCaptions = true;
}

TSoundOrder TSSFileLocations::SoundOrder() const {
  bool named = SoundRandom == 2 || SoundRandom == 3;
  return named ? static_cast<TSoundOrder>(SoundRandom) : TSoundOrder::List;
}

void TSSFileLocations::SetSoundOrder(TSoundOrder order) {
  SoundRandom = static_cast<int32_t>(order);
}

TScaleMode TSSFileLocations::Scale() const {
  if (ScaleMode == 1) return TScaleMode::Fit;
  if (ScaleMode == 2) return TScaleMode::Fill;
  return lStretch ? TScaleMode::Stretch : TScaleMode::None;
}

void TSSFileLocations::SetScale(TScaleMode mode) {
  // Fit and Fill also set the flag, so a player that knows only the flag
  // still fills the screen with the picture.
  lStretch = mode != TScaleMode::None;
  ScaleMode = mode == TScaleMode::Fit ? 1 : mode == TScaleMode::Fill ? 2 : 0;
}

double TSSFileLocations::Zoom() const {
  return std::clamp(MotionZoom, MinMotionZoom, MaxMotionZoom) / 1000.0;
}

TSaverKind TSSFileLocations::Kind() const {
  if (Ver == "photo") return TSaverKind::Photo;
  if (Ver == "flash") return TSaverKind::Flash;
  return TSaverKind::Unknown;
}

void TSSFileLocations::SetKind(TSaverKind kind) {
  assert(kind != TSaverKind::Unknown);
  Ver = kind == TSaverKind::Flash ? "flash" : "photo";
}

}  // namespace pixvane
