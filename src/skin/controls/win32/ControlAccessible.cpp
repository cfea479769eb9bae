#include "skin/controls/win32/ControlAccessible.h"

#include <oleacc.h>

#include <atomic>
#include <string>
#include <utility>

#include "base/win32/Handles.h"
#include "skin/controls/ControlInput.h"
#include "skin/controls/win32/SkinControlWindow.h"

namespace pixvane {
namespace {

// The caption as a reader says it: the access-key mark dropped, "&&" one "&".
std::wstring SpokenName(const std::string& caption) {
  std::string plain;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) ++i;
    plain += caption[i];
  }
  int length =
      MultiByteToWideChar(CP_ACP, 0, plain.data(), static_cast<int>(plain.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, plain.data(), static_cast<int>(plain.size()), wide.data(), length);
  return wide;
}

bool IsSelf(const VARIANT& child) {
  return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

// The control as assistive tools see it: one object without children, whose
// role, name, state and default action the control gives. The control is
// looked up by its window at every call, since a reader may keep the object
// after the dialog has closed; it then answers that the object is gone.
class TControlAccessible final : public IAccessible {
 public:
  explicit TControlAccessible(HWND window) : FWindow(window) {}

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (!object) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == __uuidof(IAccessible)) {
      *object = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++FReferences; }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG left = --FReferences;
    if (left == 0) delete this;
    return left;
  }

  // IDispatch: readers call the interface directly; there is no type library.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return E_NOTIMPL;
  }

  // IAccessible
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    return Text(child, name, [](TSkinControlWindow& c) { return SpokenName(c.Caption()); });
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    return Text(child, action,
                [](TSkinControlWindow& c) { return std::wstring(c.DefaultActionName()); });
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
    return Text(child, shortcut, [](TSkinControlWindow& c) {
      char mark = AcceleratorOf(c.Caption());
      return mark
                 ? L"Alt+" + std::wstring(1, static_cast<wchar_t>(static_cast<unsigned char>(mark)))
                 : std::wstring();
    });
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    return Number(child, role, [](TSkinControlWindow& c) { return c.AccessibleRole(); });
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    return Number(child, state, [](TSkinControlWindow& c) { return c.AccessibleState(); });
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    TSkinControlWindow* control = Control();
    if (!control) return RPC_E_DISCONNECTED;
    if (!IsSelf(child)) return E_INVALIDARG;
    control->DoDefaultAction();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                        VARIANT child) override {
    if (!left || !top || !width || !height) return E_POINTER;
    if (!Control()) return RPC_E_DISCONNECTED;
    if (!IsSelf(child)) return E_INVALIDARG;
    RECT r;
    GetWindowRect(FWindow, &r);
    *left = r.left, *top = r.top, *width = r.right - r.left, *height = r.bottom - r.top;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override {
    if (!child) return E_POINTER;
    RECT r;
    VariantInit(child);
    if (!Control() || !GetWindowRect(FWindow, &r)) return RPC_E_DISCONNECTED;
    if (!PtInRect(&r, POINT{x, y})) return S_FALSE;
    child->vt = VT_I4;
    child->lVal = CHILDID_SELF;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
    if (!child) return E_POINTER;
    VariantInit(child);
    if (GetFocus() != FWindow) return S_FALSE;
    child->vt = VT_I4;
    child->lVal = CHILDID_SELF;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    if (!parent) return E_POINTER;
    *parent = nullptr;
    return AccessibleObjectFromWindow(GetParent(FWindow), OBJID_CLIENT, IID_IDispatch,
                                      reinterpret_cast<void**>(parent));
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT, IDispatch** object) override {
    if (object) *object = nullptr;
    return E_INVALIDARG;
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT, BSTR* value) override { return Nothing(value); }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT, BSTR* text) override {
    return Nothing(text);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* help) override { return Nothing(help); }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, LONG*) override {
    return Nothing(file);
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
    if (children) VariantInit(children);
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE accSelect(LONG, VARIANT) override { return S_FALSE; }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG, VARIANT, VARIANT* end) override {
    if (end) VariantInit(end);
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

 private:
  TSkinControlWindow* Control() const { return TSkinControlWindow::FromHandle(FWindow); }

  template <typename F>
  HRESULT Text(const VARIANT& child, BSTR* out, F text) {
    if (!out) return E_POINTER;
    *out = nullptr;
    TSkinControlWindow* control = Control();
    if (!control) return RPC_E_DISCONNECTED;
    if (!IsSelf(child)) return E_INVALIDARG;
    std::wstring value = text(*control);
    if (value.empty()) return S_FALSE;
    *out = SysAllocString(value.c_str());
    return *out ? S_OK : E_OUTOFMEMORY;
  }
  template <typename F>
  HRESULT Number(const VARIANT& child, VARIANT* out, F number) {
    if (!out) return E_POINTER;
    VariantInit(out);
    TSkinControlWindow* control = Control();
    if (!control) return RPC_E_DISCONNECTED;
    if (!IsSelf(child)) return E_INVALIDARG;
    out->vt = VT_I4;
    out->lVal = number(*control);
    return S_OK;
  }
  static HRESULT Nothing(BSTR* out) {
    if (out) *out = nullptr;
    return S_FALSE;
  }

  HWND FWindow;
  std::atomic<ULONG> FReferences{1};
};

}  // namespace

// The interface's identity comes from its declaration: the import library's
// IID_IAccessible is not data in a static build.
LRESULT AnswerAccessibleQuery(TSkinControlWindow& control, WPARAM wParam) {
  TComPtr<IAccessible> object(new TControlAccessible(control.Handle()));
  return LresultFromObject(__uuidof(IAccessible), wParam, object.Get());
}

}  // namespace pixvane
