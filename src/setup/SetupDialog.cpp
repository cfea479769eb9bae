#include "setup/SetupDialog.h"

#include <exception>
#include <memory>

#include "base/Stream.h"
#include "package/Package.h"
#include "package/SignedSaver.h"

namespace pixvane {
namespace {

// The captions the form is laid out with, before anything is read.
constexpr std::string_view InitialTexts[] = {
    "Setup []", "Title:", "Author:", "Mute music", "Email:", "Web address:", "&Ok",
};

}  // namespace

TSetupDialog::TSetupDialog(TSetupView& view, std::string exePath, const TSettingsStore& store)
    : FView(view), FExePath(std::move(exePath)), FStore(store) {
  for (int i = 0; i < 7; ++i) SetText(static_cast<TSetupText>(i), std::string(InitialTexts[i]));
}

void TSetupDialog::SetText(TSetupText which, std::string text) {
  FTexts[static_cast<int>(which)] = std::move(text);
  FView.SetText(which, Text(which));
}

// Errors that leave a handler are shown, and the dialog goes on, as the
// framework does with any event handler.
template <typename F>
void TSetupDialog::Handle(F&& handler) {
  try {
    handler();
  } catch (const std::exception& e) {
    FView.ShowError(e.what());
  }
}

void TSetupDialog::FormCreate() {
  Handle([this] {
    FMuteChanged = false;
    // Without a language file the form keeps its own captions, which differ
    // from the defaults below ("&Ok" against "OK").
    if (!FStore.LanguageFileExists()) return;
    SetText(TSetupText::Title, FStore.LanguageText(TitleKey, DefaultTitleText));
    SetText(TSetupText::Author, FStore.LanguageText(AuthorKey, DefaultAuthorText));
    SetText(TSetupText::OKButton, FStore.LanguageText(OKButtonKey, DefaultOKButtonText));
    SetText(TSetupText::MuteMusic, FStore.LanguageText(MuteMusicKey, DefaultMuteMusicText));
  });
}

void TSetupDialog::ReadPackage() {
  std::unique_ptr<TSSFileLocations> record;
  {
    auto file = OpenSaver(FExePath);
    record = ReadSettings(*file);
  }
  if (!record) return;  // no trailer: the dialog shows its initial texts
  // The user's own choice only; the package's lMute is not the default here.
  FView.SetMuteChecked(FStore.ReadMuteSetting(false));
  SetText(TSetupText::Caption, "Setup [" + record->Title + "]");
  SetText(TSetupText::Title, Text(TSetupText::Title) + record->Title);
  SetText(TSetupText::Author, Text(TSetupText::Author) + record->Author);
  SetText(TSetupText::Email, record->Email);
  SetText(TSetupText::Web, record->Web);
}

void TSetupDialog::FormShow() {
  Handle([this] { ReadPackage(); });
}

void TSetupDialog::MuteClick() {
  FMuteChanged = true;
}

void TSetupDialog::OKButtonClick() {
  Handle([this] {
    // A failed write raises before the close, so the dialog stays open.
    if (FMuteChanged) FStore.WriteMuteSetting(FView.MuteChecked());
    FView.Close();
  });
}

void TSetupDialog::EmailClick() {
  FView.OpenDocument(Text(TSetupText::Email));
}
void TSetupDialog::WebClick() {
  FView.OpenDocument(Text(TSetupText::Web));
}

}  // namespace pixvane
