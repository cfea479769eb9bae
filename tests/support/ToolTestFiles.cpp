#include "support/ToolTestFiles.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

#include "support/TestJpeg.h"
// jpeglib.h needs the size types of cstdio first.
#include <jpeglib.h>
#include "maker/FileKind.h"
#ifndef _WIN32
#include <sys/wait.h>
#endif

#include "package/ClassRegistry.h"

namespace pixvane::test {
namespace {

namespace fs = std::filesystem;

// The tool registers the stream classes at start-up; the tests stand in for it.
const bool Registered = (RegisterStreamClasses(), true);

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

TToolFolder::TToolFolder() {
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path path = fs::temp_directory_path() / ("pixvane-tool-" + std::to_string(random()));
    std::error_code error;
    if (fs::create_directory(path, error)) {
      FPath = path;
      return;
    }
  }
  throw std::runtime_error("cannot create a temporary folder");
}

TToolFolder::~TToolFolder() {
  std::error_code error;
  fs::remove_all(FPath, error);
}

fs::path TToolFolder::Write(const fs::path& name, const std::string& bytes) const {
  fs::path path = FPath / name;
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
  return path;
}

fs::path TToolFolder::Write(const fs::path& name, const std::vector<uint8_t>& bytes) const {
  return Write(name, std::string(bytes.begin(), bytes.end()));
}

std::vector<std::string> TToolFolder::Names(const std::string& sub) const {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(FPath / sub))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<uint8_t> ReadBytes(const fs::path& path) {
  std::string bytes = Slurp(path);
  return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

std::vector<uint8_t> MakeJpeg(int width, int height, int seed) {
  return EncodeJpeg(
      width, height,
      [&](int x, int y) -> uint32_t {
        return (x * 255 / width) | ((y * 255 / height) << 8) |
               ((((x ^ y) * (seed + 1)) & 0xFF) << 16);
      },
      85);
}

std::vector<uint8_t> MakeCmykJpeg(int width, int height, const uint8_t (&inks)[4]) {
  // CMYK in, CMYK stored, with the Adobe marker; its inks inverted, as
  // Adobe's files hold them.
  return CompressJpeg(width, height, 4, JCS_CMYK, 95, false, [&](int, uint8_t* row) {
    for (int x = 0; x < width; ++x)
      for (int i = 0; i < 4; ++i) row[4 * x + i] = static_cast<uint8_t>(255 - inks[i]);
  });
}

namespace {

// The JPEG with an EXIF segment holding tiff right after its start marker.
std::vector<uint8_t> WithExifBlock(const std::vector<uint8_t>& jpeg,
                                   const std::vector<uint8_t>& tiff) {
  std::vector<uint8_t> app1 = {0xFF, 0xE1, 0, 0, 'E', 'x', 'i', 'f', 0, 0};
  app1.insert(app1.end(), tiff.begin(), tiff.end());
  app1[2] = static_cast<uint8_t>((app1.size() - 2) >> 8);
  app1[3] = static_cast<uint8_t>(app1.size() - 2);
  std::vector<uint8_t> result(jpeg.begin(), jpeg.begin() + 2);
  result.insert(result.end(), app1.begin(), app1.end());
  result.insert(result.end(), jpeg.begin() + 2, jpeg.end());
  return result;
}

}  // namespace

std::vector<uint8_t> WithExifOrientation(const std::vector<uint8_t>& jpeg, int orientation,
                                         bool bigEndian) {
  std::vector<uint8_t> tiff;
  auto put = [&](uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
      int shift = 8 * (bigEndian ? bytes - 1 - i : i);
      tiff.push_back(static_cast<uint8_t>(value >> shift));
    }
  };
  tiff = bigEndian ? std::vector<uint8_t>{'M', 'M'} : std::vector<uint8_t>{'I', 'I'};
  put(42, 2);
  put(8, 4);  // the first directory follows the header
  put(1, 2);  // one entry: the orientation, one SHORT
  put(0x0112, 2);
  put(3, 2);
  put(1, 4);
  put(static_cast<uint32_t>(orientation), 2);
  put(0, 2);
  put(0, 4);  // no next directory
  return WithExifBlock(jpeg, tiff);
}

std::vector<uint8_t> WithExifDate(const std::vector<uint8_t>& jpeg, const std::string& taken) {
  std::vector<uint8_t> tiff = {'I', 'I', 42, 0, 8, 0, 0, 0};
  auto put = [&](uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) tiff.push_back(static_cast<uint8_t>(value >> (8 * i)));
  };
  // The first directory (at 8) points to the EXIF directory (at 26), whose
  // one entry's text follows it (at 44).
  put(1, 2);
  put(0x8769, 2);
  put(4, 2);
  put(1, 4);
  put(26, 4);
  put(0, 4);
  put(1, 2);
  put(0x9003, 2);
  put(2, 2);
  put(20, 4);
  put(44, 4);
  put(0, 4);
  tiff.insert(tiff.end(), taken.begin(), taken.end());
  tiff.resize(44 + 20, 0);
  return WithExifBlock(jpeg, tiff);
}

std::string MakePlayerStandIn() {
  std::string bytes(0x40, '\0');
  bytes[0] = 'M';
  bytes[1] = 'Z';
  bytes[0x3C] = 0x40;  // e_lfanew
  bytes += std::string("PE\0\0", 4);
  for (char c : std::string_view(maker::PlayerDescription)) bytes += {c, '\0'};
  return bytes;
}

}  // namespace pixvane::test
