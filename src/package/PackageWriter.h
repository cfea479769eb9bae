#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "package/SSFileLocations.h"

namespace pixvane {

class TStream;

// Appends a content package to a player. The output stream must stand at the
// end of the player's bytes: every offset in the package is absolute, so
// it counts the player too. Pictures come first (the first one at the
// package start), then sounds and movies, then the settings object and the
// trailer. The record's lists are filled in as media are added; file names
// are given in UTF-8 and stored as the record keeps text (SettleNames).
class TPackageWriter {
 public:
  TPackageWriter(TStream& out, TSSFileLocations& settings);

  // The JPEG file's header is parsed first; a damaged one fails with
  // "JPEG error #%d" and nothing is written.
  void AddPicture(std::vector<uint8_t> jpeg, const std::string& fileName);
  void AddSound(const std::string& name, TStream& source);
  void AddFlash(const std::string& name, TStream& source);
  // Writes the settings object and the trailer; returns the package length.
  int64_t Finish();

 private:
  int32_t Offset() const;
  // A raw file run: its bytes, and its offset, name and size in the lists.
  void AddRun(TWritableMediaRun run, const std::string& name, TStream& source);
  TStream& FOut;
  TSSFileLocations& FSettings;
  int64_t FStart;
};

}  // namespace pixvane
