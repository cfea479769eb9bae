// pixvane: the maker's tool. Builds a saver from a manifest, shows what a
// saver holds, and takes its pictures, sounds and Flash files out again.

#include <CLI/CLI.hpp>
#include <iostream>
#include <optional>

#include "package/ClassRegistry.h"
#include "tools/pixvane/BuildCommand.h"
#include "tools/pixvane/ExtractCommand.h"
#ifdef PIXVANE_HAVE_IMAGE_FILES
#include "tools/pixvane/FrameCommand.h"
#include "tools/pixvane/ShowRender.h"
#include "tools/pixvane/SkinCommandLine.h"
#include "tools/pixvane/StylesCommand.h"
#endif
#include "tools/pixvane/PackageFile.h"
#include "tools/pixvane/PackageReport.h"
#include "tools/pixvane/Platform.h"
#include "tools/pixvane/Progress.h"
#include "tools/pixvane/ToolError.h"

namespace {

namespace fs = std::filesystem;
using namespace pixvane::tool;

constexpr int ExitBadInput = 1;
constexpr int ExitBadUsage = 2;

std::string Plural(int count, const std::string& word) {
  return std::to_string(count) + " " + word + (count == 1 ? "" : "s");
}

// A path option. CLI11 would make the path from the text with the C
// library's narrow conversion, which on Windows is not UTF-8; the text is
// UTF-8 (Utf8Arguments), so the path is made from it here.
CLI::Option* AddPath(CLI::App* command, const std::string& name, fs::path& path,
                     const std::string& description) {
  return command->add_option_function<std::string>(
      name, [&path](const std::string& text) { path = PathFromUtf8(text); }, description);
}

int Build(const TBuildOptions& options) {
  TProgressLine line(std::cerr, StderrIsTerminal());
  TBuildResult result = RunBuild(
      options,
      [&](int index, int count, const std::string& name) {
        line.Show("Adding picture " + std::to_string(index) + "/" + std::to_string(count) + ": " +
                  name);
      },
      [&](const std::string& warning) {
        line.Finish();
        std::cerr << "pixvane: warning: " << warning << "\n";
      });
  line.Finish();
  std::cout << "Wrote " << PathForMessage(options.Output) << ": "
            << Plural(result.Pictures, "picture") << ", " << Plural(result.Sounds, "sound") << ", "
            << Plural(result.Flash, "Flash file") << "; " << result.FileSize << " bytes, package "
            << result.PackageLength << " bytes";
  if (result.Turned > 0) std::cout << "; " << result.Turned << " turned upright";
  if (result.Reduced > 0)
    std::cout << "; " << result.Reduced << " reduced to max_size, " << result.BytesSaved
              << " bytes saved";
  std::cout << "\n";
  return 0;
}

int Inspect(const fs::path& file, bool json) {
  TPackageReport report = ReadPackageReport(file);
  if (json)
    std::cout << ReportJson(report);
  else
    PrintReport(report, PathForMessage(file), std::cout);
  return 0;
}

int Extract(const fs::path& file, const fs::path& folder) {
  TExtractResult result = RunExtract(file, folder, std::cout);
  for (const std::string& failure : result.Failures)
    std::cerr << "pixvane: " << Located(file, 0, failure) << "\n";
  return result.Failures.empty() ? 0 : ExitBadInput;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app("Builds Pixvane screen savers from a manifest, and inspects and unpacks them.",
               "pixvane");
  app.require_subcommand(1);

  TBuildOptions build;
  auto* buildCommand = app.add_subcommand("build", "Build a screen saver from a TOML manifest");
  AddPath(buildCommand, "MANIFEST", build.Manifest, "The manifest (pixvane.toml)")
      ->required()
      ->type_name("FILE");
  AddPath(buildCommand, "-o,--output", build.Output, "The saver file to write")
      ->required()
      ->type_name("OUT");
  AddPath(buildCommand, "--player", build.Player,
          "The player executable (default: pixvane.scr beside this tool)")
      ->type_name("PLAYER");

  fs::path inspectFile;
  bool json = false;
  auto* inspectCommand = app.add_subcommand("inspect", "Show what a screen saver holds");
  AddPath(inspectCommand, "FILE", inspectFile, "The saver")->required()->type_name("FILE");
  inspectCommand->add_flag("--json", json, "Write the report as JSON");

  fs::path extractFile, extractFolder;
  auto* extractCommand =
      app.add_subcommand("extract", "Write a saver's pictures, sounds and Flash files to a folder");
  AddPath(extractCommand, "FILE", extractFile, "The saver")->required()->type_name("FILE");
  AddPath(extractCommand, "DIR", extractFolder, "The folder to write to")
      ->required()
      ->type_name("DIR");

#ifdef PIXVANE_HAVE_IMAGE_FILES
  TFrameOptions frame;
  auto* frameCommand = app.add_subcommand(
      "frame", "Render one frame of a transition to a PNG file, exactly as the view draws it");
  frameCommand->add_option("--style", frame.Style, "Transition style, 0-255")->required();
  frameCommand->add_option("--progress", frame.Progress, "Progress, 0-100")->required();
  frameCommand->add_option("--step", frame.Step, "Progress per frame (default 4)");
  frameCommand->add_option("--seed", frame.Seed, "Generator state before the frame (default 0)");
  AddPath(frameCommand, "--old", frame.Old, "The old screen (PNG or JPEG)")->required();
  AddPath(frameCommand, "--new", frame.New, "The new picture, same size (PNG or JPEG)")->required();
  AddPath(frameCommand, "-o,--output", frame.Output, "The PNG file to write")->required();

  TRenderOptions render;
  std::filesystem::path renderSaver;
  int renderSeconds = 20;
  std::optional<int> renderStyle;
  auto* renderCommand = app.add_subcommand(
      "render",
      "Render a saver's show (SAVER), or one transition (--style, --old, --new), to numbered PNG "
      "files or an animated GIF or WebP");
  AddPath(renderCommand, "SAVER", renderSaver, "A saver whose picture show to play offscreen");
  renderCommand->add_option("--seconds", renderSeconds,
                            "With SAVER: how long to play (default 20)");
  renderCommand->add_option("--style", renderStyle, "Transition style, 0-255");
  renderCommand->add_option("--step", render.Settings.Step, "Progress per frame (default 4)");
  renderCommand->add_flag("--reverse", render.Settings.Reverse, "Run from 100 down to 0");
  renderCommand->add_option("--width", render.Settings.Width,
                            "View width (default: the picture's; with SAVER 1024)");
  renderCommand->add_option("--height", render.Settings.Height,
                            "View height (default: the picture's; with SAVER 768)");
  renderCommand->add_option("--seed", render.Settings.Seed,
                            "Generator state at the start (default 0)");
  AddPath(renderCommand, "--old", render.Old, "The old screen (PNG or JPEG)");
  AddPath(renderCommand, "--new", render.New, "The new picture (PNG or JPEG)");
  AddPath(renderCommand, "-o,--output", render.Output,
          "A folder, or a file ending in .gif or .webp")
      ->required();
  // Either a saver or one transition's three options, never both.
  renderCommand->callback([&] {
    bool transition = renderStyle || !render.Old.empty() || !render.New.empty();
    if (!renderSaver.empty() && transition)
      throw CLI::ValidationError("render",
                                 "give either SAVER or --style, --old and --new, not both");
    if (renderSaver.empty() && !(renderStyle && !render.Old.empty() && !render.New.empty()))
      throw CLI::ValidationError("render", "give SAVER, or all of --style, --old and --new");
    if (renderStyle) render.Settings.Style = *renderStyle;
  });
  int sheetWidth = 160, sheetHeight = 100;
  std::filesystem::path sheetOutput;
  auto* stylesCommand = app.add_subcommand(
      "styles", "Draw every style at p = 25, 50 and 75 on one contact sheet (PNG)");
  stylesCommand->add_option("--width", sheetWidth, "Cell width (default 160)");
  stylesCommand->add_option("--height", sheetHeight, "Cell height (default 100)");
  AddPath(stylesCommand, "-o,--output", sheetOutput, "The PNG file to write")->required();
  TSkinArguments skin;
  AddSkinCommands(app, skin);
#endif

  UseUtf8Console();
  std::vector<std::string> arguments = Utf8Arguments(argc, argv);
  std::vector<const char*> pointers;
  for (const std::string& argument : arguments) pointers.push_back(argument.c_str());
  try {
    app.parse(static_cast<int>(pointers.size()), pointers.data());
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForAllHelp& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    // The help of the command that was being parsed, else of the tool.
    std::cerr << "pixvane: " << e.what() << "\n\n" << app.help();
    return ExitBadUsage;
  }

  pixvane::RegisterStreamClasses();
  try {
    if (buildCommand->parsed()) return Build(build);
    if (inspectCommand->parsed()) return Inspect(inspectFile, json);
#ifdef PIXVANE_HAVE_IMAGE_FILES
    if (int exitCode; RunSkinCommands(skin, exitCode)) return exitCode;
    if (frameCommand->parsed()) {
      RunFrame(frame);
      return 0;
    }
    if (stylesCommand->parsed()) {
      RunStyles(sheetWidth, sheetHeight, sheetOutput);
      return 0;
    }
    if (renderCommand->parsed() && !renderSaver.empty()) {
      TShowRenderOptions show{renderSaver, render.Output};
      if (render.Settings.Width) show.Width = render.Settings.Width;
      if (render.Settings.Height) show.Height = render.Settings.Height;
      show.Seconds = renderSeconds;
      show.Seed = render.Settings.Seed;
      TProgressLine line(std::cerr, StderrIsTerminal());
      int count = RunShowRender(show, [&](const std::string& text) { line.Show(text); });
      line.Finish();
      std::cout << "Wrote " << count << " frames of the show to " << PathForMessage(render.Output)
                << "\n";
      return 0;
    }
    if (renderCommand->parsed()) {
      int count = RunRender(render);
      std::cout << "Wrote " << count << " frames to " << PathForMessage(render.Output) << "\n";
      return 0;
    }
#endif
    return Extract(extractFile, extractFolder);
  } catch (const EToolError& e) {
    std::cerr << "pixvane: " << e.what() << "\n";
  } catch (const std::exception& e) {
    // Library failures we did not expect to surface still get a clean line.
    std::cerr << "pixvane: " << e.what() << "\n";
  }
  return ExitBadInput;
}
