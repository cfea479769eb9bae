#pragma once
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "skin/SkinBitmap.h"
#include "skin/SkinObject.h"

namespace pixvane {

class TStream;

// A skin: header texts, the bitmaps and the top-level objects, which it
// owns. Objects it holds know its bitmap list and have their links
// resolved.
class TSkinSource {
 public:
  std::string SkinName = "Untitled skin";
  std::string SkinVersion = "2.0.0";
  std::string Author = "Unknown author";
  std::string AuthorEMail = "no e-mail given";
  std::string AuthorURL = "no web address given";

  const TSkinBitmapList& Bitmaps() const { return FBitmaps; }
  void AddBitmap(std::unique_ptr<TSkinBitmap> bitmap);
  // Takes the object, gives it and its descendants the bitmap list and
  // resolves their links.
  void AddObject(std::unique_ptr<TSkinObject> object);

  int ObjectCount() const { return static_cast<int>(FObjects.size()); }
  // Nothing out of range, or while the skin is changing.
  TSkinObject* Object(int index) const;
  // The first top-level object of that name (ignoring ASCII case) or kind.
  TSkinObject* ObjectByName(std::string_view name) const;
  TSkinObject* ObjectByKind(int32_t kind) const;
  // "Form", else the first top-level object of kind skForm.
  TSkinObject* FormObject() const;

  // Set while a new skin replaces this one, so that repaints in between
  // find no objects.
  bool Changing = false;

  // Empties the bitmaps and objects; the header texts stay.
  void Clear();

  // The skin record: five header texts, the bitmaps, the object records.
  // Reading replaces the whole skin; an error leaves it partly read.
  void LoadFromStream(TStream& stream);
  void SaveToStream(TStream& stream) const;
  // Skin files: "SKLZ" and the record deflated at zlib level 1. A file
  // without the signature is refused ("... is not a skin file").
  void LoadFromFile(const std::filesystem::path& path);
  void SaveToFile(const std::filesystem::path& path) const;
  void LoadFromFileBytes(const std::vector<uint8_t>& bytes, const std::string& shownName);
  std::vector<uint8_t> FileBytes() const;

  // Turns the hue of every bitmap and object so that the skin shows delta
  // degrees from its stored colours (see SkinHue.h).
  void ApplyHue(int32_t delta);
  int32_t AppliedHue() const { return FAppliedHue; }

 private:
  TSkinBitmapList FBitmaps;
  std::vector<std::unique_ptr<TSkinObject>> FObjects;
  int32_t FAppliedHue = 0;
};

}  // namespace pixvane
