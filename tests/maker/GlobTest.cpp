#include <gtest/gtest.h>

#include "maker/Glob.h"
#include "maker/ToolError.h"
#include "support/ToolTestFiles.h"

namespace pixvane::maker {
namespace {

bool Match(std::u32string_view pattern, std::u32string_view name, bool ignoreCase = false) {
  return MatchesGlob(pattern, name, ignoreCase);
}

TEST(GlobMatch, StarAndQuestionMark) {
  EXPECT_TRUE(Match(U"*.jpg", U"beach.jpg"));
  EXPECT_FALSE(Match(U"*.jpg", U"beach.jpeg"));
  EXPECT_TRUE(Match(U"a*b*c", U"axxbyyc"));
  EXPECT_TRUE(Match(U"a*b*c", U"abcbc"));  // needs backtracking past the first "b"
  EXPECT_FALSE(Match(U"a*b*c", U"abcb"));
  EXPECT_TRUE(Match(U"img??.jpg", U"img01.jpg"));
  EXPECT_FALSE(Match(U"img??.jpg", U"img1.jpg"));
  EXPECT_TRUE(Match(U"**", U"x"));
  EXPECT_FALSE(Match(U"", U"x"));
}

TEST(GlobMatch, SetsRangesAndNegation) {
  EXPECT_TRUE(Match(U"img[0-9].jpg", U"img7.jpg"));
  EXPECT_FALSE(Match(U"img[0-9].jpg", U"imgx.jpg"));
  EXPECT_TRUE(Match(U"[!a]*", U"beach"));
  EXPECT_FALSE(Match(U"[^b]*", U"beach"));
  EXPECT_TRUE(Match(U"[]x]", U"]"));  // a "]" first in the set is a member
  EXPECT_TRUE(Match(U"[a-]", U"-"));
  EXPECT_TRUE(Match(U"a[b", U"a[b"));  // an unclosed "[" is itself
}

TEST(GlobMatch, LetterCaseOnlyWhenAsked) {
  EXPECT_FALSE(Match(U"*.JPG", U"x.jpg"));
  EXPECT_TRUE(Match(U"*.JPG", U"x.jpg", true));
  EXPECT_TRUE(Match(U"[A-C].jpg", U"b.jpg", true));
}

TEST(GlobMatch, DotFilesOnlyForDotPatterns) {
  EXPECT_FALSE(Match(U"*.jpg", U"._beach.jpg"));
  EXPECT_FALSE(Match(U"?beach.jpg", U".beach.jpg"));
  EXPECT_TRUE(Match(U".*.jpg", U"._beach.jpg"));
}

TEST(ExpandGlob, ListsMatchingFilesOfOneFolderInNameOrder) {
  test::TToolFolder folder;
  for (const char* name : {"b.jpg", "a10.jpg", "a2.jpg", "c.png", "._a.jpg"})
    folder.Write(std::string("pics/") + name, "x");
  std::filesystem::create_directory(folder / "pics/dir.jpg");
  auto files = ExpandGlob(folder.Path(), "pics/*.jpg");
  std::vector<std::string> names;
  for (const auto& file : files) {
    EXPECT_EQ(file.parent_path(), folder / "pics");
    names.push_back(file.filename().string());
  }
  EXPECT_EQ(names, (std::vector<std::string>{"a10.jpg", "a2.jpg", "b.jpg"}));
}

TEST(ExpandGlob, MissingFolderMatchesNothingAndFolderWildcardsAreRefused) {
  test::TToolFolder folder;
  EXPECT_TRUE(ExpandGlob(folder.Path(), "nowhere/*.jpg").empty());
  folder.Write("a/x.jpg", "x");
  EXPECT_THROW(ExpandGlob(folder.Path(), "*/x.jpg"), EToolError);
}

}  // namespace
}  // namespace pixvane::maker
