#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "package/Persistent.h"
#include "skin/SkinSource.h"

namespace pixvane {

class TSkinManager;

// The window messages that announce a skin change to every form and control,
// with the manager as both parameters, and the one that asks a skinned
// control to repaint a skin object (the object as the last parameter).
inline constexpr uint32_t SkinChangedMessage = 1702;
inline constexpr uint32_t SkinChangingMessage = 1703;
inline constexpr uint32_t SkinRepaintMessage = 1921;

// What hears the announcements: the Windows layer sends the messages to its
// forms and controls and then processes what is pending; tests count them.
class TSkinListener {
 public:
  virtual ~TSkinListener() = default;
  virtual void SkinChanging(TSkinManager& manager) = 0;  // 1703, before
  virtual void SkinChanged(TSkinManager& manager) = 0;   // 1702, after
};

// The skin engine of a form: it owns the skin, reads it from the form's
// SkinStream or from a skin file, and turns its hue.
class TSkinManager : public TPersistent {
 public:
  // programFolder is where a skin file named without a folder is looked up
  // when it is not found as given.
  explicit TSkinManager(std::string programFolder = {});

  std::string_view ClassName() const override { return "TSkinManager"; }
  // DeltaHue, SkinFile, SkinStore and Version (display only: they read
  // "(none)" and "1.0.0", and writing them does nothing), SkinStoreCompression
  // and the stored-only SkinStream.
  void DefineProperties(TPropertyList& properties) override;

  TSkinSource& Source() { return FSource; }
  const TSkinSource& Source() const { return FSource; }

  bool SkinStoreCompression = false;  // SkinStream is written deflated

  int32_t DeltaHue() const { return FDeltaHue; }
  // Turns the skin to delta degrees from its stored colours, announcing it
  // when the skin has objects.
  void SetDeltaHue(int32_t delta);

  const std::string& SkinFile() const { return FSkinFile; }
  // Replaces the skin by the file's (looked up beside the program when the
  // name alone finds none; nothing is loaded when neither exists), applies
  // the hue and announces the change. A damaged file raises its read error
  // after the source has been cleared.
  void SetSkinFile(const std::string& name);

  // SkinStream: a flag byte (0 none, 1 a skin record, 2 a zlib stream of
  // one), then the data. Other flags are ignored with what follows them.
  void ReadSkinStream(TStream& stream);
  void WriteSkinStream(TStream& stream) const;
  // Replaces a loaded skin by a SkinStream value as SetSkinFile does by a
  // file: announced, with the hue applied (a form whose screen changes
  // scale takes the skin drawn for the new one).
  void SetSkinStream(TStream& stream);

  void AddListener(TSkinListener* listener);
  void RemoveListener(TSkinListener* listener);

 private:
  void AnnounceChanging();
  void AnnounceChanged();
  void LoadFile(const std::string& name);
  template <typename TLoad>
  void Replace(TLoad load);

  TSkinSource FSource;
  std::string FProgramFolder;
  std::string FSkinFile;
  int32_t FDeltaHue = 0;
  std::vector<TSkinListener*> FListeners;  // not owned; they remove themselves
};

}  // namespace pixvane
