#pragma once
#include <windows.h>

#include <objbase.h>

#include <utility>

namespace pixvane {

// One small owner per kind of platform handle, so that every path out of a
// function (an error included) gives back what it took. None can be copied;
// the ones that travel can be moved.

// The common shape of an owner: one handle of a kind, given back with that
// kind's Close function when the owner ends or takes another handle.
template <typename THandle, auto Close>
class TOwnedHandle {
 public:
  TOwnedHandle() = default;
  explicit TOwnedHandle(THandle handle) : FHandle(handle) {}
  ~TOwnedHandle() { Reset(); }
  TOwnedHandle(TOwnedHandle&& other) noexcept : FHandle(std::exchange(other.FHandle, nullptr)) {}
  TOwnedHandle& operator=(TOwnedHandle&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.FHandle, nullptr));
    return *this;
  }
  THandle Get() const { return FHandle; }
  explicit operator bool() const { return FHandle != nullptr; }
  void Reset(THandle handle = nullptr) {
    if (FHandle) Close(FHandle);
    FHandle = handle;
  }

 private:
  THandle FHandle = nullptr;
};

// A handle given back with CloseHandle: a semaphore, a thread.
using TKernelHandle = TOwnedHandle<HANDLE, &CloseHandle>;

// A library loaded for a few of its functions, freed with FreeLibrary.
class TLibrary {
 public:
  explicit TLibrary(const char* path) : FModule(LoadLibraryA(path)) {}
  ~TLibrary() {
    if (FModule) FreeLibrary(FModule);
  }
  TLibrary(const TLibrary&) = delete;
  TLibrary& operator=(const TLibrary&) = delete;
  explicit operator bool() const { return FModule != nullptr; }
  FARPROC Find(const char* name) const { return FModule ? GetProcAddress(FModule, name) : nullptr; }

 private:
  HMODULE FModule;
};

// A window's DC from GetDC (the screen's for no window), given back with
// ReleaseDC.
class TWindowDC {
 public:
  explicit TWindowDC(HWND window = nullptr) : FWindow(window), FDC(GetDC(window)) {}
  ~TWindowDC() {
    if (FDC) ReleaseDC(FWindow, FDC);
  }
  TWindowDC(const TWindowDC&) = delete;
  TWindowDC& operator=(const TWindowDC&) = delete;
  HDC Get() const { return FDC; }

 private:
  HWND FWindow;
  HDC FDC;
};

// A memory DC like another (like the screen for none), deleted with DeleteDC.
class TMemoryDC {
 public:
  explicit TMemoryDC(HDC like = nullptr) : FDC(CreateCompatibleDC(like)) {}
  ~TMemoryDC() {
    if (FDC) DeleteDC(FDC);
  }
  TMemoryDC(const TMemoryDC&) = delete;
  TMemoryDC& operator=(const TMemoryDC&) = delete;
  HDC Get() const { return FDC; }

 private:
  HDC FDC;
};

// A GDI object of one kind, deleted with DeleteObject. It must not be
// selected into a DC by then: a TSelection made after it ends first.
template <typename THandle>
using TGdiObject = TOwnedHandle<THandle, &DeleteObject>;

using TGdiFont = TGdiObject<HFONT>;
using TGdiBrush = TGdiObject<HBRUSH>;
using TGdiBitmap = TGdiObject<HBITMAP>;
using TGdiRegion = TGdiObject<HRGN>;

// A font of a face and a height (negative: of its characters without the
// leading), in the default character set, precision and quality.
inline TGdiFont CreateGdiFont(int height, const char* face, bool bold = false,
                              bool underline = false) {
  return TGdiFont(CreateFontA(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, underline, FALSE,
                              DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                              DEFAULT_QUALITY, DEFAULT_PITCH, face));
}

// An object selected into a DC for a while; the DC's earlier object goes
// back in at the end, so both can then be deleted.
class TSelection {
 public:
  TSelection(HDC dc, HGDIOBJ object) : FDC(dc), FOld(SelectObject(dc, object)) {}
  ~TSelection() { SelectObject(FDC, FOld); }
  TSelection(const TSelection&) = delete;
  TSelection& operator=(const TSelection&) = delete;

 private:
  HDC FDC;
  HGDIOBJ FOld;
};

// An open registry key, closed with RegCloseKey.
class TRegistryKey : public TOwnedHandle<HKEY, &RegCloseKey> {
 public:
  // Opens parent\path, closing what was open before; false when it cannot.
  bool Open(HKEY parent, const char* path, REGSAM access) {
    Reset();
    HKEY key = nullptr;
    if (RegOpenKeyExA(parent, path, 0, access, &key) != ERROR_SUCCESS) return false;
    Reset(key);
    return true;
  }
};

// A window this code created, destroyed with DestroyWindow.
using TWindowHandle = TOwnedHandle<HWND, &DestroyWindow>;

// The component object model on this thread, in a single-threaded
// apartment, while this lives. Setting it up can fail (another model was
// chosen first); then there is nothing to take down.
class TComApartment {
 public:
  TComApartment() : FEntered(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~TComApartment() {
    if (FEntered) CoUninitialize();
  }
  TComApartment(const TComApartment&) = delete;
  TComApartment& operator=(const TComApartment&) = delete;

 private:
  bool FEntered;
};

// One counted reference to a COM interface, released at the end. Taking a
// pointer (constructor, Receive) adopts a reference the caller already
// holds; copying is not offered, so every AddRef is visible at its call site
// (Share).
template <typename TInterface>
class TComPtr {
 public:
  TComPtr() = default;
  explicit TComPtr(TInterface* adopted) : FPointer(adopted) {}
  ~TComPtr() { Reset(); }
  TComPtr(TComPtr&& other) noexcept : FPointer(std::exchange(other.FPointer, nullptr)) {}
  TComPtr& operator=(TComPtr&& other) noexcept {
    if (this != &other) {
      Reset();
      FPointer = std::exchange(other.FPointer, nullptr);
    }
    return *this;
  }
  TComPtr(const TComPtr&) = delete;
  TComPtr& operator=(const TComPtr&) = delete;

  TInterface* Get() const { return FPointer; }
  TInterface* operator->() const { return FPointer; }
  explicit operator bool() const { return FPointer != nullptr; }
  void Reset() {
    if (FPointer) std::exchange(FPointer, nullptr)->Release();
  }
  // For the out parameter of a call that hands back a new reference.
  TInterface** Receive() {
    Reset();
    return &FPointer;
  }
  // A second reference to the same object.
  TComPtr Share() const {
    if (FPointer) FPointer->AddRef();
    return TComPtr(FPointer);
  }
  // Another interface of the same object; empty when it has none.
  template <typename TOther>
  TComPtr<TOther> As() const {
    TComPtr<TOther> other;
    if (FPointer)
      FPointer->QueryInterface(__uuidof(TOther), reinterpret_cast<void**>(other.Receive()));
    return other;
  }

 private:
  TInterface* FPointer = nullptr;
};

}  // namespace pixvane
