#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "base/Stream.h"
#include "package/ClassRegistry.h"
#include "package/PackageWriter.h"
#include "setup/SetupDialog.h"
#include "support/TempFolder.h"
#include "support/TestJpeg.h"

namespace pixvane {
namespace {

// The dialog's window as the logic sees it: the texts and the box it was
// given, and what it was asked to do.
class TFakeSetupView : public TSetupView {
 public:
  std::map<TSetupText, std::string> Texts;
  bool Checked = false;
  int Closed = 0;
  std::vector<std::string> Errors;
  std::vector<std::string> Opened;

  void SetText(TSetupText which, const std::string& text) override { Texts[which] = text; }
  void SetMuteChecked(bool checked) override { Checked = checked; }
  bool MuteChecked() const override { return Checked; }
  void Close() override { ++Closed; }
  void ShowError(const std::string& message) override { Errors.push_back(message); }
  void OpenDocument(const std::string& target) override { Opened.push_back(target); }
};

class SetupDialogTest : public ::testing::Test {
 protected:
  test::TTempFolder FFolder;
  TSettingsStore FStore{FFolder.Path()};
  TFakeSetupView FView;
  std::string FExe = FFolder.File("Beach.scr");

  // A saver in the temporary folder: a stand-in player and a package.
  void WriteSaver(const std::string& title = "Beach", bool packageMutes = false) {
    RegisterStreamClasses();
    auto file = TFileStream::Create(FExe);
    std::vector<uint8_t> player(2048, 'P');
    file->Write(player.data(), player.size());
    TSSFileLocations settings;
    settings.Title = title;
    settings.Author = "Ann Maker";
    settings.Email = "ann@example.invalid";
    settings.Web = "www.example.invalid/beach";
    settings.lMute = packageMutes;
    settings.Ver = "photo";
    TPackageWriter writer(*file, settings);
    writer.AddPicture(test::MakeJpeg(8, 8), "one.jpg");
    writer.Finish();
  }

  // The dialog as the program creates and shows it.
  std::unique_ptr<TSetupDialog> Open() {
    auto dialog = std::make_unique<TSetupDialog>(FView, FExe, FStore);
    dialog->FormCreate();
    dialog->FormShow();
    return dialog;
  }

  void ExpectInitialTexts() {
    EXPECT_EQ(FView.Texts[TSetupText::Caption], "Setup []");
    EXPECT_EQ(FView.Texts[TSetupText::Title], "Title:");
    EXPECT_EQ(FView.Texts[TSetupText::Author], "Author:");
    EXPECT_EQ(FView.Texts[TSetupText::MuteMusic], "Mute music");
    EXPECT_EQ(FView.Texts[TSetupText::Email], "Email:");
    EXPECT_EQ(FView.Texts[TSetupText::Web], "Web address:");
    EXPECT_EQ(FView.Texts[TSetupText::OKButton], "&Ok");
  }

  bool ControlFileExists() { return std::filesystem::exists(FFolder.File(ControlFileName)); }
};

TEST_F(SetupDialogTest, CreatedWithTheFormsOwnCaptions) {
  TSetupDialog dialog(FView, FExe, FStore);
  dialog.FormCreate();
  ExpectInitialTexts();
  EXPECT_FALSE(dialog.MuteChanged());
}

TEST_F(SetupDialogTest, ShowFillsInTheSaversDetails) {
  WriteSaver();
  auto dialog = Open();
  EXPECT_EQ(FView.Texts[TSetupText::Caption], "Setup [Beach]");
  // The package's texts follow the labels' own directly, without a space.
  EXPECT_EQ(FView.Texts[TSetupText::Title], "Title:Beach");
  EXPECT_EQ(FView.Texts[TSetupText::Author], "Author:Ann Maker");
  EXPECT_EQ(FView.Texts[TSetupText::Email], "ann@example.invalid");
  EXPECT_EQ(FView.Texts[TSetupText::Web], "www.example.invalid/beach");
  EXPECT_EQ(FView.Texts[TSetupText::OKButton], "&Ok");
  EXPECT_TRUE(FView.Errors.empty());
}

TEST_F(SetupDialogTest, AnEmptyTitleLeavesTheCaptionBracketsEmpty) {
  WriteSaver("");
  Open();
  EXPECT_EQ(FView.Texts[TSetupText::Caption], "Setup []");
  EXPECT_EQ(FView.Texts[TSetupText::Title], "Title:");
}

TEST_F(SetupDialogTest, TheBoxShowsTheUsersChoiceNotThePackages) {
  WriteSaver("Beach", /*packageMutes=*/true);
  FView.Checked = true;  // whatever the window had, the setting decides
  Open();
  EXPECT_FALSE(FView.Checked);

  FFolder.Write(ControlFileName, "[Setup]\r\nmute=1\r\n");
  Open();
  EXPECT_TRUE(FView.Checked);
}

TEST_F(SetupDialogTest, TheLanguageFileReplacesTheCaptionsBeforeTheDetailsAreAdded) {
  WriteSaver();
  FFolder.Write(LanguageFileName,
                "[Language]\r\nTitle=Titel:\r\nAuthor=Autor:\r\nbtnOK=Gut\r\nMuteMusic=Stumm\r\n");
  Open();
  EXPECT_EQ(FView.Texts[TSetupText::Title], "Titel:Beach");
  EXPECT_EQ(FView.Texts[TSetupText::Author], "Autor:Ann Maker");
  EXPECT_EQ(FView.Texts[TSetupText::OKButton], "Gut");
  EXPECT_EQ(FView.Texts[TSetupText::MuteMusic], "Stumm");
}

TEST_F(SetupDialogTest, ALanguageFileWithoutSomeKeysGivesTheirDefaults) {
  FFolder.Write(LanguageFileName, "[Language]\r\nTitle=Titel:\r\nMuteMusic=\r\n");
  TSetupDialog dialog(FView, FExe, FStore);
  dialog.FormCreate();
  EXPECT_EQ(FView.Texts[TSetupText::Title], "Titel:");
  EXPECT_EQ(FView.Texts[TSetupText::Author], "Author:");
  EXPECT_EQ(FView.Texts[TSetupText::OKButton], "OK");  // the default, not the form's "&Ok"
  EXPECT_EQ(FView.Texts[TSetupText::MuteMusic], "");   // an empty value is a text too
}

TEST_F(SetupDialogTest, ASaverWithoutTrailerKeepsTheInitialTextsQuietly) {
  FFolder.Write("Beach.scr", "short");
  Open();
  ExpectInitialTexts();
  EXPECT_TRUE(FView.Errors.empty());
}

TEST_F(SetupDialogTest, UnreadableSettingsAreReportedAndTheInitialTextsStay) {
  WriteSaver();
  // The settings offset now points at the player stand-in.
  std::string bytes = FFolder.Read("Beach.scr");
  bytes.replace(bytes.size() - 20, 20, "0                   ");
  FFolder.Write("Beach.scr", bytes);
  FFolder.Write(ControlFileName, "[Setup]\r\nmute=1\r\n");
  Open();
  ASSERT_EQ(FView.Errors.size(), 1u);
  EXPECT_EQ(FView.Errors[0], "Invalid stream format");
  ExpectInitialTexts();
  EXPECT_FALSE(FView.Checked);  // the rest of the show handler was skipped
}

TEST_F(SetupDialogTest, AMissingExecutableIsReported) {
  Open();
  ASSERT_EQ(FView.Errors.size(), 1u);
  EXPECT_NE(FView.Errors[0].find("Beach.scr"), std::string::npos) << FView.Errors[0];
  ExpectInitialTexts();
}

TEST_F(SetupDialogTest, OKWithoutTouchingTheBoxStoresNothing) {
  WriteSaver();
  auto dialog = Open();
  FView.Checked = true;  // set without a click: not the user's doing
  dialog->OKButtonClick();
  EXPECT_EQ(FView.Closed, 1);
  EXPECT_FALSE(ControlFileExists());
}

TEST_F(SetupDialogTest, OKAfterAClickStoresTheBoxAsItStands) {
  WriteSaver();
  auto dialog = Open();
  FView.Checked = true;
  dialog->MuteClick();
  dialog->OKButtonClick();
  EXPECT_EQ(FView.Closed, 1);
  EXPECT_TRUE(FStore.ReadMuteSetting(false));

  // Ticked and unticked again: the stored choice is "0", not nothing.
  auto again = Open();
  EXPECT_TRUE(FView.Checked);
  FView.Checked = true;
  again->MuteClick();
  FView.Checked = false;
  again->MuteClick();
  again->OKButtonClick();
  EXPECT_NE(FFolder.Read(ControlFileName).find("mute=0"), std::string::npos);
  EXPECT_FALSE(FStore.ReadMuteSetting(true));
}

TEST_F(SetupDialogTest, AFailedWriteIsReportedAndTheDialogStaysOpen) {
  WriteSaver();
  FFolder.Write(ControlFileName, "[Setup]\r\nmute=0\r\n");
  FFolder.MakeReadOnly(ControlFileName);
  auto dialog = Open();
  FView.Checked = true;
  dialog->MuteClick();
  dialog->OKButtonClick();
  ASSERT_EQ(FView.Errors.size(), 1u);
  EXPECT_EQ(FView.Errors[0], "Unable to write to " + FStore.ControlFilePath());
  EXPECT_EQ(FView.Closed, 0);
}

TEST_F(SetupDialogTest, LinksOpenTheirCaptionsAsStored) {
  TSetupDialog before(FView, FExe, FStore);
  before.EmailClick();  // nothing read yet: the label's own caption
  WriteSaver();
  auto dialog = Open();
  dialog->EmailClick();
  dialog->WebClick();
  // No "mailto:" or "http://" is added: the shell gets the text unchanged.
  EXPECT_EQ(FView.Opened, (std::vector<std::string>{"Email:", "ann@example.invalid",
                                                    "www.example.invalid/beach"}));
}

}  // namespace
}  // namespace pixvane
