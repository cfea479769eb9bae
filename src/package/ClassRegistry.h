#pragma once
#include <functional>
#include <memory>
#include <string_view>

#include "package/Persistent.h"

namespace pixvane {

// The classes an object stream may name when it is read without a target.
// Registration happens once at start-up, before any stream is read.
using TClassFactory = std::function<std::unique_ptr<TPersistent>()>;

void RegisterClass(std::string_view className, TClassFactory factory);
// Creates an object of a registered class; "Class %s not found" otherwise.
std::unique_ptr<TPersistent> CreateRegistered(std::string_view className);

// Registers the two classes of the content package: "TImage" and "TSSFileLocations".
void RegisterStreamClasses();

}  // namespace pixvane
