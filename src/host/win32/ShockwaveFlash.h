#pragma once
#include <windows.h>

#include <ocidl.h>
#include <oleidl.h>

#include <functional>
#include <string>

#include "base/win32/Handles.h"
#include "show/FlashShow.h"

namespace pixvane {

class TFlashSite;

// The Flash Player ActiveX control in place in a window of ours that covers
// the saver window. The control is called late-bound by its dispatch ids,
// so any version of it serves; its FSCommand event comes through its
// connection point. COM stays on the user-interface thread.
class TShockwaveFlash : public TFlashControl {
 public:
  // Creates the control in a child of parent that covers width x height,
  // visible. Raises EError when the control is not installed or refuses to
  // be placed.
  TShockwaveFlash(HWND parent, int width, int height);
  ~TShockwaveFlash() override;
  TShockwaveFlash(const TShockwaveFlash&) = delete;
  TShockwaveFlash& operator=(const TShockwaveFlash&) = delete;

  // The movie's commands to its host: command and arguments as text.
  void SetOnFSCommand(std::function<void(const std::string&, const std::string&)> handler);

  bool Visible() const override;
  void SetVisible(bool visible) override;
  void Stop() override;
  void SetMovie(const std::string& path) override;
  void Play() override;
  void StopPlay() override;
  int32_t TotalFrames() override;
  int32_t CurrentFrame() override;

 private:
  void Place(int width, int height);
  void Listen();
  VARIANT Invoke(DISPID id, WORD kind, const char* what, VARIANT* argument = nullptr);

  // Released in the reverse order: the connection first, the site last.
  TWindowHandle FWindow;
  TComPtr<TFlashSite> FSite;
  TComPtr<IOleObject> FObject;
  TComPtr<IDispatch> FDispatch;
  TComPtr<IConnectionPoint> FEvents;
  DWORD FCookie = 0;
};

}  // namespace pixvane
