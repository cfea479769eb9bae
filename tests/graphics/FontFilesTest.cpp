#include "graphics/FontFiles.h"

#include <gtest/gtest.h>

namespace pixvane {
namespace {

std::string FileFor(const std::string& face, uint32_t style = 0) {
  TTextFont font;
  font.Name = face;
  font.Style = style;
  return LiberationFontFile(font);
}

TEST(FontFiles, EachFaceHasTheStandInOfItsWidths) {
  EXPECT_NE(FileFor("Times New Roman").find("LiberationSerif-Regular"), std::string::npos);
  EXPECT_NE(FileFor("COURIER NEW").find("LiberationMono"), std::string::npos);
  EXPECT_NE(FileFor("Tahoma").find("LiberationSans"), std::string::npos);
  EXPECT_NE(FileFor("Arial", fsBold | fsItalic).find("LiberationSans-BoldItalic"),
            std::string::npos);
}

}  // namespace
}  // namespace pixvane
