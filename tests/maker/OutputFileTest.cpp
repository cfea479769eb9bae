#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "maker/Build.h"
#include "maker/OutputFile.h"
#include "support/ToolTestFiles.h"
#ifdef PIXVANE_HAVE_IMAGE_FILES
#include "maker/FrameFiles.h"
#endif

namespace pixvane::maker {
namespace {

namespace fs = std::filesystem;

std::string Contents(const fs::path& path) {
  auto bytes = test::ReadBytes(path);
  return std::string(bytes.begin(), bytes.end());
}

TEST(OutputFile, AFileIsReplacedOnlyWhenCommitted) {
  test::TToolFolder folder;
  fs::path path = folder.Write("out.bin", "old");
  {
    TOutputFile file(path);
    file.Write("new", 3);
  }  // abandoned: the old file stays, the temporary one goes
  EXPECT_EQ(Contents(path), "old");
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"out.bin"});
  WriteOutputFile(path, {'n', 'e', 'w'});
  EXPECT_EQ(Contents(path), "new");
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"out.bin"});
}

#ifndef _WIN32
// Every file the tool writes gets what any new file gets, read and write for
// all less the umask; a GIF once came out 0600 and a saver 0644 whatever the
// umask said.
TEST(OutputFile, WrittenFilesGetTheUsualPermissions) {
  test::TToolFolder folder;
  folder.Write("a.jpg", test::MakeJpeg(8, 8, 1));
  fs::path manifest = folder.Write("m.toml", "[show]\npictures = [\"a.jpg\"]\n");
  fs::path player = folder.Write("player.scr", test::MakePlayerStandIn());
  std::vector<fs::path> written = {folder / "saver.scr"};
  mode_t saved = umask(002);
  RunBuild({manifest, written[0], player});
#ifdef PIXVANE_HAVE_IMAGE_FILES
  written.push_back(folder / "frames.gif");
  WriteFrames(written.back(), {TBitmap(4, 4), TBitmap(4, 4)}, {40, 40});
#endif
  umask(saved);
  for (const fs::path& path : written)
    EXPECT_EQ(fs::status(path).permissions(), fs::perms(0664)) << path;
}
#endif

}  // namespace
}  // namespace pixvane::maker
