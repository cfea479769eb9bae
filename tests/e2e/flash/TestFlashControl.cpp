// A stand-in for the Flash Player ActiveX control, for the end-to-end tests
// only: registered under the control's class id in the test Wine prefix,
// never shipped. It does what the player relies on and no more: it goes in
// place in its site's window, takes Movie, Play, Stop and StopPlay, tells
// TotalFrames and CurrentFrame, and raises FSCommand through its connection
// point. Interfaces it lacks are answered E_NOINTERFACE, as the real one
// answers those it lacks.
//
// A "movie" is a text file of lines "key value":
//   color RRGGBB       the colour that fills the whole control
//   frames N           how many frames it has (at least 1)
//   fps N              frames a second
//   command F TEXT     FSCommand TEXT (arguments "") when frame F shows
// Frames count from 1; after the last the movie stays on it, so
// CurrentFrame equals TotalFrames once it has ended.
#include <windows.h>

#include <ocidl.h>
#include <olectl.h>
#include <oleidl.h>

#include <atomic>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr CLSID FlashClassId = {
    0xD27CDB6E, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
constexpr IID FlashEventsId = {
    0xD27CDB6D, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
constexpr DISPID MovieId = 102, PlayId = 112, StopId = 113, TotalFramesId = 124, StopPlayId = 126,
                 CurrentFrameId = 128, FSCommandId = 150;
constexpr char WindowClassName[] = "TestFlashControl";
constexpr UINT_PTR FrameTimerId = 1;

HINSTANCE Module = nullptr;
std::atomic<LONG> Objects{0};

struct TMovie {
  COLORREF Color = RGB(0, 0, 0);
  LONG Frames = 1;
  UINT Fps = 10;
  LONG CommandFrame = 0;
  std::wstring Command;
};

bool ReadMovie(const std::wstring& path, TMovie& movie) {
  std::ifstream file(path.c_str());
  if (!file) return false;
  std::string line;
  while (std::getline(file, line)) {
    std::istringstream fields(line);
    std::string key;
    fields >> key;
    if (key == "color") {
      std::string hex;
      fields >> hex;
      unsigned long rgb = std::stoul(hex, nullptr, 16);
      movie.Color = RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
    } else if (key == "frames") {
      fields >> movie.Frames;
    } else if (key == "fps") {
      fields >> movie.Fps;
    } else if (key == "command") {
      std::string text;
      fields >> movie.CommandFrame >> text;
      movie.Command.assign(text.begin(), text.end());
    }
  }
  if (movie.Frames < 1) movie.Frames = 1;
  if (movie.Fps < 1) movie.Fps = 1;
  return true;
}

class TControl;

// The one connection point, for the event interface.
class TEvents final : public IConnectionPoint {
 public:
  explicit TEvents(TControl& owner) : FOwner(owner) {}
  IDispatch* Sink = nullptr;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override {
    *iid = FlashEventsId;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** out) override;
  HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override {
    if (Sink) return CONNECT_E_ADVISELIMIT;
    if (FAILED(sink->QueryInterface(FlashEventsId, reinterpret_cast<void**>(&Sink))))
      return CONNECT_E_CANNOTCONNECT;
    *cookie = 1;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override {
    if (cookie != 1 || !Sink) return CONNECT_E_NOCONNECTION;
    Sink->Release();
    Sink = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections**) override { return E_NOTIMPL; }

 private:
  TControl& FOwner;
};

class TControl final : public IOleObject,
                       public IOleInPlaceObject,
                       public IDispatch,
                       public IConnectionPointContainer {
 public:
  TControl() : FEvents(*this) { ++Objects; }
  ~TControl() {
    Deactivate();
    if (FSite) FSite->Release();
    if (FEvents.Sink) FEvents.Sink->Release();
    --Objects;
  }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IOleObject)
      *out = static_cast<IOleObject*>(this);
    else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceObject)
      *out = static_cast<IOleInPlaceObject*>(this);
    else if (iid == IID_IDispatch)
      *out = static_cast<IDispatch*>(this);
    else if (iid == IID_IConnectionPointContainer)
      *out = static_cast<IConnectionPointContainer*>(this);
    else
      return *out = nullptr, E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++FReferences; }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG left = --FReferences;
    if (left == 0) delete this;
    return left;
  }

  // IOleObject: a site, in-place activation and closing; nothing else.
  HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* site) override {
    if (FSite) FSite->Release();
    FSite = site;
    if (FSite) FSite->AddRef();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** site) override {
    *site = FSite;
    if (FSite) FSite->AddRef();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Close(DWORD) override {
    Deactivate();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND parent,
                                   LPCRECT bounds) override {
    if (verb != OLEIVERB_INPLACEACTIVATE && verb != OLEIVERB_SHOW) return OLEOBJ_E_INVALIDVERB;
    return Activate(site ? site : FSite);
  }
  HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Update() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE IsUpToDate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID* id) override {
    *id = FlashClassId;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetUserType(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Advise(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD, DWORD* status) override {
    *status = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

  // IOleInPlaceObject
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
    *window = FWindow;
    return FWindow ? S_OK : E_FAIL;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE InPlaceDeactivate() override {
    Deactivate();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE UIDeactivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetObjectRects(LPCRECT position, LPCRECT) override {
    if (FWindow)
      MoveWindow(FWindow, position->left, position->top, position->right - position->left,
                 position->bottom - position->top, TRUE);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ReactivateAndUndo() override { return E_NOTIMPL; }

  // IDispatch: by dispatch id only, as the player calls.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD kind, DISPPARAMS* parameters,
                                   VARIANT* result, EXCEPINFO*, UINT*) override;

  // IConnectionPointContainer
  HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** point) override {
    if (iid != FlashEventsId) return *point = nullptr, CONNECT_E_NOCONNECTION;
    *point = &FEvents;
    FEvents.AddRef();
    return S_OK;
  }

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  HRESULT Activate(IOleClientSite* site);
  void Deactivate();
  void NextFrame();
  void Fire(const std::wstring& command);

  std::atomic<ULONG> FReferences{1};
  IOleClientSite* FSite = nullptr;
  IOleInPlaceSite* FInPlaceSite = nullptr;
  HWND FWindow = nullptr;
  TEvents FEvents;
  TMovie FMovie;
  LONG FFrame = 0;
  bool FLoaded = false;
};

HRESULT STDMETHODCALLTYPE TEvents::QueryInterface(REFIID iid, void** out) {
  if (iid != IID_IUnknown && iid != IID_IConnectionPoint) return *out = nullptr, E_NOINTERFACE;
  *out = this;
  AddRef();
  return S_OK;
}
ULONG STDMETHODCALLTYPE TEvents::AddRef() {
  return FOwner.AddRef();
}
ULONG STDMETHODCALLTYPE TEvents::Release() {
  return FOwner.Release();
}
HRESULT STDMETHODCALLTYPE TEvents::GetConnectionPointContainer(IConnectionPointContainer** out) {
  return FOwner.QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(out));
}

// The steps of in-place activation a container must answer: may it, where,
// and in which window.
HRESULT TControl::Activate(IOleClientSite* site) {
  if (FWindow) return S_OK;
  if (!site ||
      FAILED(site->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&FInPlaceSite))))
    return E_UNEXPECTED;
  HWND parent = nullptr;
  IOleInPlaceFrame* frame = nullptr;
  IOleInPlaceUIWindow* document = nullptr;
  RECT position{}, clip{};
  OLEINPLACEFRAMEINFO info{};
  info.cb = sizeof info;
  if (FInPlaceSite->CanInPlaceActivate() != S_OK || FAILED(FInPlaceSite->GetWindow(&parent)) ||
      FAILED(FInPlaceSite->GetWindowContext(&frame, &document, &position, &clip, &info)))
    return E_FAIL;
  if (frame) frame->Release();
  if (document) document->Release();
  FInPlaceSite->OnInPlaceActivate();
  FWindow = CreateWindowExA(0, WindowClassName, "", WS_CHILD | WS_VISIBLE, position.left,
                            position.top, position.right - position.left,
                            position.bottom - position.top, parent, nullptr, Module, this);
  return FWindow ? S_OK : E_FAIL;
}

void TControl::Deactivate() {
  if (FWindow) DestroyWindow(FWindow);
  FWindow = nullptr;
  if (FInPlaceSite) {
    FInPlaceSite->OnInPlaceDeactivate();
    FInPlaceSite->Release();
  }
  FInPlaceSite = nullptr;
}

HRESULT STDMETHODCALLTYPE TControl::Invoke(DISPID id, REFIID, LCID, WORD kind,
                                           DISPPARAMS* parameters, VARIANT* result, EXCEPINFO*,
                                           UINT*) {
  switch (id) {
    case MovieId: {
      if (!(kind & DISPATCH_PROPERTYPUT) || !parameters || parameters->cArgs != 1 ||
          parameters->rgvarg[0].vt != VT_BSTR)
        return DISP_E_BADPARAMCOUNT;
      TMovie movie;
      // A file that cannot be read leaves an empty movie, as the real one does.
      FLoaded = ReadMovie(parameters->rgvarg[0].bstrVal, movie);
      FMovie = movie;
      FFrame = FLoaded ? 1 : 0;
      if (FWindow) InvalidateRect(FWindow, nullptr, TRUE);
      return S_OK;
    }
    case PlayId:
      if (FWindow && FLoaded) SetTimer(FWindow, FrameTimerId, 1000 / FMovie.Fps, nullptr);
      return S_OK;
    case StopId:
    case StopPlayId:
      if (FWindow) KillTimer(FWindow, FrameTimerId);
      return S_OK;
    case TotalFramesId:
    case CurrentFrameId:
      if (!result) return E_POINTER;
      result->vt = VT_I4;
      result->lVal = id == TotalFramesId ? (FLoaded ? FMovie.Frames : 0) : FFrame;
      return S_OK;
    default:
      return DISP_E_MEMBERNOTFOUND;
  }
}

void TControl::NextFrame() {
  if (FFrame >= FMovie.Frames) {
    KillTimer(FWindow, FrameTimerId);
    return;
  }
  ++FFrame;
  if (FFrame == FMovie.CommandFrame) Fire(FMovie.Command);
}

void TControl::Fire(const std::wstring& command) {
  if (!FEvents.Sink) return;
  VARIANT arguments[2];
  arguments[1].vt = arguments[0].vt = VT_BSTR;
  arguments[1].bstrVal = SysAllocString(command.c_str());  // last first
  arguments[0].bstrVal = SysAllocString(L"");
  DISPPARAMS parameters{arguments, nullptr, 2, 0};
  AddRef();  // the host may let go of the control while it handles the event
  FEvents.Sink->Invoke(FSCommandId, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &parameters,
                       nullptr, nullptr, nullptr);
  Release();
  VariantClear(&arguments[0]);
  VariantClear(&arguments[1]);
}

LRESULT CALLBACK TControl::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE)
    SetWindowLongPtrA(
        window, GWLP_USERDATA,
        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
  auto* control = reinterpret_cast<TControl*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (control && message == WM_TIMER && wParam == FrameTimerId) {
    control->NextFrame();
    return 0;
  }
  if (control && message == WM_ERASEBKGND) {
    RECT area;
    GetClientRect(window, &area);
    HBRUSH brush = CreateSolidBrush(control->FLoaded ? control->FMovie.Color : RGB(255, 255, 255));
    FillRect(reinterpret_cast<HDC>(wParam), &area, brush);
    DeleteObject(brush);
    return 1;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

class TFactory final : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid != IID_IUnknown && iid != IID_IClassFactory) return *out = nullptr, E_NOINTERFACE;
    *out = this;
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }  // static: never freed
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    if (outer) return *out = nullptr, CLASS_E_NOAGGREGATION;
    auto* control = new TControl;
    HRESULT result = control->QueryInterface(iid, out);
    control->Release();
    return result;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    lock ? ++Objects : --Objects;
    return S_OK;
  }
};

TFactory Factory;

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    Module = module;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = TControl::WindowProc;
    windowClass.hInstance = module;
    windowClass.lpszClassName = WindowClassName;
    RegisterClassA(&windowClass);
  }
  return TRUE;
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE
    DllGetClassObject(REFCLSID id, REFIID iid, void** out) {
  if (id != FlashClassId) return *out = nullptr, CLASS_E_CLASSNOTAVAILABLE;
  return Factory.QueryInterface(iid, out);
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllCanUnloadNow() {
  return Objects == 0 ? S_OK : S_FALSE;
}
