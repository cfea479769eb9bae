#include <gtest/gtest.h>
#include <stdlib.h>

#include "base/CodePage.h"
#include "maker/Build.h"
#include "maker/ExternalProgram.h"
#include "maker/Installer.h"
#include "maker/MsiPackage.h"
#include "maker/SetupProgram.h"
#include "maker/ToolError.h"
#include "maker/WelcomeBitmap.h"
#include "support/ToolTestFiles.h"

namespace pixvane::maker {
namespace {

namespace fs = std::filesystem;

TSaverIdentity Identity(const std::string& title, const std::string& author) {
  TSSFileLocations settings;
  settings.Title = title;
  settings.Author = author;
  return SaverIdentity("Beach.scr", settings);
}

// The identifiers other tools make of the same name must come out, or a
// name-based code would be ours alone; and installers of one saver must
// agree on it across builds while no other saver gets it.
TEST(SaverIdentity, CodesAreStableForTheSaverAndDifferForOthers) {
  const TUuid dns = {0x6b, 0xa7, 0xb8, 0x10, 0x9d, 0xad, 0x11, 0xd1,
                     0x80, 0xb4, 0x00, 0xc0, 0x4f, 0xd4, 0x30, 0xc8};
  EXPECT_EQ(UuidText(NameUuid(dns, "python.org")), "886313E1-3B8A-5372-9B90-0C9AEE199E5D");

  TSaverIdentity beach = Identity("Beach", "Ann");
  EXPECT_EQ(UuidText(MsiUpgradeCode(beach)), UuidText(MsiUpgradeCode(Identity("Beach", "Ann"))));
  EXPECT_NE(beach.Key, Identity("Beach", "Bob").Key);
  EXPECT_NE(Identity("ab", "c").Key, Identity("a", "bc").Key);

  std::string first = MsiSource(beach, RandomUuid(), 1798761599);
  std::string second = MsiSource(beach, RandomUuid(), 1798761599);
  std::string upgrade = "UpgradeCode=\"" + UuidText(MsiUpgradeCode(beach)) + "\"";
  EXPECT_NE(first.find(upgrade), std::string::npos);
  EXPECT_NE(second.find(upgrade), std::string::npos);
  EXPECT_NE(first.substr(0, first.find("Name=")), second.substr(0, second.find("Name=")));
}

TEST(SaverIdentity, ANameWindowsCannotInstallIsRefused) {
  TSSFileLocations settings;
  EXPECT_THROW(SaverIdentity("CON.scr", settings), EToolError);
  EXPECT_THROW(SaverIdentity("beach..scr", settings), EToolError);
}

// A later build must carry a higher version, or it would not replace the
// installed one; the third field holds at most 65535.
TEST(MsiPackage, VersionsGrowAcrossMonthsAndYears) {
  auto parts = [](const std::string& version) {
    int a = 0, b = 0, c = 0;
    sscanf(version.c_str(), "%d.%d.%d", &a, &b, &c);
    return std::make_tuple(a, b, c);
  };
  const std::time_t endOfYear = 1798761599;  // 2026-12-31 23:59:59 UTC
  EXPECT_EQ(MsiVersion(endOfYear), "26.12.44639");
  EXPECT_LT(parts(MsiVersion(endOfYear - 60)), parts(MsiVersion(endOfYear)));
  EXPECT_LT(parts(MsiVersion(endOfYear)), parts(MsiVersion(endOfYear + 1)));
}

// Titles and authors are anyone's text: none of it may reach the setup
// program's script or the MSI's source, where makensis and wixl would
// expand their own variables however the text was escaped.
TEST(Installer, HostileTextsStayText) {
  TSaverIdentity identity = Identity("${NSISDIR} \"x\"\n&", "@KEY@");
  EXPECT_EQ(SetupProgramScript(identity, 1).find("NSISDIR"), std::string::npos);
  EXPECT_EQ(MsiSource(identity, RandomUuid(), 0).find("NSISDIR"), std::string::npos);
  std::vector<uint8_t> bytes = SetupTexts(identity);
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes[0], 0xFF);  // UTF-16, little-endian
  std::u16string wide;
  for (size_t i = 2; i + 1 < bytes.size(); i += 2) wide += char16_t(bytes[i] | (bytes[i + 1] << 8));
  std::string texts = Utf16ToUtf8(wide);
  EXPECT_NE(texts.find("\r\nTitle=\"${NSISDIR} \"x\" &\"\r\n"), std::string::npos) << texts;
  EXPECT_NE(texts.find("\r\nTitleLabel=\"${NSISDIR} \"x\" &&\"\r\n"), std::string::npos);
  EXPECT_NE(texts.find("\r\nAuthor=\"@KEY@\"\r\n"), std::string::npos);
}

TEST(WelcomeBitmap, BmpRowsGoBottomUp) {
  TBitmap bitmap(2, 2);
  bitmap.ScanLine(1)[0] = 0xAB;  // blue of the bottom left pixel
  std::vector<uint8_t> bmp = BmpFile(bitmap);
  ASSERT_EQ(bmp.size(), 54u + 2 * 8);
  EXPECT_EQ(bmp[0], 'B');
  EXPECT_EQ(bmp[22], 2);  // a positive height
  EXPECT_EQ(bmp[54], 0xAB);
}

class InstallerFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    folder.Write("a.jpg", test::MakeJpeg(64, 48, 1));
    fs::path manifest =
        folder.Write("m.toml",
                     "title = 'Beach \"$INSTDIR\" ${NSISDIR} $\\\\n & 100%'\nauthor = '@KEY@'\n"
                     "web = 'https://example.invalid/?a=1&b=$2'\n[show]\npictures = [\"a.jpg\"]\n");
    RunBuild({manifest, saver, folder.Write("player.scr", test::MakePlayerStandIn())});
  }

  test::TToolFolder folder;
  fs::path saver = folder / "Beach.scr";
};

// makensis and wixl take the hostile texts, and the installers land beside
// the saver under the saver's name.
TEST_F(InstallerFiles, BothInstallersAreMadeBesideTheSaver) {
  if (FindProgram("makensis").empty() || FindProgram("wixl").empty())
    GTEST_SKIP() << "makensis or wixl is not installed";
  std::vector<std::string> steps;
  auto step = [&](const std::string& text) { steps.push_back(text); };
  TInstallerResult setup = MakeInstaller({saver, {}, false}, step);
  EXPECT_EQ(setup.Output, folder / "Beach Setup.exe");
  EXPECT_EQ(setup.FileSize, static_cast<int64_t>(fs::file_size(setup.Output)));
  TInstallerResult package = MakeInstaller({saver, folder / "msi", true}, step);
  EXPECT_EQ(package.Output, folder / "msi" / "Beach.msi");
  EXPECT_EQ(test::ReadBytes(package.Output)[0], 0xD0);  // a compound file
  EXPECT_FALSE(steps.empty());
}

TEST_F(InstallerFiles, AMissingToolNamesItsPackage) {
  std::string path = getenv("PATH");
  setenv("PATH", folder.Path().c_str(), 1);
  try {
    MakeInstaller({saver, {}, false}, [](const std::string&) {});
    ADD_FAILURE() << "made a setup program without makensis";
  } catch (const EToolError& e) {
    EXPECT_NE(std::string(e.what()).find("apt-get install nsis"), std::string::npos) << e.what();
  }
  setenv("PATH", path.c_str(), 1);
  EXPECT_FALSE(fs::exists(folder / "Beach Setup.exe"));
}

}  // namespace
}  // namespace pixvane::maker
