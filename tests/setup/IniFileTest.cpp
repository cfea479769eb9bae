#include <gtest/gtest.h>

#include <filesystem>

#include "setup/IniFile.h"
#include "setup/IniText.h"
#include "support/TempFolder.h"

namespace pixvane {
namespace {

// How the profile functions read a file. The Windows build reads these files
// through GetPrivateProfileStringA and also runs our own reader on the same
// texts, so a difference between the two shows up as a failure there.
struct TReadCase {
  const char* What;
  std::string Text;
  const char* Section;
  const char* Key;
  std::optional<std::string> Expected;
};

const std::vector<TReadCase>& ReadCases() {
  static const std::vector<TReadCase> cases = {
      {"plain", "[Language]\r\nTitle=Titel:\r\n", "Language", "Title", "Titel:"},
      {"names ignore case", "[LANGUAGE]\r\ntitle=x\r\n", "Language", "Title", "x"},
      {"blanks around", "[Language]\r\n \t Title \t=  Hello  World \t\r\n", "Language", "Title",
       "Hello  World"},
      {"blanks in the header", "  [ Language ] ; texts\r\nTitle=x\r\n", "Language", "Title", "x"},
      {"double quotes", "[Language]\r\nTitle=\"  spaced  \"\r\n", "Language", "Title",
       "  spaced  "},
      {"single quotes", "[Language]\r\nTitle='x'\r\n", "Language", "Title", "x"},
      {"quotes that differ", "[Language]\r\nTitle=\"x'\r\n", "Language", "Title", "\"x'"},
      {"one quote", "[Language]\r\nTitle=\"\r\n", "Language", "Title", "\""},
      {"empty quotes", "[Language]\r\nTitle=\"\"\r\n", "Language", "Title", ""},
      {"inner quotes", "[Language]\r\nTitle=a \"b\" c\r\n", "Language", "Title", "a \"b\" c"},
      {"empty value", "[Language]\r\nbtnOK=\r\n", "Language", "btnOK", ""},
      {"equals in the value", "[Language]\r\nTitle=a=b\r\n", "Language", "Title", "a=b"},
      {"DOS end of file", "[Language]\r\nTitle=x\x1a", "Language", "Title", "x"},
      {"bare key", "[Language]\r\nTitle\r\n", "Language", "Title", std::nullopt},
      {"comment", "[Language]\r\n;Title=x\r\n", "Language", "Title", std::nullopt},
      {"other section", "[Other]\r\nTitle=x\r\n[Language]\r\nAuthor=y\r\n", "Language", "Title",
       std::nullopt},
      {"before any section", "Title=x\r\n[Language]\r\n", "Language", "Title", std::nullopt},
      {"unclosed header", "[Language\r\nTitle=x\r\n", "Language", "Title", std::nullopt},
      {"first of two", "[Language]\r\nTitle=a\r\nTitle=b\r\n", "Language", "Title", "a"},
      {"LF line ends", "[Language]\nTitle=x\nAuthor=y\n", "Language", "Author", "y"},
      {"CR line ends", "[Language]\rTitle=x\rAuthor=y\r", "Language", "Author", "y"},
      {"no final line end", "[Language]\r\nTitle=x", "Language", "Title", "x"},
      {"byte-order mark", "\xEF\xBB\xBF[Language]\r\nTitle=x\r\n", "Language", "Title", "x"},
      {"long value", "[Language]\r\nTitle=" + std::string(3000, 'a') + "\r\n", "Language", "Title",
       std::string(MaxIniValueLength, 'a')},
  };
  return cases;
}

TEST(IniReading, OurReaderReadsTextsAsTheProfileFunctionsDo) {
  for (const TReadCase& c : ReadCases())
    EXPECT_EQ(FindIniValue(c.Text, c.Section, c.Key), c.Expected) << c.What;
}

TEST(IniReading, TheFileReaderOfThisPlatformAgrees) {
  test::TTempFolder folder;
  int n = 0;
  for (const TReadCase& c : ReadCases()) {
    // A new name for every case: the profile functions cache recent files.
    std::string name = "case" + std::to_string(n++) + ".ini";
    folder.Write(name, c.Text);
    EXPECT_EQ(TIniFile(folder.File(name)).ReadString(c.Section, c.Key), c.Expected) << c.What;
  }
}

TEST(IniFile, AFolderOrAMissingFileIsNoFileAndHasNoValues) {
  test::TTempFolder folder;
  TIniFile missing(folder.File("missing.ini"));
  EXPECT_FALSE(missing.Exists());
  EXPECT_EQ(missing.ReadString("Setup", "mute"), std::nullopt);

  std::filesystem::create_directory(folder.File("dir.ini"));
  TIniFile dir(folder.File("dir.ini"));
  EXPECT_FALSE(dir.Exists());
  EXPECT_EQ(dir.ReadString("Setup", "mute"), std::nullopt);

  folder.Write("empty.ini", "");
  TIniFile empty(folder.File("empty.ini"));
  EXPECT_TRUE(empty.Exists());
  EXPECT_EQ(empty.ReadString("Setup", "mute"), std::nullopt);
}

}  // namespace
}  // namespace pixvane
