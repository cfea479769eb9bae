#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "maker/CodeSigning.h"

namespace pixvane::maker {

struct TInstallerOptions {
  std::filesystem::path Saver;
  std::filesystem::path OutputFolder;  // made when missing; empty: the saver's folder
  bool Msi = false;                    // an MSI rather than the setup program
  TSignOptions Sign;                   // empty Pfx: nothing is signed
};

struct TInstallerResult {
  std::filesystem::path Output;  // "NAME Setup.exe" or "NAME.msi"
  int64_t FileSize = 0;
};

// Makes the setup program (with makensis) or the MSI (with wixl) of a
// saver. steps hears each step as it starts ("Compressing with makensis").
// Fails with EToolError for an unreadable saver, a missing tool (naming
// the package that brings it) or a tool that fails (with the end of what
// it said); an existing output file is then left as it was. With a
// certificate, the saver inside (unless it is signed already) and the
// installer itself are signed, so Windows names the maker for both.
TInstallerResult MakeInstaller(const TInstallerOptions& options,
                               const std::function<void(const std::string&)>& steps);

}  // namespace pixvane::maker
