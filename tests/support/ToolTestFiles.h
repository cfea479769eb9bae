#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace pixvane::test {

// A fresh, empty folder under the system's temporary folder, removed with
// everything in it when the test ends.
class TToolFolder {
 public:
  TToolFolder();
  ~TToolFolder();
  TToolFolder(const TToolFolder&) = delete;
  TToolFolder& operator=(const TToolFolder&) = delete;

  const std::filesystem::path& Path() const { return FPath; }
  std::filesystem::path operator/(const std::string& name) const { return FPath / name; }
  // Writes bytes to name (sub-folders are created) and returns the path.
  std::filesystem::path Write(const std::filesystem::path& name, const std::string& bytes) const;
  std::filesystem::path Write(const std::filesystem::path& name,
                              const std::vector<uint8_t>& bytes) const;
  // The names of the folder's entries, sorted.
  std::vector<std::string> Names(const std::string& sub = "") const;

 private:
  std::filesystem::path FPath;
};

std::vector<uint8_t> ReadBytes(const std::filesystem::path& path);

// A baseline JPEG of the given size made by libjpeg, its pixels a pattern
// that depends on seed so every picture's bytes differ.
std::vector<uint8_t> MakeJpeg(int width, int height, int seed);

// A JPEG in printing inks of one colour throughout, as Adobe's programs
// write them: cyan, magenta, yellow and black (0-255 each) stored inverted,
// with the Adobe marker that says so.
std::vector<uint8_t> MakeCmykJpeg(int width, int height, const uint8_t (&inks)[4]);

// The JPEG file with an EXIF block after its start marker whose one entry
// is the orientation (1-8), in either byte order, as cameras write it.
std::vector<uint8_t> WithExifOrientation(const std::vector<uint8_t>& jpeg, int orientation,
                                         bool bigEndian = false);

// The JPEG file with an EXIF block whose EXIF directory holds the date
// taken, as cameras write it ("2024:03:12 09:30:00", 19 characters).
std::vector<uint8_t> WithExifDate(const std::vector<uint8_t>& jpeg, const std::string& taken);

// The least a file needs to pass for the player: a PE header and the
// player's FileDescription in UTF-16, as its version resource holds it.
std::string MakePlayerStandIn();

}  // namespace pixvane::test
