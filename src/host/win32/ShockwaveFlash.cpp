#include "host/win32/ShockwaveFlash.h"

#include <olectl.h>

#include <atomic>
#include <cstdio>

#include "base/Errors.h"
#include "base/win32/WindowClass.h"

namespace pixvane {
namespace {

constexpr CLSID FlashClassId = {
    0xD27CDB6E, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
// The control's outgoing event interface, a dispatch interface.
constexpr IID FlashEventsId = {
    0xD27CDB6D, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

// Dispatch ids of the control's type library; they have stayed the same in
// every version of it.
constexpr DISPID MovieId = 102, PlayId = 112, StopId = 113, TotalFramesId = 124, StopPlayId = 126,
                 CurrentFrameId = 128, FSCommandId = 150;

constexpr char HostClassName[] = "TFlashHost";

std::wstring Wide(const std::string& text) {
  int length =
      MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

std::string Narrow(const VARIANT& value) {
  if (value.vt != VT_BSTR || !value.bstrVal) return {};
  int size = static_cast<int>(SysStringLen(value.bstrVal));
  int length = WideCharToMultiByte(CP_ACP, 0, value.bstrVal, size, nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, 0, value.bstrVal, size, narrow.data(), length, nullptr, nullptr);
  return narrow;
}

[[noreturn]] void Fail(const char* what, HRESULT result) {
  char text[96];
  std::snprintf(text, sizeof text, "The Flash control failed %s (error %08lX)", what,
                static_cast<unsigned long>(result));
  throw EError(text);
}

}  // namespace

// Everything the control asks of its container, in one object: the client
// site, the in-place site and frame (no menus, no tool space, no
// accelerators), and the sink of the control's events.
class TFlashSite final : public IOleClientSite,
                         public IOleInPlaceSite,
                         public IOleInPlaceFrame,
                         public IDispatch {
 public:
  explicit TFlashSite(HWND window) : FWindow(window) {}
  std::function<void(const std::string&, const std::string&)> OnFSCommand;

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IOleClientSite)
      *out = static_cast<IOleClientSite*>(this);
    else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite)
      *out = static_cast<IOleInPlaceSite*>(this);
    else if (iid == IID_IOleInPlaceUIWindow || iid == IID_IOleInPlaceFrame)
      *out = static_cast<IOleInPlaceFrame*>(this);
    else if (iid == IID_IDispatch || iid == FlashEventsId)
      *out = static_cast<IDispatch*>(this);
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

  // IOleClientSite: nothing is saved or linked.
  HRESULT STDMETHODCALLTYPE SaveObject() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** moniker) override {
    if (moniker) *moniker = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** container) override {
    if (container) *container = nullptr;
    return E_NOINTERFACE;
  }
  HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

  // IOleWindow, for the site and the frame alike.
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
    if (!window) return E_POINTER;
    *window = FWindow;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  // IOleInPlaceSite: the control lies over the whole host window.
  HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnUIActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame,
                                             IOleInPlaceUIWindow** document, LPRECT position,
                                             LPRECT clip, LPOLEINPLACEFRAMEINFO info) override {
    if (!frame || !document || !position || !clip || !info) return E_POINTER;
    AddRef();
    *frame = this;
    *document = nullptr;
    GetClientRect(FWindow, position);
    *clip = *position;
    info->fMDIApp = FALSE;
    info->hwndFrame = FWindow;
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT) override { return S_OK; }

  // IOleInPlaceUIWindow and IOleInPlaceFrame: no tool space, menus or
  // accelerators to share.
  HRESULT STDMETHODCALLTYPE GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
  HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS) override {
    return INPLACE_E_NOTOOLSPACE;
  }
  HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override {
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

  // IDispatch: the control's events; only FSCommand (command, arguments)
  // is taken, the rest are let pass.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count) *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* parameters, VARIANT*,
                                   EXCEPINFO*, UINT*) override {
    if (id != FSCommandId || !parameters || parameters->cArgs != 2 || !OnFSCommand) return S_OK;
    // Arguments arrive last first.
    std::string command = Narrow(parameters->rgvarg[1]), arguments = Narrow(parameters->rgvarg[0]);
    try {
      OnFSCommand(command, arguments);
    } catch (...) {
      // Nothing may leave through the control; the handler reports its own errors.
    }
    return S_OK;
  }

 private:
  HWND FWindow;
  std::atomic<ULONG> FReferences{1};
};

TShockwaveFlash::TShockwaveFlash(HWND parent, int width, int height) {
  RegisterWindowClass(HostClassName);
  FWindow.Reset(CreateWindowExA(0, HostClassName, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                                width, height, parent, nullptr, GetModuleHandleA(nullptr),
                                nullptr));
  if (!FWindow) throw EError("Cannot create the Flash control's window");
  FSite = TComPtr<TFlashSite>(new TFlashSite(FWindow.Get()));
  HRESULT result = CoCreateInstance(FlashClassId, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                    reinterpret_cast<void**>(FObject.Receive()));
  if (FAILED(result)) Fail("to start", result);
  Place(width, height);
  result = FObject->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(FDispatch.Receive()));
  if (FAILED(result)) Fail("to offer its methods", result);
  Listen();
}

TShockwaveFlash::~TShockwaveFlash() {
  if (FEvents) FEvents->Unadvise(FCookie);
  FEvents.Reset();
  FDispatch.Reset();
  if (FObject) {
    TComPtr<IOleInPlaceObject> inPlace = FObject.As<IOleInPlaceObject>();
    if (inPlace) inPlace->InPlaceDeactivate();
    inPlace.Reset();
    FObject->Close(OLECLOSE_NOSAVE);
    FObject->SetClientSite(nullptr);
    FObject.Reset();
  }
  FWindow.Reset();
  FSite.Reset();
}

// Sets the control up new and activates it in place over the host window.
void TShockwaveFlash::Place(int width, int height) {
  HRESULT result = FObject->SetClientSite(static_cast<IOleClientSite*>(FSite.Get()));
  if (FAILED(result)) Fail("to take its site", result);
  // A control that keeps no state needs no start; one that does is started
  // empty.
  if (TComPtr<IPersistStreamInit> persist = FObject.As<IPersistStreamInit>()) persist->InitNew();
  RECT bounds{0, 0, width, height};
  result = FObject->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr,
                           static_cast<IOleClientSite*>(FSite.Get()), 0, FWindow.Get(), &bounds);
  if (FAILED(result)) Fail("to show itself", result);
}

// Joins the control's event interface. A control without one still plays;
// only its commands are not heard.
void TShockwaveFlash::Listen() {
  TComPtr<IConnectionPointContainer> points = FObject.As<IConnectionPointContainer>();
  if (!points || FAILED(points->FindConnectionPoint(FlashEventsId, FEvents.Receive()))) return;
  if (FAILED(FEvents->Advise(static_cast<IDispatch*>(FSite.Get()), &FCookie))) FEvents.Reset();
}

void TShockwaveFlash::SetOnFSCommand(
    std::function<void(const std::string&, const std::string&)> handler) {
  FSite->OnFSCommand = std::move(handler);
}

bool TShockwaveFlash::Visible() const {
  return IsWindowVisible(FWindow.Get()) != FALSE;
}

void TShockwaveFlash::SetVisible(bool visible) {
  ShowWindow(FWindow.Get(), visible ? SW_SHOW : SW_HIDE);
}

VARIANT TShockwaveFlash::Invoke(DISPID id, WORD kind, const char* what, VARIANT* argument) {
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS parameters{argument, kind == DISPATCH_PROPERTYPUT ? &named : nullptr,
                        argument ? 1u : 0u, kind == DISPATCH_PROPERTYPUT ? 1u : 0u};
  VARIANT result;
  VariantInit(&result);
  HRESULT outcome = FDispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, kind, &parameters, &result,
                                      nullptr, nullptr);
  if (FAILED(outcome)) Fail(what, outcome);
  return result;
}

void TShockwaveFlash::Stop() {
  Invoke(StopId, DISPATCH_METHOD, "to stop");
}

void TShockwaveFlash::SetMovie(const std::string& path) {
  VARIANT movie;
  VariantInit(&movie);
  movie.vt = VT_BSTR;
  movie.bstrVal = SysAllocString(Wide(path).c_str());
  struct TClear {
    VARIANT& Value;
    ~TClear() { VariantClear(&Value); }
  } clear{movie};
  Invoke(MovieId, DISPATCH_PROPERTYPUT, "to load the movie", &movie);
}

void TShockwaveFlash::Play() {
  Invoke(PlayId, DISPATCH_METHOD, "to play");
}

void TShockwaveFlash::StopPlay() {
  Invoke(StopPlayId, DISPATCH_METHOD, "to stop playing");
}

namespace {

int32_t Integer(VARIANT value) {
  VARIANT number;
  VariantInit(&number);
  HRESULT result = VariantChangeType(&number, &value, 0, VT_I4);
  VariantClear(&value);
  return SUCCEEDED(result) ? number.lVal : 0;
}

}  // namespace

int32_t TShockwaveFlash::TotalFrames() {
  return Integer(Invoke(TotalFramesId, DISPATCH_PROPERTYGET, "to count its frames"));
}

int32_t TShockwaveFlash::CurrentFrame() {
  // A method in the type library, though it reads like a property.
  return Integer(Invoke(CurrentFrameId, DISPATCH_METHOD, "to tell its frame"));
}

}  // namespace pixvane
