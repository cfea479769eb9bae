#pragma once
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "skin/SkinHost.h"
#include "skin/SkinManager.h"

namespace pixvane {

// A skinned control's tie to its skin engine: the name of the top-level
// object it draws from and its private copy of that object's tree, whose
// host it is. The engine's announcements and the tree's repaint requests
// reach the control's window through the three callbacks (the window turns
// them into its messages 1703, 1702 and 1921).
class TSkinBinding : public TSkinListener, public TSkinHost {
 public:
  explicit TSkinBinding(std::string skinObject) : SkinObject(std::move(skinObject)) {}
  ~TSkinBinding() override;
  TSkinBinding(const TSkinBinding&) = delete;
  TSkinBinding& operator=(const TSkinBinding&) = delete;

  // The object's name; it takes effect at the next binding.
  std::string SkinObject;
  std::function<void()> OnChanging, OnChanged, OnRepaint;
  // The copy's host; the binding itself (which calls OnRepaint) when none.
  TSkinHost* Host = nullptr;

  TSkinManager* Manager() const { return FManager; }
  // Stores the engine (or none) and binds to it.
  void SetManager(TSkinManager* manager);
  // Copies the named object of the engine's skin, when it has one and is
  // not changing; otherwise leaves no copy.
  void Bind();
  void Release() { FCopy.reset(); }

  // True while the copy may be painted: the engine's skin is whole and still
  // holds the named object.
  bool Usable() const;
  TSkinObject* Copy() const { return FCopy.get(); }
  // The copy's child of that name, or null.
  TSkinObject* Part(std::string_view name) const;
  // The child of that name when there is one, else the copy itself.
  TSkinObject& PartOrCopy(std::string_view name) const;

  void SkinChanging(TSkinManager&) override;
  void SkinChanged(TSkinManager&) override;
  void RepaintObject(TSkinObject&) override;

 private:
  TSkinManager* FManager = nullptr;
  std::unique_ptr<TSkinObject> FCopy;
};

}  // namespace pixvane
