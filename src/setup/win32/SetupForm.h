#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "base/win32/Handles.h"
#include "setup/SettingsStore.h"
#include "setup/SetupDialog.h"
#include "skin/SkinManager.h"
#include "skin/controls/win32/SkinButtonWindow.h"
#include "skin/controls/win32/SkinCheckBoxWindow.h"
#include "skin/controls/win32/SkinForm.h"
#include "skin/controls/win32/SkinPanelWindow.h"

namespace pixvane {

// The setup dialog: a window of the form's size and colour with three
// skinned panels, two labels, a skinned check box, two link labels and a
// skinned default OK button in a skinned frame, drawn from the skin
// SkinManager1 holds. Its
// layout is scaled by the DPI of the monitor it is on.
class TSetupForm : public TSetupView {
 public:
  // Creates the window hidden and runs FormCreate. appTitle is the caption
  // of error messages; icon the window's icon (or none).
  TSetupForm(const std::string& exePath, std::string appTitle, HICON icon);
  ~TSetupForm() override;
  TSetupForm(const TSetupForm&) = delete;
  TSetupForm& operator=(const TSetupForm&) = delete;

  // FormShow, then shows the window centred on the screen and focuses it.
  void Show();
  // Keyboard handling of a dialog (Tab, Enter for OK, Esc, access keys) for
  // a message taken from the queue; true when it was used up.
  bool TranslateDialogMessage(MSG& message);
  HWND Handle() const { return FWindow; }
  TSetupDialog& Dialog() { return *FDialog; }
  // The dialog's skin, read from the program's resources for the scaling
  // of the monitor the dialog is on; empty where the program carries none.
  TSkinManager& SkinManager1() { return FSkinManager1; }

  // TSetupView
  void SetText(TSetupText which, const std::string& text) override;
  void SetMuteChecked(bool checked) override;
  bool MuteChecked() const override;
  void Close() override;
  void ShowError(const std::string& message) override;
  void OpenDocument(const std::string& target) override;

  // The form's colour, E7F7FF as a 00BBGGRR value: a pale cream.
  static constexpr COLORREF FormColor = 0x00E7F7FF;
  // The client area at 96 DPI.
  static constexpr int ClientWidth = 305;
  static constexpr int ClientHeight = 259;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
  void CreateControls();
  void Layout(UINT dpi);
  void LoadSkin(UINT dpi);
  void FitLabel(HWND label, int x, int y, int minWidth, int minHeight);
  void DrawLabel(const DRAWITEMSTRUCT& item);
  int Scale(int pixels) const { return MulDiv(pixels, static_cast<int>(FDpi), 96); }
  HWND Control(TSetupText which) const;

  struct TFonts;
  // Before the controls, which stop listening to it when they go.
  TSkinManager FSkinManager1;
  HWND FWindow = nullptr;
  HWND FTitle = nullptr, FAuthor = nullptr, FMute = nullptr, FEmail = nullptr, FWeb = nullptr,
       FOK = nullptr;
  std::unique_ptr<TSkinForm> FSkinForm1;                                    // the frame
  std::unique_ptr<TSkinPanelWindow> FSkinPanel2, FSkinPanel1, FSkinPanel3;  // top, middle, bottom
  std::unique_ptr<TSkinCheckBoxWindow> FMuteBox;
  std::unique_ptr<TSkinButtonWindow> FOKButton;
  UINT FDpi = 96;
  int FSkinScale = 0;  // of the skin loaded; 0 before the first
  std::unique_ptr<TFonts> FFonts;
  TGdiBrush FBrush;
  std::string FAppTitle;
  TSettingsStore FStore;
  std::unique_ptr<TSetupDialog> FDialog;
};

}  // namespace pixvane
