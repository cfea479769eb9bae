#include "skin/SkinManager.h"

#include <algorithm>
#include <filesystem>

#include "base/Paths.h"
#include "base/Stream.h"
#include "skin/SkinZlib.h"

namespace pixvane {
namespace {

constexpr uint8_t NoSkin = 0, PlainSkin = 1, PackedSkin = 2;

bool FileExists(const std::string& name) {
  std::error_code error;
  return !name.empty() && std::filesystem::is_regular_file(name, error);
}

}  // namespace

TSkinManager::TSkinManager(std::string programFolder) : FProgramFolder(std::move(programFolder)) {}

void TSkinManager::DefineProperties(TPropertyList& p) {
  p.Integer("DeltaHue", FDeltaHue).SetOrd = [this](int32_t v) { SetDeltaHue(v); };
  p.Text(
      "SkinFile", [this] { return FSkinFile; }, [this](std::string v) { SetSkinFile(v); });
  p.Text(
       "SkinStore", [] { return std::string("(none)"); }, [](std::string) {})
      .Stored = false;
  p.Flag("SkinStoreCompression", SkinStoreCompression).Default = 0;
  p.Text(
       "Version", [] { return std::string("1.0.0"); }, [](std::string) {})
      .Stored = false;
  p.Binary(
      "SkinStream", [this](TStream& s) { ReadSkinStream(s); },
      [this](TStream& s) { WriteSkinStream(s); });
}

void TSkinManager::SetDeltaHue(int32_t delta) {
  if (delta == FDeltaHue && delta == FSource.AppliedHue()) return;
  FDeltaHue = delta;
  if (FSource.ObjectCount() == 0) return;
  AnnounceChanging();
  FSource.ApplyHue(delta);
  AnnounceChanged();
}

void TSkinManager::SetSkinFile(const std::string& name) {
  FSkinFile = name;
  Replace([&] { LoadFile(name); });
}

void TSkinManager::SetSkinStream(TStream& stream) {
  Replace([&] { ReadSkinStream(stream); });
}

// Clears a loaded skin between the two announcements, so that repaints in
// between find no objects, then loads the new one and gives it the hue.
template <typename TLoad>
void TSkinManager::Replace(TLoad load) {
  const bool loaded = FSource.ObjectCount() > 0;
  if (loaded) {
    FSource.Changing = true;
    AnnounceChanging();
    FSource.Clear();
  }
  try {
    load();
  } catch (...) {
    FSource.Changing = false;
    throw;
  }
  FSource.Changing = false;
  FSource.ApplyHue(FDeltaHue);
  AnnounceChanged();
}

void TSkinManager::LoadFile(const std::string& name) {
  if (FileExists(name)) return FSource.LoadFromFile(name);
  // A name with a drive ("C:...") is not looked for elsewhere.
  if (name.size() > 1 && name[1] == ':') return;
  if (const std::string beside = JoinPath(FProgramFolder, name);
      !FProgramFolder.empty() && FileExists(beside))
    FSource.LoadFromFile(beside);
}

void TSkinManager::ReadSkinStream(TStream& stream) {
  const uint8_t flag = stream.ReadByte();
  if (flag == PlainSkin) {
    FSource.LoadFromStream(stream);
  } else if (flag == PackedSkin) {
    std::vector<uint8_t> packed(static_cast<size_t>(stream.Remaining()));
    if (!packed.empty()) stream.ReadBuffer(packed.data(), packed.size());
    TMemoryStream record(ZlibInflate(packed.data(), packed.size(), MaxInflatedSkin));
    FSource.LoadFromStream(record);
  } else {
    return;  // no skin stored, or a flag this engine does not know
  }
  FSkinFile.clear();
}

void TSkinManager::WriteSkinStream(TStream& stream) const {
  uint8_t flag = FSource.ObjectCount() > 0 ? PlainSkin : NoSkin;
  TMemoryStream record;
  if (flag == PlainSkin) FSource.SaveToStream(record);
  if (!SkinStoreCompression) {
    stream.Write(&flag, 1);
    stream.Write(record.Bytes().data(), record.Bytes().size());
    return;
  }
  if (flag == PlainSkin) flag = PackedSkin;
  stream.Write(&flag, 1);
  const std::vector<uint8_t> packed =
      ZlibDeflate(record.Bytes().data(), record.Bytes().size(), -1);  // zlib's default level
  stream.Write(packed.data(), packed.size());
}

void TSkinManager::AddListener(TSkinListener* listener) {
  FListeners.push_back(listener);
}

void TSkinManager::RemoveListener(TSkinListener* listener) {
  std::erase(FListeners, listener);
}

void TSkinManager::AnnounceChanging() {
  for (TSkinListener* listener : std::vector(FListeners)) listener->SkinChanging(*this);
}

void TSkinManager::AnnounceChanged() {
  for (TSkinListener* listener : std::vector(FListeners)) listener->SkinChanged(*this);
}

}  // namespace pixvane
