#include <gtest/gtest.h>

#include "maker/CodeSigning.h"
#include "maker/ToolError.h"
#include "support/ToolTestFiles.h"

namespace pixvane::maker {
namespace {

#ifndef _WIN32
// A signing that fails must leave the saver as it was and nothing beside
// it: the maker still has a working unsigned saver to sign again.
TEST(CodeSigning, AFailedSigningLeavesTheFileAsItWas) {
  test::TToolFolder folder;
  const auto saver = folder.Write("show.scr", "not an executable at all");
  const auto pfx = folder.Write("maker.pfx", "not a certificate");

  try {
    SignFile(saver, {pfx, {}, "Show", ""});
    FAIL() << "signed a file osslsigncode cannot sign";
  } catch (const EToolError& e) {
    EXPECT_NE(std::string(e.what()).find("osslsigncode says:"), std::string::npos) << e.what();
  }
  const auto bytes = test::ReadBytes(saver);
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "not an executable at all");
  EXPECT_EQ(folder.Names(), (std::vector<std::string>{"maker.pfx", "show.scr"}));
}
#endif

}  // namespace
}  // namespace pixvane::maker
