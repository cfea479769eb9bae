#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "base/Errors.h"
#include "base/Paths.h"
#include "setup/SettingsStore.h"
#include "support/TempFolder.h"

namespace pixvane {
namespace {

class SettingsStoreTest : public ::testing::Test {
 protected:
  test::TTempFolder FFolder;
  TSettingsStore FStore{FFolder.Path()};

  void WriteControl(std::string_view text) { FFolder.Write(ControlFileName, text); }
  std::string ControlText() { return FFolder.Read(ControlFileName); }

  // Both defaults, so a value that is ignored cannot pass for one that is read.
  void ExpectReadsAsDefault(const char* what) {
    EXPECT_TRUE(FStore.ReadMuteSetting(true)) << what;
    EXPECT_FALSE(FStore.ReadMuteSetting(false)) << what;
  }

  void ExpectUnableToWrite(const TSettingsStore& store, bool mute) {
    try {
      store.WriteMuteSetting(mute);
      ADD_FAILURE() << "the write did not fail";
    } catch (const EFileError& e) {
      EXPECT_EQ(std::string(e.what()), "Unable to write to " + store.ControlFilePath());
    }
  }
};

TEST_F(SettingsStoreTest, MuteIsReadWithTheIntegerSyntax) {
  const std::pair<const char*, bool> values[] = {
      {"1", true},  {"0", false}, {"7", true},   {"-3", true},   {"+0", false},       {"$1", true},
      {"x1", true}, {"X1", true}, {"0x1", true}, {"0X0", false}, {"$FFFFFFFF", true},
  };
  for (const auto& [text, muted] : values) {
    WriteControl("[Setup]\r\nmute=" + std::string(text) + "\r\n");
    EXPECT_EQ(FStore.ReadMuteSetting(!muted), muted) << text;
  }
}

TEST_F(SettingsStoreTest, AnythingButAnIntegerReadsAsTheDefault) {
  ExpectReadsAsDefault("no file");
  for (const char* text : {"mute", "yes", "", "1x", "0x", "$", "- 1", "99999999999", "1.0"}) {
    WriteControl("[Setup]\r\nmute=" + std::string(text) + "\r\n");
    ExpectReadsAsDefault(text);
  }
  WriteControl("[Display]\r\nmute=1\r\n[Setup]\r\nvolume=0\r\n");
  ExpectReadsAsDefault("key only in another section");
  std::filesystem::remove(FFolder.File(ControlFileName));
  std::filesystem::create_directory(FFolder.File(ControlFileName));
  ExpectReadsAsDefault("a folder in place of the file");
}

TEST_F(SettingsStoreTest, WriteCreatesTheFileAndTheSection) {
  FStore.WriteMuteSetting(true);
  EXPECT_EQ(ControlText(), "[Setup]\r\nmute=1\r\n");
  EXPECT_TRUE(FStore.ReadMuteSetting(false));
  EXPECT_EQ(FFolder.Names(), std::vector<std::string>{std::string(ControlFileName)});
}

TEST_F(SettingsStoreTest, TickingThenUntickingLeavesOneZero) {
  FStore.WriteMuteSetting(true);
  FStore.WriteMuteSetting(false);
  EXPECT_EQ(ControlText(), "[Setup]\r\nmute=0\r\n");
  EXPECT_FALSE(FStore.ReadMuteSetting(true));
}

TEST_F(SettingsStoreTest, WriteKeepsOtherKeysSectionsAndComments) {
  WriteControl(
      "; Pixvane settings\r\n[Display]\r\nmute=1\r\n[Setup]\r\nvolume=30\r\n"
      "[Other]\r\nname=x\r\n");
  FStore.WriteMuteSetting(false);
  EXPECT_EQ(ControlText(),
            "; Pixvane settings\r\n[Display]\r\nmute=1\r\n[Setup]\r\nvolume=30\r\nmute=0\r\n"
            "[Other]\r\nname=x\r\n");
  EXPECT_FALSE(FStore.ReadMuteSetting(true));
  EXPECT_EQ(FFolder.Names(), std::vector<std::string>{std::string(ControlFileName)});
}

TEST_F(SettingsStoreTest, WriteReplacesTheKeyWhateverItsCase) {
  WriteControl("[SETUP]\r\nMute = 1\r\nvolume=30\r\n");
  FStore.WriteMuteSetting(false);
  EXPECT_FALSE(FStore.ReadMuteSetting(true));
  // One "mute" line, not a stale one and a new one.
  std::string text = ControlText();
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return std::tolower(c); });
  EXPECT_EQ(text.find("mute"), text.rfind("mute")) << text;
  EXPECT_NE(text.find("volume=30\r\n"), std::string::npos) << text;
}

TEST_F(SettingsStoreTest, FailedWriteRaisesAndStoresNothing) {
  TSettingsStore nowhere(JoinPath(FFolder.Path(), "missing") + PathDelim);
  ExpectUnableToWrite(nowhere, true);
  EXPECT_FALSE(nowhere.ReadMuteSetting(false));
  EXPECT_FALSE(std::filesystem::exists(FFolder.File("missing")));

  WriteControl("[Setup]\r\nmute=0\r\n");
  FFolder.MakeReadOnly(ControlFileName);
  ExpectUnableToWrite(FStore, true);
  EXPECT_EQ(ControlText(), "[Setup]\r\nmute=0\r\n");
  EXPECT_FALSE(FStore.ReadMuteSetting(true));
  EXPECT_EQ(FFolder.Names(), std::vector<std::string>{std::string(ControlFileName)});
}

TEST_F(SettingsStoreTest, AFolderInPlaceOfTheFileCannotBeWritten) {
  std::filesystem::create_directory(FFolder.File(ControlFileName));
  ExpectUnableToWrite(FStore, false);
  EXPECT_TRUE(std::filesystem::is_directory(FFolder.File(ControlFileName)));
}

TEST_F(SettingsStoreTest, AChoiceTheFolderRefusesIsKeptForTheUser) {
  // A folder in place of the file stands for a folder users may not write
  // to: the tests may run with rights that ignore permissions.
  std::filesystem::create_directory(FFolder.File(ControlFileName));
  std::string userFile = JoinPath(FFolder.File("user"), "Beach.scr.ini");
  TSettingsStore store(FFolder.Path(), userFile);
  store.WriteMuteSetting(true);
  EXPECT_EQ(FFolder.Read("user/Beach.scr.ini"), "[Setup]\r\nmute=1\r\n");
  EXPECT_TRUE(TSettingsStore(FFolder.Path(), userFile).ReadMuteSetting(false));

  // Once the user's file holds the choice it wins, even where the file
  // beside the saver could be written again and says otherwise.
  std::filesystem::remove(FFolder.File(ControlFileName));
  WriteControl("[Setup]\r\nmute=0\r\n");
  EXPECT_TRUE(store.ReadMuteSetting(false));
  store.WriteMuteSetting(false);
  EXPECT_FALSE(store.ReadMuteSetting(true));
  EXPECT_EQ(FFolder.Read("user/Beach.scr.ini"), "[Setup]\r\nmute=0\r\n");
}

TEST_F(SettingsStoreTest, WhenNeitherFileCanBeWrittenTheErrorNamesTheOneBesideTheSaver) {
  std::filesystem::create_directory(FFolder.File(ControlFileName));
  FFolder.Write("user", "a file where the user's folder should be");
  ExpectUnableToWrite(TSettingsStore(FFolder.Path(), JoinPath(FFolder.File("user"), "B.scr.ini")),
                      true);
}

TEST_F(SettingsStoreTest, WithoutALanguageFileEveryTextIsItsDefault) {
  EXPECT_FALSE(FStore.LanguageFileExists());
  EXPECT_EQ(FStore.LanguageText(TitleKey, DefaultTitleText), "Title:");
  EXPECT_EQ(FStore.LanguageText(AuthorKey, DefaultAuthorText), "Author:");
  EXPECT_EQ(FStore.LanguageText(OKButtonKey, DefaultOKButtonText), "OK");
  EXPECT_EQ(FStore.LanguageText(MuteMusicKey, DefaultMuteMusicText), "Mute music");
  EXPECT_EQ(FStore.LanguageText(DownloadSWFKey, DefaultDownloadSWFText),
            "Please install the Macromedia Flash Player ActiveX control.");
}

TEST_F(SettingsStoreTest, ALanguageFileReplacesTheTextsItHas) {
  FFolder.Write(LanguageFileName,
                "[Language]\r\nTitle=Titel:\r\nbtnOK=\r\nMuteMusic=\"Musik aus \"\r\n"
                "[Setup]\r\nAuthor=not a language text\r\n");
  EXPECT_TRUE(FStore.LanguageFileExists());
  EXPECT_EQ(FStore.LanguageText(TitleKey, DefaultTitleText), "Titel:");
  EXPECT_EQ(FStore.LanguageText(OKButtonKey, DefaultOKButtonText), "");
  EXPECT_EQ(FStore.LanguageText(MuteMusicKey, DefaultMuteMusicText), "Musik aus ");
  EXPECT_EQ(FStore.LanguageText(AuthorKey, DefaultAuthorText), "Author:");
  EXPECT_EQ(FStore.LanguageText(DownloadSWFKey, DefaultDownloadSWFText), DefaultDownloadSWFText);
}

TEST_F(SettingsStoreTest, TheExecutablesPathLeadsToTheFilesBesideIt) {
  TSettingsStore store = TSettingsStore::ForExecutable(FFolder.File("Beach.scr"));
  EXPECT_EQ(store.ControlFilePath(), FFolder.File(ControlFileName));
  EXPECT_EQ(store.UserControlFilePath(), UserDataFolderPath() + "Beach.scr.ini");
  EXPECT_EQ(store.LanguageFilePath(), FFolder.File(LanguageFileName));
  store.WriteMuteSetting(true);
  EXPECT_TRUE(FStore.ReadMuteSetting(false));
}

}  // namespace
}  // namespace pixvane
