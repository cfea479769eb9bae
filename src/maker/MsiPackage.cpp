#include "maker/MsiPackage.h"

#include "maker/TextTemplate.h"

namespace pixvane::maker {

namespace {

// Namespaces of the MSI's codes, under the saver's key: the upgrade code
// and the component's code must differ from each other and from the key.
constexpr TUuid UpgradeNamespace = {0x0a, 0x6f, 0x3c, 0x58, 0x91, 0x2e, 0x47, 0xd4,
                                    0x8b, 0x15, 0x7e, 0xc2, 0x60, 0x9d, 0x33, 0xaf};
constexpr TUuid ComponentNamespace = {0xd7, 0x42, 0x1b, 0xe9, 0x05, 0xc6, 0x4a, 0x8e,
                                      0xa3, 0x7f, 0x2d, 0x90, 0x6b, 0x14, 0xfe, 0x51};

}  // namespace

std::vector<std::string> MsiDefines(const TSaverIdentity& identity) {
  return {"-D", "PvName=" + identity.Name,
          "-D", "PvTitle=" + (identity.Title.empty() ? identity.Name : identity.Title),
          "-D", "PvAuthor=" + (identity.Author.empty() ? std::string("Pixvane") : identity.Author),
          "-D", "PvWeb=" + identity.Web};
}

std::string MsiVersion(std::time_t time) {
  std::tm parts{};
  gmtime_r(&time, &parts);
  // The third field holds at most 65535; a month has at most 44640 minutes.
  int minute = ((parts.tm_mday - 1) * 24 + parts.tm_hour) * 60 + parts.tm_min;
  return std::to_string(parts.tm_year - 100) + "." + std::to_string(parts.tm_mon + 1) + "." +
         std::to_string(minute);
}

TUuid MsiUpgradeCode(const TSaverIdentity& identity) {
  return NameUuid(UpgradeNamespace, UuidText(identity.Key));
}

namespace {

// The @...@ keys are filled in by MsiSource; the saver's texts are wixl's
// defines (MsiDefines).
constexpr std::string_view Source = R"wxs(<?xml version="1.0" encoding="utf-8"?>
<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">
  <Product Id="@PRODUCT@" Name="$(var.PvTitle)" Manufacturer="$(var.PvAuthor)" Version="@VERSION@"
           Language="1033" Codepage="1252" UpgradeCode="@UPGRADE@">
    <Package InstallerVersion="500" Compressed="yes" InstallScope="perMachine"
             Description="$(var.PvTitle) (screen saver)" Manufacturer="$(var.PvAuthor)"/>
    <Media Id="1" Cabinet="saver.cab" EmbedCab="yes"/>
    <Upgrade Id="@UPGRADE@">
      <UpgradeVersion Minimum="0.0.0" IncludeMinimum="yes" Maximum="@NEXT@" Property="OLDERFOUND"/>
      <UpgradeVersion Minimum="@NEXT@" IncludeMinimum="yes" OnlyDetect="yes" Property="NEWERFOUND"/>
    </Upgrade>
    <Condition Message="A newer build of this screen saver is installed already.">NOT NEWERFOUND</Condition>
    <InstallExecuteSequence>
      <RemoveExistingProducts After="InstallInitialize"/>
    </InstallExecuteSequence>
    <Icon Id="SaverIcon" SourceFile="@ICON@"/>
    <Property Id="ARPPRODUCTICON" Value="SaverIcon"/>
    <Property Id="ARPNOMODIFY" Value="1"/>
    <Property Id="ARPNOREPAIR" Value="1"/>
@WEB@    <Directory Id="TARGETDIR" Name="SourceDir">
      <Directory Id="System64Folder">
        <Component Id="Saver" Guid="@COMPONENT@" Win64="yes">
          <File Id="SaverFile" Name="$(var.PvName).scr" Source="@SAVER@" KeyPath="yes"/>
        </Component>
      </Directory>
    </Directory>
    <Feature Id="Saver" Level="1"><ComponentRef Id="Saver"/></Feature>
  </Product>
</Wix>
)wxs";

}  // namespace

std::string MsiSource(const TSaverIdentity& identity, const TUuid& productCode, std::time_t built) {
  // Every build up to this one goes first, one of the same minute (the same
  // version) too: up to the version of the next minute, which any later
  // build has reached. (wixl leaves out IncludeMaximum.) A later build
  // stays, and this one refuses to install.
  return FillTemplate(
      Source, {{"PRODUCT", UuidText(productCode)},
               {"VERSION", MsiVersion(built)},
               {"NEXT", MsiVersion(built + 60)},
               {"UPGRADE", UuidText(MsiUpgradeCode(identity))},
               {"COMPONENT", UuidText(NameUuid(ComponentNamespace, UuidText(identity.Key)))},
               {"ICON", std::string(MsiIconFile)},
               {"SAVER", std::string(MsiSaverFile)},
               {"WEB", identity.Web.empty()
                           ? ""
                           : "    <Property Id=\"ARPURLINFOABOUT\" Value=\"$(var.PvWeb)\"/>\n"}});
}

}  // namespace pixvane::maker
