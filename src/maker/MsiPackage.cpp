#include "maker/MsiPackage.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace pixvane::maker {

namespace {

// Namespaces of the MSI's codes, under the saver's key: the upgrade code
// and the component's code must differ from each other and from the key.
constexpr TUuid UpgradeNamespace = {0x0a, 0x6f, 0x3c, 0x58, 0x91, 0x2e, 0x47, 0xd4,
                                    0x8b, 0x15, 0x7e, 0xc2, 0x60, 0x9d, 0x33, 0xaf};
constexpr TUuid ComponentNamespace = {0xd7, 0x42, 0x1b, 0xe9, 0x05, 0xc6, 0x4a, 0x8e,
                                      0xa3, 0x7f, 0x2d, 0x90, 0x6b, 0x14, 0xfe, 0x51};

}  // namespace

std::string XmlText(std::string_view text) {
  static const std::pair<char, const char*> Entities[] = {
      {'&', "&amp;"},   {'<', "&lt;"},  {'>', "&gt;"},   {'"', "&quot;"},
      {'\'', "&apos;"}, {'\t', "&#9;"}, {'\n', "&#10;"}, {'\r', "&#13;"}};
  std::string out;
  for (char c : text) {
    auto entity = std::find_if(std::begin(Entities), std::end(Entities),
                               [c](const auto& e) { return e.first == c; });
    if (entity != std::end(Entities))
      out += entity->second;
    else if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F)
      out += c;
  }
  return out;
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

std::string MsiSource(const TSaverIdentity& identity, const TUuid& productCode,
                      const std::string& version) {
  const std::string title = XmlText(identity.Title.empty() ? identity.Name : identity.Title);
  const std::string author = XmlText(identity.Author.empty() ? "Pixvane" : identity.Author);
  const std::string upgrade = UuidText(MsiUpgradeCode(identity));
  std::string wxs =
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
      "<Wix xmlns=\"http://schemas.microsoft.com/wix/2006/wi\">\n"
      "  <Product Id=\"" +
      UuidText(productCode) + "\" Name=\"" + title + "\" Manufacturer=\"" + author +
      "\" Version=\"" + version + "\" Language=\"1033\" Codepage=\"1252\" UpgradeCode=\"" +
      upgrade +
      "\">\n"
      "    <Package InstallerVersion=\"500\" Compressed=\"yes\" InstallScope=\"perMachine\" "
      "Description=\"" +
      title + " (screen saver)\" Manufacturer=\"" + author +
      "\"/>\n"
      "    <Media Id=\"1\" Cabinet=\"saver.cab\" EmbedCab=\"yes\"/>\n"
      // Any build of this saver up to this one's version goes first, the
      // same version too (two builds in one minute); a newer one stays and
      // this one refuses to install.
      "    <Upgrade Id=\"" +
      upgrade +
      "\">\n"
      "      <UpgradeVersion Minimum=\"0.0.0\" IncludeMinimum=\"yes\" Maximum=\"" +
      version +
      "\" IncludeMaximum=\"yes\" Property=\"OLDERFOUND\"/>\n"
      "      <UpgradeVersion Minimum=\"" +
      version +
      "\" IncludeMinimum=\"no\" OnlyDetect=\"yes\" Property=\"NEWERFOUND\"/>\n"
      "    </Upgrade>\n"
      "    <Condition Message=\"A newer build of this screen saver is installed already.\">"
      "NOT NEWERFOUND</Condition>\n"
      "    <InstallExecuteSequence>\n"
      "      <RemoveExistingProducts After=\"InstallInitialize\"/>\n"
      "    </InstallExecuteSequence>\n"
      "    <Icon Id=\"SaverIcon\" SourceFile=\"" +
      std::string(MsiIconFile) +
      "\"/>\n"
      "    <Property Id=\"ARPPRODUCTICON\" Value=\"SaverIcon\"/>\n"
      "    <Property Id=\"ARPNOMODIFY\" Value=\"1\"/>\n"
      "    <Property Id=\"ARPNOREPAIR\" Value=\"1\"/>\n";
  if (!identity.Web.empty())
    wxs += "    <Property Id=\"ARPURLINFOABOUT\" Value=\"" + XmlText(identity.Web) + "\"/>\n";
  wxs +=
      "    <Directory Id=\"TARGETDIR\" Name=\"SourceDir\">\n"
      "      <Directory Id=\"System64Folder\">\n"
      "        <Component Id=\"Saver\" Guid=\"" +
      UuidText(NameUuid(ComponentNamespace, UuidText(identity.Key))) +
      "\" Win64=\"yes\">\n"
      "          <File Id=\"SaverFile\" Name=\"" +
      XmlText(identity.Name) + ".scr\" Source=\"" + std::string(MsiSaverFile) +
      "\" KeyPath=\"yes\"/>\n"
      "        </Component>\n"
      "      </Directory>\n"
      "    </Directory>\n"
      "    <Feature Id=\"Saver\" Level=\"1\"><ComponentRef Id=\"Saver\"/></Feature>\n"
      "  </Product>\n"
      "</Wix>\n";
  return wxs;
}

}  // namespace pixvane::maker
