#include "tools/ToolTestFiles.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

#include <jpeglib.h>
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

std::string Quote(const std::string& text) {
#ifdef _WIN32
  return "\"" + text + "\"";
#else
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
#endif
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

fs::path TToolFolder::Write(const std::string& name, const std::string& bytes) const {
  fs::path path = FPath / name;
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
  return path;
}

fs::path TToolFolder::Write(const std::string& name, const std::vector<uint8_t>& bytes) const {
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
  jpeg_compress_struct info;
  jpeg_error_mgr error;
  info.err = jpeg_std_error(&error);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 85, TRUE);
  jpeg_start_compress(&info, TRUE);
  std::vector<uint8_t> row(static_cast<size_t>(width) * 3);
  while (info.next_scanline < info.image_height) {
    int y = static_cast<int>(info.next_scanline);
    for (int x = 0; x < width; ++x) {
      row[x * 3] = static_cast<uint8_t>(x * 255 / width);
      row[x * 3 + 1] = static_cast<uint8_t>(y * 255 / height);
      row[x * 3 + 2] = static_cast<uint8_t>((x ^ y) * (seed + 1));
    }
    JSAMPROW pointer = row.data();
    jpeg_write_scanlines(&info, &pointer, 1);
  }
  jpeg_finish_compress(&info);
  std::vector<uint8_t> bytes(buffer, buffer + size);
  jpeg_destroy_compress(&info);
  std::free(buffer);
  return bytes;
}

TToolRun RunTool(const std::vector<std::string>& arguments, const fs::path& scratch) {
  fs::path out = scratch / "tool-stdout.txt", err = scratch / "tool-stderr.txt";
  std::string command = Quote(PIXVANE_TOOL_PATH);
  for (const std::string& argument : arguments) command += " " + argument;
  command += " >" + Quote(out.string()) + " 2>" + Quote(err.string());
#ifdef _WIN32
  // cmd.exe strips the outer quotes of a command line that starts with one.
  command = "\"" + command + "\"";
#endif
  int status = std::system(command.c_str());
  TToolRun run;
#ifdef _WIN32
  run.ExitCode = status;
#else
  run.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
  run.Out = Slurp(out);
  run.Err = Slurp(err);
#ifdef _WIN32
  // The tool's streams are in text mode there; compare texts by their lines.
  for (std::string* text : {&run.Out, &run.Err})
    for (size_t at; (at = text->find("\r\n")) != std::string::npos;) text->erase(at, 1);
#endif
  fs::remove(out);
  fs::remove(err);
  return run;
}

}  // namespace pixvane::test
