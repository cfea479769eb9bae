#include <windows.h>

#include <gtest/gtest.h>

#include "transition/TransitionView.h"
#include "transition/win32/WindowViewHost.h"

namespace pixvane {
namespace {

// A real top-level window whose paint goes through the host.
class TWindowRig {
 public:
  TWindowRig() {
    static ATOM atom = [] {
      WNDCLASSA wc{};
      wc.lpfnWndProc = WindowProc;
      wc.hInstance = GetModuleHandleA(nullptr);
      wc.lpszClassName = "PixvaneViewTest";
      return RegisterClassA(&wc);
    }();
    (void)atom;
    Window = CreateWindowExA(0, "PixvaneViewTest", "", WS_POPUP, 0, 0, 64, 48, nullptr, nullptr,
                             GetModuleHandleA(nullptr), this);
    Host = std::make_unique<TWindowViewHost>(Window, TRect{4, 2, 64, 48});
    View = std::make_unique<TTransitionView>(*Host);
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
    HDC screen = GetDC(Window);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 64, 48);
    HGDIOBJ old = SelectObject(memory, bitmap);
    Host->Paint(memory);
    COLORREF color = GetPixel(memory, x, y);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(Window, screen);
    return color;
  }

  HWND Window = nullptr;
  std::unique_ptr<TWindowViewHost> Host;
  std::unique_ptr<TTransitionView> View;
  int Completed = 0;
  int Paints = 0;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
      SetWindowLongPtrA(window, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
    auto* rig = reinterpret_cast<TWindowRig*>(GetWindowLongPtrA(window, GWLP_USERDATA));
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
  MSG message;
  while (rig.View->Busy() && GetTickCount() - start < 10000) {
    if (MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT) == WAIT_OBJECT_0)
      while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  }
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
