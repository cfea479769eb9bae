#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/Stream.h"
#include "base/win32/Handles.h"
#include "base/win32/MessagePump.h"
#include "base/win32/ScreenDpi.h"
#include "package/ClassRegistry.h"
#include "package/PackageWriter.h"
#include "setup/win32/SetupForm.h"
#include "support/TempFolder.h"
#include "support/TestJpeg.h"

namespace pixvane {
namespace {

std::string TextOf(HWND window) {
  char text[256] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

// Controls sit in the form's panels: the search goes into them.
HWND ChildWithText(HWND parent, const std::string& text) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (TextOf(child) == text) return child;
    if (HWND inner = ChildWithText(child, text)) return inner;
  }
  return nullptr;
}

// The real window over a saver in a temporary folder.
class SetupFormTest : public ::testing::Test {
 protected:
  test::TTempFolder FFolder;
  std::string FExe = FFolder.File("Beach.scr");

  void SetUp() override {
    RegisterStreamClasses();
    auto file = TFileStream::Create(FExe);
    std::vector<uint8_t> player(512, 'P');
    file->Write(player.data(), player.size());
    TSSFileLocations settings;
    settings.Title = "Beach & Sea";
    settings.Author = "Ann";
    settings.Email = "ann@example.invalid";
    settings.Web = "www.example.invalid";
    TPackageWriter writer(*file, settings);
    writer.AddPicture(test::MakeJpeg(8, 8), "one.jpg");
    writer.Finish();
  }

  // Runs the dialog's message loop until the window closes or time is up.
  static bool RunUntilClosed(TSetupForm& form, DWORD timeoutMs) {
    auto dialogKeys = [&form](MSG& message) { return form.TranslateDialogMessage(message); };
    DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
      if (ProcessMessages(TQuitMessage::Stop, dialogKeys) == TPumped::Quit) return true;
      WaitForMessage(20);
    }
    return false;
  }
};

TEST_F(SetupFormTest, ShowsTheDetailsOnTheFormsColourAtItsSize) {
  TSetupForm form(FExe, "Beach", nullptr);
  form.Show();
  HWND window = form.Handle();
  EXPECT_EQ(TextOf(window), "Setup [Beach & Sea]");
  // Package texts are shown as they are; the "&" is no access key.
  EXPECT_NE(ChildWithText(window, "Title:Beach & Sea"), nullptr);
  EXPECT_NE(ChildWithText(window, "Author:Ann"), nullptr);
  EXPECT_NE(ChildWithText(window, "ann@example.invalid"), nullptr);
  EXPECT_NE(ChildWithText(window, "www.example.invalid"), nullptr);
  EXPECT_NE(ChildWithText(window, "&Ok"), nullptr);

  RECT client;
  GetClientRect(window, &client);
  const int dpi = ScreenPixelsPerInch();
  EXPECT_EQ(client.right, MulDiv(305, dpi, 96));
  EXPECT_EQ(client.bottom, MulDiv(259, dpi, 96));

  // The OK button sits in the bottom panel, 214 across and 15 down in it.
  RECT ok;
  GetWindowRect(ChildWithText(window, "&Ok"), &ok);
  MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&ok), 2);
  EXPECT_EQ(ok.left, MulDiv(214, dpi, 96));
  EXPECT_EQ(ok.top, MulDiv(259 - 50 + 15, dpi, 96));
  EXPECT_EQ(ok.right - ok.left, MulDiv(75, dpi, 96));

  RunUntilClosed(form, 100);  // let it paint
  EXPECT_EQ(GetPixel(TWindowDC(window).Get(), 5, 5), TSetupForm::FormColor);
}

TEST_F(SetupFormTest, ClickingTheBoxAndPressingEnterStoresTheChoiceAndCloses) {
  TSetupForm form(FExe, "Beach", nullptr);
  form.Show();
  HWND box = ChildWithText(form.Handle(), "Mute music");
  ASSERT_NE(box, nullptr);
  SendMessageA(box, BM_CLICK, 0, 0);  // as a mouse click does: ticks and notifies
  EXPECT_TRUE(form.Dialog().MuteChanged());
  // Enter anywhere in the dialog presses the default button.
  SetFocus(box);
  PostMessageA(box, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_TRUE(RunUntilClosed(form, 3000));
  EXPECT_TRUE(TSettingsStore(FFolder.Path()).ReadMuteSetting(false));
}

TEST_F(SetupFormTest, EscapeClosesWithoutStoring) {
  TSetupForm form(FExe, "Beach", nullptr);
  form.Show();
  HWND box = ChildWithText(form.Handle(), "Mute music");
  SendMessageA(box, BM_CLICK, 0, 0);
  SetFocus(box);
  PostMessageA(box, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(RunUntilClosed(form, 3000));
  EXPECT_FALSE(std::filesystem::exists(FFolder.File(ControlFileName)));
}

}  // namespace
}  // namespace pixvane
