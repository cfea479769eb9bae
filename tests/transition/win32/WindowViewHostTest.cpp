#include <windows.h>

#include <gtest/gtest.h>

#include "base/win32/Handles.h"
#include "base/win32/MessagePump.h"
#include "base/win32/WindowClass.h"
#include "transition/TransitionView.h"
#include "transition/win32/WindowViewHost.h"

namespace pixvane {
namespace {

// A real top-level window whose paint goes through the host.
class TWindowRig {
 public:
  TWindowRig() {
    RegisterWindowClass("PixvaneViewTest", WindowProc);
    Window = CreateWindowExA(0, "PixvaneViewTest", "", WS_POPUP, 0, 0, 64, 48, nullptr, nullptr,
                             GetModuleHandleA(nullptr), this);
    Host = std::make_unique<TWindowViewHost>(Window, TRect{4, 2, 64, 48});
    View = std::make_unique<TTransitionView>(*Host, Random);
    Host->Attach(View.get());
    View->SetAutoSize(false);
    View->SetClientSize(60, 46);
    ShowWindow(Window, SW_SHOWNOACTIVATE);
    View->OnComplete = [this](TCustomTransitionView&) { ++Completed; };
  }
  ~TWindowRig() {
    View.reset();
    Host.reset();
    DestroyWindow(Window);
  }

  COLORREF PaintedPixel(int x, int y) {
    TWindowDC screen(Window);
    TMemoryDC memory(screen.Get());
    TGdiBitmap bitmap(CreateCompatibleBitmap(screen.Get(), 64, 48));
    TSelection selection(memory.Get(), bitmap.Get());
    Host->Paint(memory.Get());
    return GetPixel(memory.Get(), x, y);
  }

  HWND Window = nullptr;
  std::unique_ptr<TWindowViewHost> Host;
  TRandom Random;
  std::unique_ptr<TTransitionView> View;
  int Completed = 0;
  int Paints = 0;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* rig = WindowObject<TWindowRig>(window, message, lParam);
    if (message == WM_PAINT && rig && rig->Host) {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      rig->Host->Paint(dc);
      EndPaint(window, &paint);
      ++rig->Paints;
      return 0;
    }
    if (message == WM_ERASEBKGND) return 1;
    return DefWindowProcA(window, message, wParam, lParam);
  }
};

TBitmap Solid(int w, int h, TColor color) {
  TBitmap bitmap(w, h);
  bitmap.Fill(color);
  return bitmap;
}

TEST(WindowViewHost, UserInterfaceLoopPaintsEachFrameIntoTheWindow) {
  TWindowRig rig;
  rig.View->Color = RGB(0, 128, 255);
  EXPECT_EQ(rig.PaintedPixel(63, 47), RGB(0, 128, 255)) << "nothing shown yet: the colour";
  EXPECT_EQ(rig.PaintedPixel(3, 1), RGB(0, 0, 0)) << "only within the view's bounds";
  rig.View->Threaded = false;
  rig.View->Delay = 1;
  rig.View->SetStep(25);
  TBitmap picture = Solid(60, 46, RGB(0, 0, 255));  // TColor is 00BBGGRR like COLORREF
  rig.View->SetPicture(&picture);
  rig.View->Style = 0;
  rig.View->Execute();
  EXPECT_FALSE(rig.View->Busy());
  EXPECT_EQ(rig.Completed, 1);
  EXPECT_GE(rig.Paints, 1);
  EXPECT_EQ(rig.PaintedPixel(30, 20), RGB(0, 0, 255));
  EXPECT_EQ(rig.PaintedPixel(2, 1), RGB(0, 0, 0)) << "outside the view's bounds nothing is painted";
}

TEST(WindowViewHost, TimingThreadStepsArriveThroughTheMessageLoop) {
  TWindowRig rig;
  rig.View->Threaded = true;
  rig.View->Delay = 1;
  rig.View->SetStep(20);
  int frames = 0;
  rig.View->OnProgress = [&](TCustomTransitionView&) {
    EXPECT_EQ(GetCurrentThreadId(), GetWindowThreadProcessId(rig.Window, nullptr));
    ++frames;
  };
  TBitmap picture = Solid(60, 46, RGB(255, 0, 0));
  rig.View->SetPicture(&picture);
  rig.View->Style = 118;
  rig.View->Execute();
  // A plain message loop, as the application runs one, serves the steps.
  DWORD start = GetTickCount();
  while (rig.View->Busy() && GetTickCount() - start < 10000)
    WaitAndProcessMessages(50, TQuitMessage::Drop);
  EXPECT_FALSE(rig.View->Busy());
  EXPECT_EQ(frames, 5);
  EXPECT_EQ(rig.Completed, 1);
}

TEST(WindowViewHost, StopWhileThreadedServesTheFinalStep) {
  TWindowRig rig;
  rig.View->Threaded = true;
  rig.View->Delay = 30;
  TBitmap picture = Solid(60, 46, RGB(255, 0, 0));
  rig.View->SetPicture(&picture);
  rig.View->Style = 118;
  rig.View->Execute();
  rig.Host->ProcessMessages(40);
  rig.View->Stop();
  EXPECT_FALSE(rig.View->Busy());
  EXPECT_EQ(rig.Completed, 0);
}

}  // namespace
}  // namespace pixvane
