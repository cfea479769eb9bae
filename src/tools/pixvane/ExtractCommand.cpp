#include "tools/pixvane/Commands.h"

#include <iostream>
#include <memory>

#include "maker/Extract.h"
#include "maker/ToolError.h"

namespace pixvane::tool {

namespace fs = std::filesystem;
using namespace pixvane::maker;

void AddExtractCommand(TCommandLine& line) {
  struct TExtract {
    fs::path File, Folder;
  };
  auto options = std::make_shared<TExtract>();
  CLI::App* command = line.AddCommand(
      line.Tool(), "extract", "Write a saver's pictures, sounds and Flash files to a folder",
      [options] {
        TExtractResult result = RunExtract(options->File, options->Folder, std::cout);
        for (const std::string& failure : result.Failures)
          std::cerr << "pixvane: " << Located(options->File, 0, failure) << "\n";
        return result.Failures.empty() ? 0 : ExitBadInput;
      });
  AddPath(command, "FILE", options->File, "The saver")->required()->type_name("FILE");
  AddPath(command, "DIR", options->Folder, "The folder to write to")->required()->type_name("DIR");
}

}  // namespace pixvane::tool
