#pragma once
#include <string>
#include <string_view>

#include "setup/SettingsStore.h"

namespace pixvane {

// The texts of the setup dialog that its logic sets: the window caption and
// the captions of its labels, checkbox and button.
enum class TSetupText { Caption, Title, Author, MuteMusic, Email, Web, OKButton };

// The window that shows the setup dialog, as the dialog's logic uses it. The
// standard controls of the platform implement it today; skinned controls can
// take their place without touching the logic.
class TSetupView {
 public:
  virtual ~TSetupView() = default;
  virtual void SetText(TSetupText which, const std::string& text) = 0;
  virtual void SetMuteChecked(bool checked) = 0;
  virtual bool MuteChecked() const = 0;
  // Closes the dialog, which ends the program.
  virtual void Close() = 0;
  // Reports an error as the framework reports one that leaves an event
  // handler: a message box with its text, after which the dialog goes on.
  virtual void ShowError(const std::string& message) = 0;
  // Asks the shell to "open" target in a normal window; failures are its own.
  virtual void OpenDocument(const std::string& target) = 0;
};

// TfrmSetup's logic: what it shows, which choice it stores and when.
class TSetupDialog {
 public:
  // exePath is our own executable, whose package holds the saver's details;
  // store reads and writes the mute choice and the language texts.
  TSetupDialog(TSetupView& view, std::string exePath, const TSettingsStore& store);

  // The handlers, named after the form's events.
  void FormCreate();
  void FormShow();
  void MuteClick();
  void OKButtonClick();
  void EmailClick();
  void WebClick();

  const std::string& Text(TSetupText which) const { return FTexts[static_cast<int>(which)]; }
  bool MuteChanged() const { return FMuteChanged; }

 private:
  void SetText(TSetupText which, std::string text);
  void ReadPackage();
  template <typename F>
  void Handle(F&& handler);

  TSetupView& FView;
  std::string FExePath;
  const TSettingsStore& FStore;
  std::string FTexts[7];
  bool FMuteChanged = false;
};

}  // namespace pixvane
