#include <gtest/gtest.h>

#include "base/win32/Handles.h"

namespace pixvane {
namespace {

// An object that counts its references and answers for IUnknown only, so
// the owner's AddRef/Release balance can be read off.
class TCounted : public IUnknown {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid != IID_IUnknown) {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    *out = this;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++References; }
  ULONG STDMETHODCALLTYPE Release() override { return --References; }
  ULONG References = 1;
};

TEST(ComPtr, EveryReferenceTakenIsGivenBackOnce) {
  TCounted object;
  {
    TComPtr<IUnknown> owner(&object);
    TComPtr<IUnknown> shared = owner.Share();
    EXPECT_EQ(object.References, 2u);
    TComPtr<IUnknown> moved = std::move(shared);
    EXPECT_FALSE(shared);
    TComPtr<IUnknown> asked = owner.As<IUnknown>();
    EXPECT_EQ(object.References, 3u);
    TComPtr<IDispatch> missing = owner.As<IDispatch>();
    EXPECT_FALSE(missing);
  }
  EXPECT_EQ(object.References, 0u);
}

TEST(ComPtr, ReceiveGivesBackWhatWasHeldFirst) {
  TCounted first, second;
  TComPtr<IUnknown> owner(&first);
  *owner.Receive() = &second;
  EXPECT_EQ(first.References, 0u);
  owner.Reset();
  EXPECT_EQ(second.References, 0u);
  owner.Reset();  // nothing held: nothing released
  EXPECT_EQ(second.References, 0u);
}

}  // namespace
}  // namespace pixvane
