#include "package/SSFileLocations.h"

#include <cassert>

namespace pixvane {
namespace {

TProperty& List(TPropertyList& properties, std::string_view name, TCommaList& list) {
  return properties.Text(
      name, [&list] { return list.CommaText(); },
      [&list](std::string text) { list.SetCommaText(text); });
}

}  // namespace

void TSSFileLocations::DefineProperties(TPropertyList& properties) {
  // Declaration order is the order in which the builder writes them.
  properties.Text("Text", Text);
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
  List(properties, "PicFileNamesCommaList", PicFileNamesList);
  List(properties, "SndCommaList", SndList);
  List(properties, "SndFileNamesCommaList", SndFileNamesList);
  List(properties, "SndSizesCommaList", SndSizesList);
  List(properties, "FlashCommaList", FlashList);
  List(properties, "FlashFileNamesCommaList", FlashFileNamesList);
  List(properties, "FlashSizesCommaList", FlashSizesList);
  List(properties, "DescriptCommaList", DescriptList).Utf8Text = true;
  properties.Text("Name", Name).Stored = false;
  properties.Integer("Tag", Tag).Stored = false;
}

TSoundOrder TSSFileLocations::SoundOrder() const {
  bool named = SoundRandom == 2 || SoundRandom == 3;
  return named ? static_cast<TSoundOrder>(SoundRandom) : TSoundOrder::List;
}

void TSSFileLocations::SetSoundOrder(TSoundOrder order) {
  SoundRandom = static_cast<int32_t>(order);
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
