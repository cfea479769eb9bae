#include "skin/controls/SkinBinding.h"

#include <cassert>

#include "skin/SkinRecord.h"

namespace pixvane {

TSkinBinding::~TSkinBinding() {
  if (FManager) FManager->RemoveListener(this);
}

void TSkinBinding::SetManager(TSkinManager* manager) {
  if (manager != FManager) {
    if (FManager) FManager->RemoveListener(this);
    FManager = manager;
    if (FManager) FManager->AddListener(this);
  }
  Bind();
}

void TSkinBinding::Bind() {
  Release();
  if (!FManager) return;
  const TSkinSource& source = FManager->Source();
  if (source.Changing || source.ObjectCount() == 0) return;
  if (TSkinObject* found = source.ObjectByName(SkinObject)) {
    FCopy = CloneSkinObject(*found);
    FCopy->SetHost(Host ? Host : this);
  }
}

bool TSkinBinding::Usable() const {
  if (!FCopy || !FManager) return false;
  const TSkinSource& source = FManager->Source();
  return !source.Changing && source.ObjectCount() > 0 && source.ObjectByName(SkinObject);
}

TSkinObject* TSkinBinding::Part(std::string_view name) const {
  assert(FCopy);
  for (int i = 0; i < FCopy->ChildCount(); ++i) {
    TSkinObject* child = FCopy->Child(i);
    if (child->FindByName(name) == child) return child;  // names ignore ASCII case
  }
  return nullptr;
}

TSkinObject& TSkinBinding::PartOrCopy(std::string_view name) const {
  TSkinObject* part = Part(name);
  return part ? *part : *FCopy;
}

void TSkinBinding::SkinChanging(TSkinManager&) {
  if (OnChanging) OnChanging();
}

void TSkinBinding::SkinChanged(TSkinManager&) {
  if (OnChanged) OnChanged();
}

void TSkinBinding::RepaintObject(TSkinObject&) {
  if (OnRepaint) OnRepaint();
}

}  // namespace pixvane
