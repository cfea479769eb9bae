// Feeds arbitrary bytes to both sides of the object stream's text form. Text
// that converts must come back from its binary as text that converts to the
// same bytes, and a binary object that converts to text must read back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/Errors.h"
#include "package/ObjectText.h"

using namespace pixvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string input(reinterpret_cast<const char*>(data), size);
  std::string binary;
  try {
    binary = ObjectTextToBinary(input);
  } catch (const EError&) {
  }
  if (!binary.empty() && ObjectTextToBinary(ObjectBinaryToText(binary)) != binary) std::abort();
  std::string text;
  try {
    text = ObjectBinaryToText(input);
  } catch (const EError&) {
  }
  if (!text.empty()) ObjectTextToBinary(text);  // throws, and so fails, if it cannot
  return 0;
}
