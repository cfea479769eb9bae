#pragma once
#include <memory>
#include <string_view>
#include <vector>

#include "skin/SkinObject.h"

namespace pixvane {

class TStream;

// The seventeen skin object classes, in registration order. Object records
// name their class; the name must match one of these exactly.
std::unique_ptr<TSkinObject> CreateSkinObject(std::string_view className);
std::vector<std::string_view> SkinClassNames();

// Nesting deeper than this is refused: skins are untrusted, and each level
// is a reader on the stack. (A child's record sits in hexadecimal inside its
// parent's text, so each level at least doubles the bytes; the bound keeps
// the stack safe whatever the encoding.)
inline constexpr int MaxSkinNesting = 32;

// An object record: the class name, then the object's properties as the
// text form of an object stream (its children inside, as "Objects"). depth
// is 0 at the top and one more per level; the caller adds the object to
// its owner. Fonts of the object and its descendants get the
// default character set. Errors: "Class %s not found" for a class not in
// the list, the stream's and the text form's read errors.
std::unique_ptr<TSkinObject> ReadObjectRecord(TStream& stream, int depth);
void WriteObjectRecord(TStream& stream, TSkinObject& object);

// A new object of the same class with the same properties and copies of
// all its children, sharing the original's bitmap list with its links
// resolved: the private tree a skinned control lays out and paints.
std::unique_ptr<TSkinObject> CloneSkinObject(TSkinObject& object);

}  // namespace pixvane
