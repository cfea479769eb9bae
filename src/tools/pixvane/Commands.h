#pragma once
#include "maker/CodeSigning.h"
#include "tools/pixvane/CommandLine.h"

namespace pixvane::tool {

// The tool's commands, one file each or one per group: each registers its
// options and its handler on the command line. The work itself is the
// maker's library's; these only read arguments and print results.
void AddBuildCommand(TCommandLine& line);
void AddReportCommand(TCommandLine& line);
void AddExtractCommand(TCommandLine& line);
// frame, render and styles, where the tool reads and writes PNG files.
void AddRenderCommands(TCommandLine& line);
// The skin commands (build, the report, text, render), where the tool has every image library.
void AddSkinCommands(TCommandLine& line);
// installer, natively: makensis and wixl are Debian's.
void AddInstallerCommand(TCommandLine& line);
// studio, where the tool is built with the studio.
void AddStudioCommand(TCommandLine& line);
// install, for XScreenSaver: Linux only.
void AddInstallCommand(TCommandLine& line);

// --sign PFX and --sign-password-file FILE, for the commands that sign what
// they make (build, installer); what names what is signed.
void AddSignOptions(CLI::App* command, maker::TSignOptions& sign, const std::string& what);

}  // namespace pixvane::tool
