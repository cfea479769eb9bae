#include <gtest/gtest.h>

#include "maker/ToolError.h"
#include "studio/ManifestJson.h"

namespace pixvane {
namespace {

using nlohmann::json;
using studio::LostOnSave;
using studio::ManifestFromJson;
using studio::ManifestToJson;

TEST(ManifestJson, ValuesKeepTheirTypesThroughThePage) {
  const std::string text =
      "title = \"A # not a comment\"\nunknown_key = 1.5\n[show]\ninterval = 4000\n"
      "effects = [1, 2]\nauto_rotate = false\n[caption]\ntext = '''two\n# lines'''\n";
  json manifest = ManifestToJson(text);
  EXPECT_EQ(manifest["show"]["interval"], 4000);
  EXPECT_TRUE(manifest["show"]["interval"].is_number_integer());
  EXPECT_EQ(manifest["unknown_key"], 1.5);
  EXPECT_EQ(ManifestToJson(ManifestFromJson(manifest)), manifest);
  EXPECT_TRUE(LostOnSave(text).empty());
  // A key the page cleared goes back to its default.
  manifest["show"]["interval"] = nullptr;
  EXPECT_FALSE(ManifestToJson(ManifestFromJson(manifest))["show"].contains("interval"));
}

TEST(ManifestJson, CommentsAreNamedByLine) {
  EXPECT_EQ(LostOnSave("# head\ntitle = \"x\" # tail\n\"a#b\" = 1\n"),
            std::vector<std::string>{"comments (lines 1, 2)"});
  EXPECT_EQ(LostOnSave("s = \"\\\"#\" # real\n"), std::vector<std::string>{"comments (line 1)"});
}

TEST(ManifestJson, WhatTomlCannotHoldIsRefused) {
  EXPECT_THROW(ManifestFromJson(json::array()), maker::EToolError);
  EXPECT_THROW(ManifestFromJson({{"a", {nullptr}}}), maker::EToolError);
  EXPECT_THROW(ManifestToJson("title = "), maker::EToolError);
  EXPECT_THROW(ManifestToJson("when = 1979-05-27"), maker::EToolError);
  // Headers that break the parser's own expectations are refused like any
  // other bad text, in release builds too.
  for (const char* text : {"[=]", "[\xC3\xA9]", "title = \"x\"\n[[\v",
                           "Br\xC3\xBC"
                           "cke = 1"})
    EXPECT_THROW(ManifestToJson(text), maker::EToolError) << text;
  // In quotes and comments such characters are text like any other.
  EXPECT_EQ(
      ManifestToJson("\"Br\xC3\xBC\" = '\xC3\xBC' # \xC3\xBC\nt = \"\"\"\\\"\xC3\xBC\"\"\"")["t"],
      "\"\xC3\xBC");
}

}  // namespace
}  // namespace pixvane
