#include "host/win32/SaverWindow.h"

#include <windowsx.h>

#include "base/Errors.h"
#include "base/Stream.h"
#include "base/win32/MessagePump.h"
#include "base/win32/WindowClass.h"
#include "host/win32/InputHook.h"
#include "host/win32/Monitors.h"
#include "package/SignedSaver.h"
#include "setup/SettingsStore.h"

namespace pixvane {
namespace {

constexpr char ClassName[] = "TfrmScrn";
constexpr int DesignWidth = 423, DesignHeight = 350;

}  // namespace

TfrmScrn::TfrmScrn(std::string exePath, std::string title, TRandom random)
    : FExePath(std::move(exePath)), FTitle(std::move(title)), FRandom(random) {}

TfrmScrn::~TfrmScrn() = default;

// Errors that leave one of the window's handlers are shown in a message box
// and the program goes on, as the framework does for any event.
template <typename Handler>
void TfrmScrn::Guarded(Handler&& handler) {
  try {
    handler();
  } catch (const std::exception& e) {
    MessageBoxA(FWindow, e.what(), FTitle.c_str(), MB_OK | MB_ICONERROR);
  }
}

void TfrmScrn::Run() {
  RegisterWindowClass(ClassName, WindowProc, IDC_ARROW);
  // A tool window has no task-bar button.
  FWindow = CreateWindowExA(WS_EX_TOOLWINDOW, ClassName, "", WS_POPUP,
                            (GetSystemMetrics(SM_CXSCREEN) - DesignWidth) / 2,
                            (GetSystemMetrics(SM_CYSCREEN) - DesignHeight) / 2, DesignWidth,
                            DesignHeight, nullptr, nullptr, GetModuleHandleA(nullptr), this);
  if (!FWindow) return;
  ShowWindow(FWindow, SW_SHOW);

  RunMessageLoop(
      {.OnIdle = [this] { return PostStartWhenIdle(); }, .Ended = [this] { return LoopEnded(); }});
  // Ended for an unreadable settings record: the running flag must not
  // outlive the saver.
  if (IsWindow(FWindow)) {
    CloseCleanUp();
    DestroyWindow(FWindow);
  }
}

// The first idle moment after the activation starts the show. One message is
// enough: posting one at every idle moment would keep the loop from ever
// sleeping.
bool TfrmScrn::PostStartWhenIdle() {
  if (FPhase != TPhase::WaitingForIdle) return false;
  FPhase = TPhase::StartPosted;
  PostMessageA(FWindow, WM_STARTSHOW, 0, 0);
  return true;
}

LRESULT CALLBACK TfrmScrn::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* form = WindowObject<TfrmScrn>(window, message, lParam);
  if (!form) return DefWindowProcA(window, message, wParam, lParam);
  if (message == WM_NCCREATE) form->FWindow = window;
  return form->Handle(message, wParam, lParam);
}

LRESULT TfrmScrn::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      FormCreate();
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) Guarded([this] { FormActivate(); });
      break;
    case WM_SIZE:
      if (FSession) {
        FShow->SetBounds({0, 0, LOWORD(lParam), HIWORD(lParam)});
        FSession->SetClientSize(LOWORD(lParam), HIWORD(lParam));
      }
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the view paints every pixel
    case WM_PAINT:
      Paint();
      return 0;
    case WM_TIMER:
      if (wParam == FlashTimerId && FFlash) Guarded([this] { FFlash->TimerFlashTimer(); });
      return 0;
    case WM_SHOWTICK:
      if (FShow && FShow->ShowTimerArmed()) Guarded([this] { FSession->ShowTimerTick(); });
      return 0;
    case WM_STARTSHOW:
      if (FPhase == TPhase::StartPosted) {
        FPhase = TPhase::ShowRunning;
        Guarded([this] { FSession->ShowTimerTick(); });
      }
      return 0;
    case WM_STOPSHOW:
      StopShow();
      return 0;
    case WM_MOUSEMOVE:
      if (FExitRules) ExitRule(FExitRules->MouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      if (FExitRules) ExitRule(FExitRules->MouseDown());
      return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (FExitRules) ExitRule(FExitRules->KeyDown());
      return 0;
    case MM_MCINOTIFY:
      // A track that failed while playing ends the music, as one that fails
      // to start does; going on would open it again at once, over and over,
      // and keep the message loop from ever being idle.
      if (FSession && wParam != MCI_NOTIFY_FAILURE) Guarded([this] { FSession->MusicNotify(); });
      return 0;
    case WM_CLOSE:
      CloseCleanUp();
      DestroyWindow(FWindow);
      return 0;
    case WM_DESTROY:
      // The device is closed first: a sound it still holds could not be deleted.
      if (FShow) FShow->CloseMusic();
      if (FShow) FShow->FlashCalls = {};  // the show reaches the control no more
      FFlash.reset();                     // the control lets go of its movie
      if (FSession) FSession->DeleteMedia();
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(FWindow, message, wParam, lParam);
}

void TfrmScrn::FormCreate() {
  FShow = std::make_unique<TWindowShowPlatform>(FWindow, WM_SHOWTICK, FExePath,
                                                TRect{0, 0, DesignWidth, DesignHeight});
  FSession = std::make_unique<TShowSession>(*FShow, FRandom);
  FSession->SetColor(GetSysColor(COLOR_BTNFACE));
  FSession->SetClientSize(DesignWidth, DesignHeight);
  FExitPlatform = std::make_unique<TWin32ExitPlatform>(FWindow);
  FExitRules = std::make_unique<TExitRules>(FSession->Settings(), *FExitPlatform);
}

bool TfrmScrn::ReadSettingsRecord(TStream& file) {
  try {
    return FSession->ReadPackage(file);
  } catch (const EError&) {
    // No package to show: the saver ends without a word, once control is
    // back in the message loop; the steps below go on with what was read.
    FPhase = TPhase::Unreadable;
    PostMessageA(FWindow, WM_NULL, 0, 0);
    return true;
  }
}

void TfrmScrn::FormActivate() {
  if (FPhase != TPhase::Created && FPhase != TPhase::Unreadable) return;
  // A message box of the activation (the missing Flash control) hands the
  // activation back to the window when it closes: that is not a new one.
  if (FActivating) return;
  FActivating = true;
  struct TDone {
    bool& Flag;
    ~TDone() { Flag = false; }
  } done{FActivating};
  std::unique_ptr<TStream> file = OpenSaver(FExePath);
  if (!ReadSettingsRecord(*file)) return;
  TSSFileLocations& settings = FSession->Settings();
  FSession->ExtractMedia(*file);
  settings.lMute = TSettingsStore::ForExecutable(FExePath).ReadMuteSetting(settings.lMute);
  if (settings.Kind() == TSaverKind::Flash) StartFlash();
  FSession->Start();
  if (!settings.lShowMouseCursor && !FHiddenCursor) FHiddenCursor.emplace();
  file.reset();
  FPhase = FPhase == TPhase::Unreadable ? TPhase::Terminating : TPhase::WaitingForIdle;
  FSession->SetColor(0);
  const TRect screen = VirtualScreen();
  SetWindowPos(FWindow, HWND_TOPMOST, screen.Left, screen.Top, screen.Width(), screen.Height(),
               SWP_NOACTIVATE);
  FExitRules->ResetReference();
  FRunningFlag.emplace();
  ShowWindow(FWindow, SW_SHOW);
  InvalidateRect(FWindow, nullptr, FALSE);
}

void TfrmScrn::Paint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(FWindow, &paint);
  if (FShow) FShow->Paint(dc, paint.rcPaint);
  EndPaint(FWindow, &paint);
}

// Without the control the saver cannot show what it was made for: the
// message has been shown, and the saver ends with its files deleted.
void TfrmScrn::StartFlash() {
  FFlash = CreateFlashControl(FWindow, FSession->Settings(), FExePath, FTitle,
                              {.HideShowView = [this] { FShow->HideView(); },
                               .RequestExit = [this] { ExitRule(FExitRules->RequestExit()); },
                               .Report =
                                   [this](const std::exception& e) {
                                     MessageBoxA(FWindow, e.what(), FTitle.c_str(),
                                                 MB_OK | MB_ICONERROR);
                                   }});
  if (!FFlash) EndSaver();
  FShow->FlashCalls.Hide = [this] { FFlash->HideControl(); };
  FShow->FlashCalls.Start = [this] { FFlash->PlayNextMovie(); };
  InstallInputHook(FWindow, FSession->Settings());
}

// Another program's request: the show stays on what it shows, and the saver
// ends as after any exit event, the password asked for where one is set.
void TfrmScrn::StopShow() {
  if (!FSession) return;
  FSession->Stop();
  ExitRule(FExitRules->RequestExit());
}

void TfrmScrn::CloseCleanUp() {
  FRunningFlag.reset();
  FPhase = TPhase::Closed;
  ReleaseCapture();
  FHiddenCursor.reset();
}

void TfrmScrn::ExitRule(bool end) {
  if (end) EndSaver();
}

void TfrmScrn::EndSaver() {
  // Ends at once, also from inside a transition: the window's destruction
  // deletes the extracted files on the way out.
  CloseCleanUp();
  DestroyWindow(FWindow);
  ExitProcess(0);
}

}  // namespace pixvane
