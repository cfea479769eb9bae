#include "tools/pixvane/Commands.h"

#include <iostream>
#include <memory>

#include "maker/PackageReport.h"
#include "maker/ToolError.h"

namespace pixvane::tool {

namespace fs = std::filesystem;
using namespace pixvane::maker;

void AddReportCommand(TCommandLine& line) {
  struct TReportArguments {
    fs::path File;
    bool Json = false;
  };
  auto options = std::make_shared<TReportArguments>();
  CLI::App* command =
      line.AddCommand(line.Tool(), "inspect", "Show what a screen saver holds", [options] {
        TPackageReport report = ReadPackageReport(options->File);
        if (options->Json)
          std::cout << ReportJson(report);
        else
          PrintReport(report, PathForMessage(options->File), std::cout);
        return 0;
      });
  AddPath(command, "FILE", options->File, "The saver")->required()->type_name("FILE");
  command->add_flag("--json", options->Json, "Write the report as JSON");
}

}  // namespace pixvane::tool
