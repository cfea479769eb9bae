#include "package/ClassRegistry.h"

#include <string>
#include <vector>

#include "base/AsciiText.h"
#include "base/Errors.h"
#include "package/Picture.h"
#include "package/SSFileLocations.h"

namespace pixvane {
namespace {

struct TRegistered {
  std::string Name;
  TClassFactory Factory;
};

std::vector<TRegistered>& Registry() {
  static std::vector<TRegistered> registry;
  return registry;
}

}  // namespace

void RegisterClass(std::string_view className, TClassFactory factory) {
  for (auto& entry : Registry())
    if (SameText(entry.Name, className)) {
      entry.Factory = std::move(factory);
      return;
    }
  Registry().push_back({std::string(className), std::move(factory)});
}

std::unique_ptr<TPersistent> CreateRegistered(std::string_view className) {
  for (const auto& entry : Registry())
    if (SameText(entry.Name, className)) return entry.Factory();
  throw EClassNotFound(Format("Class %s not found", std::string(className)));
}

void RegisterStreamClasses() {
  RegisterClass("TImage", [] { return std::make_unique<TImage>(); });
  RegisterClass("TSSFileLocations", [] { return std::make_unique<TSSFileLocations>(); });
}

}  // namespace pixvane
