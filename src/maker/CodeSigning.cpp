#include "maker/CodeSigning.h"

#include <fstream>
#include <random>
#include <sstream>
#include <vector>

#include "base/Errors.h"
#include "maker/ExternalProgram.h"
#include "maker/ToolError.h"

namespace pixvane::maker {

namespace fs = std::filesystem;

#ifndef _WIN32
namespace {

void CheckReadable(const fs::path& path, const std::string& what) {
  std::error_code error;
  if (!fs::is_regular_file(path, error))
    throw EToolError(Located(path, 0, "cannot read the " + what));
}

// The lines osslsigncode printed, but for its closing "Failed" that says
// nothing more.
std::string Complaint(const std::string& output) {
  std::istringstream lines(output);
  std::string line, text;
  while (std::getline(lines, line)) {
    if (line.empty() || line == "Failed") continue;
    text += (text.empty() ? "" : "; ") + line;
  }
  return text.empty() ? "no reason given" : text;
}

// A name beside the saver for osslsigncode's output (it insists on making
// the file itself); whatever is left there is taken away at the end.
class TSignedCopy {
 public:
  explicit TSignedCopy(const fs::path& file) {
    std::random_device random;
    std::error_code error;
    do {
      FPath = file;
      FPath += "." + std::to_string(random() % 1000000000) + ".signing";
    } while (fs::exists(FPath, error));
  }
  ~TSignedCopy() {
    std::error_code error;
    fs::remove(FPath, error);
  }
  TSignedCopy(const TSignedCopy&) = delete;
  TSignedCopy& operator=(const TSignedCopy&) = delete;
  const fs::path& Path() const { return FPath; }

 private:
  fs::path FPath;
};

EToolError OsslsigncodeMissing() {
  return EToolError(
      "signing needs osslsigncode, which is not installed (Debian and Ubuntu: apt install "
      "osslsigncode)");
}

}  // namespace
#endif

void CheckSigning(const TSignOptions& options) {
#ifdef _WIN32
  (void)options;
  throw EToolError(
      "signing runs osslsigncode, which the native tool (pixvane on Linux) does; on Windows, "
      "sign the saver with signtool");
#else
  CheckReadable(options.Pfx, "certificate (PFX file)");
  if (!options.PasswordFile.empty()) CheckReadable(options.PasswordFile, "password file");
  if (FindProgram("osslsigncode").empty()) throw OsslsigncodeMissing();
#endif
}

void SignFile(const fs::path& file, const TSignOptions& options) {
  CheckSigning(options);
#ifndef _WIN32
  TSignedCopy signedCopy(file);
  std::vector<std::string> arguments = {FindProgram("osslsigncode").string(), "sign", "-pkcs12",
                                        Utf8FromPath(options.Pfx)};
  if (!options.PasswordFile.empty())
    arguments.insert(arguments.end(), {"-readpass", Utf8FromPath(options.PasswordFile)});
  if (!options.Description.empty()) arguments.insert(arguments.end(), {"-n", options.Description});
  if (!options.Url.empty()) arguments.insert(arguments.end(), {"-i", options.Url});
  arguments.insert(arguments.end(), {"-h", "sha256", "-in", Utf8FromPath(file), "-out",
                                     Utf8FromPath(signedCopy.Path())});
  TScratchFolder scratch;
  const fs::path log = scratch.Path() / "osslsigncode.log";
  if (RunProgram(arguments, fs::current_path(), log) != 0) {
    std::ifstream in(log);
    std::ostringstream output;
    output << in.rdbuf();
    throw EToolError(
        Located(file, 0, "cannot be signed: osslsigncode says: " + Complaint(output.str())));
  }
  std::error_code error;
  fs::rename(signedCopy.Path(), file, error);
  if (error) throw EToolError(Located(file, 0, "cannot be replaced by its signed copy"));
#endif
}

}  // namespace pixvane::maker
