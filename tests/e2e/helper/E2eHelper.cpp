// The end-to-end tests' eyes and hands inside Wine. It runs for the whole
// test run and answers one command per line on standard input, each answer
// ending with a line "END":
//   windows               visible top-level windows: hwnd, class, caption, screen rect
//   controls HWND         the window's child controls: hwnd, class, text, check state, rect,
//                         and what assistive tools are told: role number and name
//                         (the check state too comes from there when the control has a role)
//   host W H              a stand-in preview window of client size W x H; answers its handle
//   show HWND / hide HWND / destroy HWND / close HWND
//   post HWND MESSAGE     posts a message number (decimal) with no parameters, as another
//                         program may
//   temp                  the temporary folder, as the player asks for it
//   saver-running         the screen-saver-running flag: 1, 0 or absent
//   saver-running clear   clears it first, so a case sees only its own saver's doing
//   quit
// Fields are separated by tabs. Its own windows live on its main thread,
// which keeps pumping messages while it waits for the next command.
#include <oleacc.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "base/win32/Handles.h"
#include "base/win32/MessagePump.h"
#include "base/win32/WindowClass.h"

namespace {

using namespace pixvane;

constexpr UINT WM_COMMANDLINE = WM_APP + 1;
DWORD mainThread;

std::string TextOf(HWND window) {
  char text[512] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

std::string ClassOf(HWND window) {
  char name[256] = "";
  GetClassNameA(window, name, sizeof name);
  return name;
}

std::string RectOf(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  char text[64];
  std::snprintf(text, sizeof text, "%ld,%ld,%ld,%ld", r.left, r.top, r.right, r.bottom);
  return text;
}

HWND ParseHandle(const std::string& text) {
  return reinterpret_cast<HWND>(static_cast<LONG_PTR>(std::strtoll(text.c_str(), nullptr, 10)));
}

BOOL CALLBACK ListWindow(HWND window, LPARAM) {
  if (!IsWindowVisible(window)) return TRUE;
  std::printf("%lld\t%s\t%s\t%s\n", static_cast<long long>(reinterpret_cast<LONG_PTR>(window)),
              ClassOf(window).c_str(), TextOf(window).c_str(), RectOf(window).c_str());
  return TRUE;
}

// What a screen reader would learn of a control, asked across the process
// boundary as a reader asks: its role (0 when it gives none), its name and
// whether it is checked (-1 when it is no check box).
struct TAccessibleFacts {
  long Role = 0;
  std::string Name;
  int Checked = -1;
};

TAccessibleFacts AccessibleFactsOf(HWND control) {
  TAccessibleFacts facts;
  TComPtr<IAccessible> object;
  if (FAILED(AccessibleObjectFromWindow(control, OBJID_CLIENT, __uuidof(IAccessible),
                                        reinterpret_cast<void**>(object.Receive()))))
    return facts;
  VARIANT self;
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  VARIANT role, state;
  VariantInit(&role);
  VariantInit(&state);
  if (SUCCEEDED(object->get_accRole(self, &role)) && role.vt == VT_I4) facts.Role = role.lVal;
  BSTR name = nullptr;
  if (SUCCEEDED(object->get_accName(self, &name)) && name) {
    char text[512] = "";
    WideCharToMultiByte(CP_UTF8, 0, name, -1, text, sizeof text, nullptr, nullptr);
    facts.Name = text;
    SysFreeString(name);
  }
  if (facts.Role == ROLE_SYSTEM_CHECKBUTTON && SUCCEEDED(object->get_accState(self, &state)) &&
      state.vt == VT_I4)
    facts.Checked = (state.lVal & STATE_SYSTEM_CHECKED) ? 1 : 0;
  return facts;
}

BOOL CALLBACK ListControl(HWND control, LPARAM) {
  TAccessibleFacts facts = AccessibleFactsOf(control);
  LRESULT check = facts.Checked;
  if (check < 0 && ClassOf(control) == "Button") check = SendMessageA(control, BM_GETCHECK, 0, 0);
  std::printf("%lld\t%s\t%s\t%d\t%s\t%ld\t%s\n",
              static_cast<long long>(reinterpret_cast<LONG_PTR>(control)), ClassOf(control).c_str(),
              TextOf(control).c_str(), static_cast<int>(check), RectOf(control).c_str(), facts.Role,
              facts.Name.c_str());
  return TRUE;
}

// The preview host never paints itself: whatever is drawn on it stays.
HWND MakeHost(int width, int height) {
  RegisterWindowClass("PixvaneE2ePreviewHost");
  HWND window =
      CreateWindowExA(WS_EX_TOOLWINDOW, "PixvaneE2ePreviewHost", "Preview host", WS_POPUP, 100, 100,
                      width, height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  // Black first, so a stale picture from an earlier case cannot pass.
  ShowWindow(window, SW_SHOWNOACTIVATE);
  RECT all{0, 0, width, height};
  FillRect(TWindowDC(window).Get(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  return window;
}

// Wine keeps a system parameter that was set without SPIF_UPDATEINIFILE in
// a volatile key of the session, while each process caches what it read of
// it once; asking SystemParametersInfo here would answer this process's stale
// copy, the key answers the saver's last call.
std::string SaverRunningFlag() {
  TRegistryKey key;
  if (!key.Open(HKEY_CURRENT_USER,
                "Software\\Wine\\Temporary System Parameters\\Control Panel\\Desktop", KEY_READ))
    return "absent";
  char value[32] = "";
  DWORD size = sizeof value - 1;
  LONG read = RegQueryValueExA(key.Get(), "WINE_ScreenSaverRunning", nullptr, nullptr,
                               reinterpret_cast<BYTE*>(value), &size);
  return read == ERROR_SUCCESS ? std::string(value) : std::string("absent");
}

void Run(const std::string& line) {
  std::istringstream in(line);
  std::string command, argument;
  in >> command;
  if (command == "windows") {
    EnumWindows(ListWindow, 0);
  } else if (command == "controls") {
    in >> argument;
    EnumChildWindows(ParseHandle(argument), ListControl, 0);
  } else if (command == "host") {
    int width = 0, height = 0;
    in >> width >> height;
    std::printf("%lld\n",
                static_cast<long long>(reinterpret_cast<LONG_PTR>(MakeHost(width, height))));
  } else if (command == "show" || command == "hide") {
    in >> argument;
    ShowWindow(ParseHandle(argument), command == "show" ? SW_SHOWNOACTIVATE : SW_HIDE);
  } else if (command == "destroy") {
    in >> argument;
    DestroyWindow(ParseHandle(argument));
  } else if (command == "close") {
    in >> argument;
    PostMessageA(ParseHandle(argument), WM_CLOSE, 0, 0);
  } else if (command == "post") {
    UINT message = 0;
    in >> argument >> message;
    PostMessageA(ParseHandle(argument), message, 0, 0);
  } else if (command == "temp") {
    char folder[MAX_PATH + 1] = "";
    GetTempPathA(sizeof folder, folder);
    std::printf("%s\n", folder);
  } else if (command == "saver-running") {
    in >> argument;
    if (argument == "clear") {
      BOOL previous = FALSE;
      SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, FALSE, &previous, 0);
    }
    std::printf("%s\n", SaverRunningFlag().c_str());
  } else if (command == "quit") {
    std::printf("END\n");
    std::fflush(stdout);
    std::exit(0);
  } else {
    std::printf("ERROR unknown command %s\n", command.c_str());
  }
  std::printf("END\n");
  std::fflush(stdout);
}

DWORD WINAPI ReadCommands(void*) {
  char buffer[4096];
  while (std::fgets(buffer, sizeof buffer, stdin)) {
    auto* line = new std::string(buffer);
    while (!line->empty() && (line->back() == '\n' || line->back() == '\r')) line->pop_back();
    PostThreadMessageA(mainThread, WM_COMMANDLINE, 0, reinterpret_cast<LPARAM>(line));
  }
  PostThreadMessageA(mainThread, WM_QUIT, 0, 0);
  return 0;
}

}  // namespace

int main() {
  TComApartment com;  // accessibility objects come through COM
  mainThread = GetCurrentThreadId();
  MSG message;
  PeekMessageA(&message, nullptr, 0, 0,
               PM_NOREMOVE);  // the thread's queue, before the reader posts
  CloseHandle(CreateThread(nullptr, 0, ReadCommands, nullptr, 0, nullptr));
  std::printf("READY\n");
  std::fflush(stdout);
  RunMessageLoop({.Filter = [](MSG& message) {
    if (message.message != WM_COMMANDLINE || message.hwnd != nullptr) return false;
    std::unique_ptr<std::string> line(reinterpret_cast<std::string*>(message.lParam));
    Run(*line);
    return true;
  }});
  return 0;
}
