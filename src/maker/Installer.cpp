#include "maker/Installer.h"

#include "base/Stream.h"
#include "maker/ExternalProgram.h"
#include "maker/MsiPackage.h"
#include "maker/OutputFile.h"
#include "maker/PackageFile.h"
#include "maker/PlayerIcon.h"
#include "maker/SaverIdentity.h"
#include "maker/SetupProgram.h"
#include "maker/ToolError.h"
#include "maker/WelcomeBitmap.h"
#include "package/SignedSaver.h"

namespace pixvane::maker {

namespace {

namespace fs = std::filesystem;

void WriteText(const fs::path& path, std::string_view text) {
  WriteOutputFile(path, std::vector<uint8_t>(text.begin(), text.end()));
}

fs::path NeedProgram(const std::string& name, const std::string& package) {
  fs::path path = FindProgram(name);
  if (path.empty())
    throw EToolError(name + " is not installed; it comes with the Debian package " + package +
                     " (sudo apt-get install " + package + ")");
  return path;
}

void Run(const std::vector<std::string>& arguments, const fs::path& folder,
         const std::string& name) {
  fs::path log = folder / "tool.log";
  int code = RunProgram(arguments, folder, log);
  if (code != 0)
    throw EToolError(name + " failed (exit " + std::to_string(code) + "):\n" + LogTail(log, 12));
}

// Copies the made file into place through TOutputFile, so a failure leaves
// an earlier installer of the same name as it was.
int64_t Deliver(const fs::path& made, const fs::path& target) {
  std::unique_ptr<TFileStream> in = TFileStream::OpenRead(made);
  TOutputFile out(target);
  std::vector<uint8_t> buffer(1 << 20);
  for (size_t got; (got = in->Read(buffer.data(), buffer.size())) > 0;)
    out.Write(buffer.data(), got);
  int64_t size = out.Size();
  out.Commit();
  return size;
}

// The copy of the saver the installer carries, signed unless its maker
// signed it already: a second signature would not replace the first.
void SignSaverCopy(const fs::path& copy, const TSignOptions& sign) {
  std::unique_ptr<TFileStream> file = TFileStream::OpenRead(copy);
  if (PackageEnd(*file) != file->Size()) return;
  SignFile(copy, sign);
}

}  // namespace

TInstallerResult MakeInstaller(const TInstallerOptions& options,
                               const std::function<void(const std::string&)>& steps) {
  // The tool first, so a maker without it learns that before the work.
  fs::path tool = options.Msi ? NeedProgram("wixl", "wixl") : NeedProgram("makensis", "nsis");
  const bool signing = !options.Sign.Pfx.empty();
  if (signing) CheckSigning(options.Sign);
  steps("Reading " + PathForMessage(options.Saver));
  std::unique_ptr<TPackageFile> package = OpenPackage(options.Saver);
  TSaverIdentity identity = SaverIdentity(options.Saver, package->Settings);

  TScratchFolder scratch;
  const fs::path saverCopy = scratch.Path() / std::string(SetupSaverFile);
  fs::copy_file(options.Saver, saverCopy);
  TSignOptions sign = options.Sign;
  sign.Description = identity.Title;
  sign.Url = identity.Web;
  if (signing) {
    steps("Signing the saver");
    SignSaverCopy(saverCopy, sign);
  }
  WriteText(scratch.Path() / std::string(SetupIconFile), PlayerIconFile());
  fs::path folder =
      options.OutputFolder.empty() ? options.Saver.parent_path() : options.OutputFolder;
  std::error_code error;
  if (!folder.empty()) fs::create_directories(folder, error);
  if (error) throw EToolError(PathForMessage(folder) + ": " + error.message());
  TInstallerResult result;
  if (options.Msi) {
    WriteText(scratch.Path() / "saver.wxs", MsiSource(identity, RandomUuid(), std::time(nullptr)));
    steps("Packing the MSI with wixl");
    std::vector<std::string> arguments = MsiDefines(identity);
    arguments.insert(arguments.begin(), {tool.string(), "-a", "x64"});
    arguments.insert(arguments.end(), {"-o", std::string(MsiOutputFile), "saver.wxs"});
    Run(arguments, scratch.Path(), "wixl");
    if (signing) {
      steps("Signing the MSI");
      SignFile(scratch.Path() / std::string(MsiOutputFile), sign);
    }
    result.Output = folder / PathFromUtf8(identity.Name + ".msi");
    result.FileSize = Deliver(scratch.Path() / std::string(MsiOutputFile), result.Output);
  } else {
    steps("Drawing the welcome page's picture");
    WriteOutputFile(scratch.Path() / std::string(SetupWelcomeFile),
                    BmpFile(WelcomePicture(*package)));
    WriteOutputFile(scratch.Path() / std::string(SetupTextsFile), SetupTexts(identity));
    const int64_t saverBytes = static_cast<int64_t>(fs::file_size(saverCopy));
    WriteText(scratch.Path() / "setup.nsi", SetupProgramScript(identity, saverBytes));
    steps("Compressing with makensis");
    Run({tool.string(), "-V2", "-INPUTCHARSET", "UTF8", "setup.nsi"}, scratch.Path(), "makensis");
    if (signing) {
      steps("Signing the setup program");
      SignFile(scratch.Path() / std::string(SetupOutputFile), sign);
    }
    result.Output = folder / PathFromUtf8(identity.Name + " Setup.exe");
    result.FileSize = Deliver(scratch.Path() / std::string(SetupOutputFile), result.Output);
  }
  return result;
}

}  // namespace pixvane::maker
