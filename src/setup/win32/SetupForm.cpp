#include "setup/win32/SetupForm.h"

#include <shellapi.h>

#include <algorithm>
#include <exception>
#include <initializer_list>
#include <vector>

#include "base/Paths.h"
#include "base/Stream.h"
#include "base/win32/ScreenDpi.h"
#include "base/win32/WindowClass.h"
#include "setup/win32/SetupResources.h"
#include "skin/SkinScale.h"
#include "skin/controls/win32/ControlCaption.h"

namespace pixvane {
namespace {

constexpr char ClassName[] = "TfrmSetup";
constexpr int IdTitle = 101, IdAuthor = 102, IdMute = 103, IdEmail = 104, IdWeb = 105;
constexpr int IdTopPanel = 110, IdMiddlePanel = 111, IdBottomPanel = 112;
constexpr COLORREF LinkColor = RGB(0, 0, 255);  // clBlue

// The panels stacked from top to bottom, at 96 DPI: the details, an empty
// raised one between, and the one that holds the OK button.
constexpr int TopPanelHeight = 145;
constexpr int BottomPanelHeight = 50;
// Labels end where the OK button does, 16 pixels before the right edge.
constexpr int LabelRightMargin = 16;

TGdiFont MakeFont(int height, bool bold, bool underline) {
  return CreateGdiFont(height, "MS Sans Serif", bold, underline);
}

std::string WindowText(HWND window) {
  int length = GetWindowTextLengthA(window);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  text.resize(static_cast<size_t>(GetWindowTextA(window, text.data(), length + 1)));
  return text;
}

}  // namespace

// One font per look, made for the current DPI and remade when it changes.
struct TSetupForm::TFonts {
  TGdiFont Normal, Title, Link;
  explicit TFonts(int scaledNormal, int scaledTitle)
      : Normal(MakeFont(scaledNormal, false, false)),
        Title(MakeFont(scaledTitle, true, false)),
        Link(MakeFont(scaledNormal, false, true)) {}
};

TSetupForm::TSetupForm(const std::string& exePath, std::string appTitle, HICON icon)
    : FBrush(CreateSolidBrush(FormColor)),
      FAppTitle(std::move(appTitle)),
      FStore(TSettingsStore::ForExecutable(exePath)) {
  RegisterWindowClass(ClassName, WindowProc, IDC_ARROW);
  // A fixed frame with a caption and the system menu's close button only.
  FWindow = CreateWindowExA(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, ClassName, "",
                            WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
                            CW_USEDEFAULT, CW_USEDEFAULT, ClientWidth, ClientHeight, nullptr,
                            nullptr, GetModuleHandleA(nullptr), this);
  if (icon) {
    SendMessageA(FWindow, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageA(FWindow, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  }
  CreateControls();
  Layout(WindowDpi(FWindow));
  // The frame's buttons: close, system menu, roll up and down, to tray.
  FSkinForm1 =
      std::make_unique<TSkinForm>(FWindow, sbiClose | sbiSystemMenu | sbiRollup | sbiTray, icon);
  FSkinForm1->SetSkinManager(&FSkinManager1);
  FDialog = std::make_unique<TSetupDialog>(*this, exePath, FStore);
  FDialog->FormCreate();
}

TSetupForm::~TSetupForm() {
  if (FWindow) {
    SetWindowLongPtrA(FWindow, GWLP_USERDATA, 0);
    DestroyWindow(FWindow);
  }
}

void TSetupForm::CreateControls() {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  // Only the middle panel shows its bevel.
  FSkinPanel2 = std::make_unique<TSkinPanelWindow>(FWindow, IdTopPanel, false);
  FSkinPanel1 = std::make_unique<TSkinPanelWindow>(FWindow, IdMiddlePanel, true);
  FSkinPanel3 = std::make_unique<TSkinPanelWindow>(FWindow, IdBottomPanel, false);
  HWND top = FSkinPanel2->Handle();
  auto make = [&](const char* kind, DWORD style, int id) {
    return CreateWindowExA(0, kind, "", WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, top,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  };
  // Labels show package texts as they are, on one line (DrawLabel): an "&"
  // in a title is no access key, and a web address with a "/" in it is
  // never wrapped onto a hidden second line.
  FTitle = make("STATIC", SS_OWNERDRAW | SS_NOPREFIX, IdTitle);
  FAuthor = make("STATIC", SS_OWNERDRAW | SS_NOPREFIX, IdAuthor);
  FMuteBox = std::make_unique<TSkinCheckBoxWindow>(top, IdMute);
  FMute = FMuteBox->Handle();
  FEmail = make("STATIC", SS_OWNERDRAW | SS_NOPREFIX | SS_NOTIFY, IdEmail);
  FWeb = make("STATIC", SS_OWNERDRAW | SS_NOPREFIX | SS_NOTIFY, IdWeb);
  FOKButton = std::make_unique<TSkinButtonWindow>(FSkinPanel3->Handle(), IDOK, true);
  FOK = FOKButton->Handle();
  for (TSkinControlWindow* control : std::initializer_list<TSkinControlWindow*>{
           FSkinPanel2.get(), FSkinPanel1.get(), FSkinPanel3.get(), FMuteBox.get(),
           FOKButton.get()})
    control->SetSkinManager(&FSkinManager1);
}

// Takes the skin drawn for dpi from the program's resources, when the
// scaling changes. A program without one, or a damaged one, leaves the
// skin empty and the controls in their plain look.
void TSetupForm::LoadSkin(UINT dpi) {
  const int scale = SkinScaleForDpi(static_cast<int>(dpi));
  if (scale == FSkinScale) return;
  FSkinScale = scale;
  const int id = scale == 200 ? IdSkinStream200 : scale == 150 ? IdSkinStream150 : IdSkinStream100;
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(10));  // RT_RCDATA
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  const auto* bytes = static_cast<const uint8_t*>(loaded ? LockResource(loaded) : nullptr);
  std::vector<uint8_t> value;
  if (bytes) value.assign(bytes, bytes + SizeofResource(module, found));
  TMemoryStream stream(std::move(value));
  try {
    if (stream.Size() > 0) FSkinManager1.SetSkinStream(stream);
  } catch (const std::exception&) {
    FSkinManager1.Source().Clear();
  }
}

// Places everything for dpi: the form's pixel layout times dpi / 96.
void TSetupForm::Layout(UINT dpi) {
  FDpi = dpi;
  LoadSkin(dpi);
  FFonts = std::make_unique<TFonts>(Scale(-11), Scale(-13));
  auto setFont = [](HWND control, HFONT font) {
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  };
  setFont(FTitle, FFonts->Title.Get());
  setFont(FAuthor, FFonts->Normal.Get());
  setFont(FMute, FFonts->Normal.Get());
  setFont(FEmail, FFonts->Link.Get());
  setFont(FWeb, FFonts->Link.Get());
  setFont(FOK, FFonts->Normal.Get());

  FitLabel(FTitle, 29, 23, 0, 0);
  FitLabel(FAuthor, 29, 44, 0, 0);
  FitLabel(FEmail, 29, 106, 0, 0);
  FitLabel(FWeb, 29, 127, 0, 0);
  // The box and 5 pixels of gap before the caption; a longer translated
  // caption widens the checkbox instead of being cut off.
  FitLabel(FMute, 29, 71, 84, 15);
  const int bottomTop = ClientHeight - BottomPanelHeight;
  auto place = [this](HWND window, int x, int y, int width, int height) {
    SetWindowPos(window, nullptr, Scale(x), Scale(y), Scale(width), Scale(height),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  };
  place(FSkinPanel2->Handle(), 0, 0, ClientWidth, TopPanelHeight);
  place(FSkinPanel1->Handle(), 0, TopPanelHeight, ClientWidth, bottomTop - TopPanelHeight);
  place(FSkinPanel3->Handle(), 0, bottomTop, ClientWidth, BottomPanelHeight);
  place(FOK, 214, 15, 75, 25);
  InvalidateRect(FWindow, nullptr, TRUE);
}

// Labels size themselves to their text, as the form's labels do, measured
// as they are drawn.
void TSetupForm::FitLabel(HWND label, int x, int y, int minWidth, int minHeight) {
  SIZE extent{};
  {
    TWindowDC dc(label);
    TSelection font(dc.Get(), reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0)));
    extent = MeasureCaption(dc.Get(), WindowText(label), label == FMute ? 0 : DT_NOPREFIX);
  }
  int width = extent.cx, height = extent.cy;
  if (label == FMute)
    width += Scale(TSkinCheckBoxWindow::BoxSize + TSkinCheckBoxWindow::Spacing) + Scale(4);
  else  // a long text ends in "..." where the OK button's right edge is
    width = std::min(width, Scale(ClientWidth - LabelRightMargin) - Scale(x));
  width = std::max(width, Scale(minWidth));
  height = std::max(height, Scale(minHeight));
  SetWindowPos(label, nullptr, Scale(x), Scale(y), width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// Labels draw as the skinned controls' captions do, at the advances they
// were measured by (ControlCaption.h), so a link's underline ends with its
// text: on the panel's image, in the colours the form gives, and ending in
// "..." where the label is cut.
void TSetupForm::DrawLabel(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  auto background = reinterpret_cast<HBRUSH>(
      SendMessageA(GetParent(item.hwndItem), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                   reinterpret_cast<LPARAM>(item.hwndItem)));
  if (background) FillRect(dc, &item.rcItem, background);
  SetBkMode(dc, TRANSPARENT);
  TSelection font(dc, reinterpret_cast<HFONT>(SendMessageA(item.hwndItem, WM_GETFONT, 0, 0)));
  DrawCaption(dc, item.rcItem, WindowText(item.hwndItem), DT_NOPREFIX | DT_END_ELLIPSIS);
}

HWND TSetupForm::Control(TSetupText which) const {
  switch (which) {
    case TSetupText::Caption:
      return FWindow;
    case TSetupText::Title:
      return FTitle;
    case TSetupText::Author:
      return FAuthor;
    case TSetupText::MuteMusic:
      return FMute;
    case TSetupText::Email:
      return FEmail;
    case TSetupText::Web:
      return FWeb;
    case TSetupText::OKButton:
      return FOK;
  }
  return nullptr;
}

void TSetupForm::SetText(TSetupText which, const std::string& text) {
  HWND control = Control(which);
  SetWindowTextA(control, text.c_str());
  if (control == FTitle) FitLabel(FTitle, 29, 23, 0, 0);
  if (control == FAuthor) FitLabel(FAuthor, 29, 44, 0, 0);
  if (control == FEmail) FitLabel(FEmail, 29, 106, 0, 0);
  if (control == FWeb) FitLabel(FWeb, 29, 127, 0, 0);
  if (control == FMute) FitLabel(FMute, 29, 71, 84, 15);
}

void TSetupForm::SetMuteChecked(bool checked) {
  SendMessageA(FMute, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool TSetupForm::MuteChecked() const {
  return SendMessageA(FMute, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TSetupForm::Close() {
  PostMessageA(FWindow, WM_CLOSE, 0, 0);
}

void TSetupForm::ShowError(const std::string& message) {
  MessageBoxA(FWindow, message.c_str(), FAppTitle.c_str(), MB_OK | MB_ICONERROR);
}

void TSetupForm::OpenDocument(const std::string& target) {
  ShellExecuteA(FWindow, "open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void TSetupForm::Show() {
  FDialog->FormShow();
  // Size the frame around the scaled client area and centre it on the screen.
  RECT client, frame;
  GetClientRect(FWindow, &client);
  GetWindowRect(FWindow, &frame);
  int width = (frame.right - frame.left) - client.right + Scale(ClientWidth);
  int height = (frame.bottom - frame.top) - client.bottom + Scale(ClientHeight);
  int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  SetWindowPos(FWindow, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(FWindow, SW_SHOWNORMAL);
  SetForegroundWindow(FWindow);
  SetFocus(FMute);
  UpdateWindow(FWindow);
}

bool TSetupForm::TranslateDialogMessage(MSG& message) {
  return FWindow && IsDialogMessageA(FWindow, &message);
}

LRESULT CALLBACK TSetupForm::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* form = WindowObject<TSetupForm>(window, message, lParam);
  if (form && form->FWindow == window) return form->Dispatch(message, wParam, lParam);
  return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT TSetupForm::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  if (LRESULT result = 0; FSkinForm1 && FSkinForm1->HandleMessage(message, wParam, lParam, result))
    return result;
  switch (message) {
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(FWindow, &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, FBrush.Get());
      return 1;
    }
    case WM_CTLCOLORSTATIC: {
      // Labels are transparent (their panel gives the brush), in the text
      // or the link colour.
      auto dc = reinterpret_cast<HDC>(wParam);
      auto control = reinterpret_cast<HWND>(lParam);
      SetBkColor(dc, FormColor);
      SetTextColor(
          dc, control == FEmail || control == FWeb ? LinkColor : GetSysColor(COLOR_WINDOWTEXT));
      return reinterpret_cast<LRESULT>(FBrush.Get());
    }
    case WM_CTLCOLORBTN:
      return reinterpret_cast<LRESULT>(FBrush.Get());
    case WM_SETCURSOR: {
      auto control = reinterpret_cast<HWND>(wParam);
      if (control == FEmail || control == FWeb) {
        SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)));
        return TRUE;
      }
      break;
    }
    case WM_COMMAND: {
      const int id = LOWORD(wParam), code = HIWORD(wParam);
      if (id == IdMute && code == BN_CLICKED) FDialog->MuteClick();
      if (id == IDOK && code == BN_CLICKED) FDialog->OKButtonClick();
      // Esc leaves as the frame's close button does: nothing is stored.
      if (id == IDCANCEL) Close();
      if (id == IdEmail && code == STN_CLICKED) FDialog->EmailClick();
      if (id == IdWeb && code == STN_CLICKED) FDialog->WebClick();
      return 0;
    }
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item.CtlType != ODT_STATIC) break;
      DrawLabel(item);
      return TRUE;
    }
    case DM_GETDEFID:
      return MAKELRESULT(IDOK, DC_HASDEFID);
    case 0x02E0: {  // WM_DPICHANGED: moved to a monitor of another DPI
      Layout(HIWORD(wParam));
      auto* suggested = reinterpret_cast<RECT*>(lParam);
      SetWindowPos(FWindow, nullptr, suggested->left, suggested->top,
                   suggested->right - suggested->left, suggested->bottom - suggested->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_CLOSE:
      DestroyWindow(FWindow);
      return 0;
    case WM_DESTROY:
      FWindow = nullptr;
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(FWindow, message, wParam, lParam);
}

}  // namespace pixvane
