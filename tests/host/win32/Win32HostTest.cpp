#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "base/Stream.h"
#include "base/win32/Handles.h"
#include "base/win32/MessagePump.h"
#include "base/win32/WindowClass.h"
#include "host/QuadrantJpeg.h"
#include "host/win32/PreviewWindow.h"
#include "host/win32/Win32Startup.h"
#include "package/ClassRegistry.h"
#include "package/PackageWriter.h"

namespace pixvane {
namespace {

using test::NearColor;
using test::QuadrantColors;

TEST(InstanceMarker, ASecondHolderOfTheNameIsToldAndTheNameIsFreeAfterwards) {
  auto first = std::make_unique<TWin32Startup>();
  TWin32Startup second;
  ASSERT_TRUE(first->AcquireInstanceMarker());
  EXPECT_FALSE(second.AcquireInstanceMarker());
  first->ReleaseInstanceMarker();
  EXPECT_TRUE(second.AcquireInstanceMarker());
  second.ReleaseInstanceMarker();
}

TEST(InstanceMarker, TheMarkerIsTheSemaphoreNamedAfterOurFile) {
  TWin32Startup startup;
  ASSERT_TRUE(startup.AcquireInstanceMarker());
  const std::string name = InstanceMarkerName(ModuleFileName());
  HANDLE seen = OpenSemaphoreA(SYNCHRONIZE, FALSE, name.c_str());
  EXPECT_NE(seen, nullptr) << name;
  if (seen) CloseHandle(seen);
  startup.ReleaseInstanceMarker();
}

// A stand-in for the display settings' preview window: a plain popup of a
// known size. It never paints itself: its own paint after showing would race
// with the preview's drawing, which nobody repaints.
class TPreviewHost {
 public:
  TPreviewHost(int width, int height) {
    RegisterWindowClass("PixvanePreviewHostTest");
    Window = CreateWindowExA(0, "PixvanePreviewHostTest", "", WS_POPUP, 40, 30, width, height,
                             nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  }
  ~TPreviewHost() { DestroyWindow(Window); }

  void Pump() { ProcessMessages(TQuitMessage::Drop); }
  TColor PixelAt(int x, int y) { return GetPixel(TWindowDC(Window).Get(), x, y); }
  HWND Window;
};

struct TPreviewRun {
  HWND Window;
  std::vector<uint8_t> Saver;
};

DWORD WINAPI PreviewThread(void* parameter) {
  auto* run = static_cast<TPreviewRun*>(parameter);
  TWin32PreviewWindow window(run->Window);
  try {
    RunPreview(window, [run] { return std::make_unique<TMemoryStream>(run->Saver); });
  } catch (...) {
    return 1;
  }
  return 0;
}

uint64_t ThreadCpuMs(HANDLE thread) {
  FILETIME created, exited, kernel, user;
  GetThreadTimes(thread, &created, &exited, &kernel, &user);
  auto ms = [](FILETIME t) {
    return ((uint64_t{t.dwHighDateTime} << 32) | t.dwLowDateTime) / 10000;
  };
  return ms(kernel) + ms(user);
}

// The preview as the display settings see it: nothing until their window
// shows, then the first picture over all of it, then gone soon after the
// window hides, and asleep in between.
TEST(Preview, DrawsIntoTheRealWindowSleepsAndEndsWhenItHides) {
  RegisterStreamClasses();
  TMemoryStream file;
  std::vector<uint8_t> player(1024, 'P');
  file.Write(player.data(), player.size());
  TSSFileLocations settings;
  settings.SetScale(TScaleMode::Stretch);  // over the whole preview
  TPackageWriter writer(file, settings);
  writer.AddPicture(test::MakeQuadrantJpeg(400, 300), "first.jpg");
  writer.Finish();

  TPreviewHost host(152, 112);
  TPreviewRun run{host.Window, file.Bytes()};
  HANDLE thread = CreateThread(nullptr, 0, PreviewThread, &run, 0, nullptr);
  ASSERT_NE(thread, nullptr);

  // Hidden: the preview waits without drawing.
  Sleep(200);
  host.Pump();
  EXPECT_EQ(WaitForSingleObject(thread, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  ShowWindow(host.Window, SW_SHOWNOACTIVATE);

  bool drawn = false;
  for (int i = 0; i < 100 && !drawn; ++i) {
    host.Pump();
    drawn = NearColor(host.PixelAt(150, 110), QuadrantColors[3]);
    if (!drawn) Sleep(50);
  }
  ASSERT_TRUE(drawn) << std::hex << host.PixelAt(150, 110);
  EXPECT_TRUE(NearColor(host.PixelAt(2, 2), QuadrantColors[0]));
  EXPECT_TRUE(NearColor(host.PixelAt(149, 2), QuadrantColors[1]));
  EXPECT_TRUE(NearColor(host.PixelAt(2, 109), QuadrantColors[2]));

  // Shown and drawn: half a second of it costs next to no processor time.
  uint64_t before = ThreadCpuMs(thread);
  for (int i = 0; i < 10; ++i) {
    Sleep(50);
    host.Pump();
  }
  uint64_t busy = ThreadCpuMs(thread) - before;
  EXPECT_LT(busy, 100u) << "ms of processor time in 500 ms of preview";

  ShowWindow(host.Window, SW_HIDE);
  DWORD hidden = GetTickCount();
  DWORD waited = WaitForSingleObject(thread, 2000);
  DWORD lasted = GetTickCount() - hidden;
  EXPECT_EQ(waited, static_cast<DWORD>(WAIT_OBJECT_0));
  RecordProperty("EndedAfterHideMs", static_cast<int>(lasted));
  EXPECT_LT(lasted, 1000u);
  DWORD code = 99;
  GetExitCodeThread(thread, &code);
  EXPECT_EQ(code, 0u);
  CloseHandle(thread);
}

TEST(Preview, AHandleThatNamesNoWindowEndsAtOnce) {
  HWND gone = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
  DestroyWindow(gone);
  TPreviewRun run{gone, {}};
  HANDLE thread = CreateThread(nullptr, 0, PreviewThread, &run, 0, nullptr);
  EXPECT_EQ(WaitForSingleObject(thread, 2000), static_cast<DWORD>(WAIT_OBJECT_0));
  CloseHandle(thread);
}

}  // namespace
}  // namespace pixvane
