// pixvane: the maker's tool. Builds a saver from a manifest, shows what a
// saver holds, and takes its pictures, sounds and Flash files out again;
// it also renders transitions and shows to PNG files, and the native build
// to GIF and WebP animations too, makes skins and plays savers on Linux.
// Each command below registers its own options and its handler.

#include <iostream>
#include <memory>
#include <optional>

#include "package/ClassRegistry.h"
#include "tools/pixvane/BuildCommand.h"
#include "tools/pixvane/CommandLine.h"
#include "tools/pixvane/ExtractCommand.h"
#ifdef PIXVANE_HAVE_PNG_FILES
#include "tools/pixvane/FrameCommand.h"
#include "tools/pixvane/ShowRender.h"
#include "tools/pixvane/StylesCommand.h"
#endif
#ifdef PIXVANE_HAVE_IMAGE_FILES
#include "tools/pixvane/SkinCommandLine.h"
#endif
#ifdef PIXVANE_HAVE_STUDIO
#include "studio/StudioCommand.h"
#endif
#include "tools/pixvane/PackageReport.h"
#ifdef PIXVANE_HAVE_PLAY
#include "tools/pixvane/PlayCommand.h"
#endif
#include "tools/pixvane/Platform.h"
#include "tools/pixvane/Progress.h"
#include "tools/pixvane/ToolError.h"

namespace {

namespace fs = std::filesystem;
using namespace pixvane::tool;

std::string Plural(int count, const std::string& word) {
  return std::to_string(count) + " " + word + (count == 1 ? "" : "s");
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
  if (result.Sequential > 0)
    std::cout << "; " << result.Sequential
              << " stored as sequential JPEG (same pixels, quicker to show)";
  if (result.DefaultEffects)
    std::cout << "; transitions " << DefaultEffectsText()
              << ", the tool's default list, as the manifest names no effects";
  std::cout << "\n";
  return 0;
}

void AddBuildCommand(TCommandLine& line) {
  auto options = std::make_shared<TBuildOptions>();
  CLI::App* command =
      line.AddCommand(line.Tool(), "build", "Build a screen saver from a TOML manifest",
                      [options] { return Build(*options); });
  AddPath(command, "MANIFEST", options->Manifest, "The manifest (pixvane.toml)")
      ->required()
      ->type_name("FILE");
  AddPath(command, "-o,--output", options->Output, "The saver file to write")
      ->required()
      ->type_name("OUT");
  AddPath(command, "--player", options->Player,
          "The player executable (default: pixvane.scr beside this tool)")
      ->type_name("PLAYER");
}

void AddInspectCommand(TCommandLine& line) {
  struct TInspect {
    fs::path File;
    bool Json = false;
  };
  auto options = std::make_shared<TInspect>();
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

#ifdef PIXVANE_HAVE_PNG_FILES

// Where render writes its frames; animations where the tool can make them.
#ifdef PIXVANE_HAVE_IMAGE_FILES
constexpr const char* RenderHelp =
    "Render a saver's show (SAVER), or one transition (--style, --old, --new), to numbered PNG "
    "files or an animated GIF or WebP";
constexpr const char* RenderOutputHelp = "A folder, or a file ending in .gif or .webp";
#else
constexpr const char* RenderHelp =
    "Render a saver's show (SAVER), or one transition (--style, --old, --new), to numbered PNG "
    "files";
constexpr const char* RenderOutputHelp = "The folder to write the frames to";
#endif

void AddFrameCommand(TCommandLine& line) {
  auto options = std::make_shared<TFrameOptions>();
  CLI::App* command = line.AddCommand(
      line.Tool(), "frame",
      "Render one frame of a transition to a PNG file, exactly as the view draws it", [options] {
        RunFrame(*options);
        return 0;
      });
  command->add_option("--style", options->Style, "Transition style, 0-255")->required();
  command->add_option("--progress", options->Progress, "Progress, 0-100")->required();
  command->add_option("--step", options->Step, "Progress per frame (default 4)");
  command->add_option("--seed", options->Seed, "Generator state before the frame (default 0)");
  AddPath(command, "--old", options->Old, "The old screen (PNG or JPEG)")->required();
  AddPath(command, "--new", options->New, "The new picture, same size (PNG or JPEG)")->required();
  AddPath(command, "-o,--output", options->Output, "The PNG file to write")->required();
}

// `render SAVER` plays a saver's show, `render --style` one transition; both
// write their frames the same way.
struct TRenderArguments {
  TRenderOptions Transition;
  fs::path Saver;
  int Seconds = 20;
  std::optional<int> Style;
};

int RenderSaverShow(const TRenderArguments& a) {
  TShowRenderOptions show{a.Saver, a.Transition.Output};
  if (a.Transition.Settings.Width) show.Width = a.Transition.Settings.Width;
  if (a.Transition.Settings.Height) show.Height = a.Transition.Settings.Height;
  show.Seconds = a.Seconds;
  show.Seed = a.Transition.Settings.Seed;
  TProgressLine progress(std::cerr, StderrIsTerminal());
  int count = RunShowRender(show, [&](const std::string& text) { progress.Show(text); });
  progress.Finish();
  std::cout << "Wrote " << count << " frames of the show to " << PathForMessage(show.Output)
            << "\n";
  return 0;
}

void AddRenderCommand(TCommandLine& line) {
  auto a = std::make_shared<TRenderArguments>();
  TRenderSettings& settings = a->Transition.Settings;
  CLI::App* command = line.AddCommand(line.Tool(), "render", RenderHelp, [a] {
    if (!a->Saver.empty()) return RenderSaverShow(*a);
    int count = RunRender(a->Transition);
    std::cout << "Wrote " << count << " frames to " << PathForMessage(a->Transition.Output) << "\n";
    return 0;
  });
  AddPath(command, "SAVER", a->Saver, "A saver whose picture show to play offscreen");
  command->add_option("--seconds", a->Seconds, "With SAVER: how long to play (default 20)");
  command->add_option("--style", a->Style, "Transition style, 0-255");
  command->add_option("--step", settings.Step, "Progress per frame (default 4)");
  command->add_flag("--reverse", settings.Reverse, "Run from 100 down to 0");
  command->add_option("--width", settings.Width,
                      "View width (default: the picture's; with SAVER 1024)");
  command->add_option("--height", settings.Height,
                      "View height (default: the picture's; with SAVER 768)");
  command->add_option("--seed", settings.Seed, "Generator state at the start (default 0)");
  AddPath(command, "--old", a->Transition.Old, "The old screen (PNG or JPEG)");
  AddPath(command, "--new", a->Transition.New, "The new picture (PNG or JPEG)");
  AddPath(command, "-o,--output", a->Transition.Output, RenderOutputHelp)->required();
  // Either a saver or one transition's three options, never both.
  command->callback([a] {
    const TRenderOptions& t = a->Transition;
    bool transition = a->Style || !t.Old.empty() || !t.New.empty();
    if (!a->Saver.empty() && transition)
      throw CLI::ValidationError("render",
                                 "give either SAVER or --style, --old and --new, not both");
    if (a->Saver.empty() && !(a->Style && !t.Old.empty() && !t.New.empty()))
      throw CLI::ValidationError("render", "give SAVER, or all of --style, --old and --new");
    if (a->Style) a->Transition.Settings.Style = *a->Style;
  });
}

void AddStylesCommand(TCommandLine& line) {
  struct TStyles {
    int Width = 160, Height = 100;
    fs::path Output;
  };
  auto options = std::make_shared<TStyles>();
  CLI::App* command = line.AddCommand(
      line.Tool(), "styles", "Draw every style at p = 25, 50 and 75 on one contact sheet (PNG)",
      [options] {
        RunStyles(options->Width, options->Height, options->Output);
        return 0;
      });
  command->add_option("--width", options->Width, "Cell width (default 160)");
  command->add_option("--height", options->Height, "Cell height (default 100)");
  AddPath(command, "-o,--output", options->Output, "The PNG file to write")->required();
}

#endif

}  // namespace

int main(int argc, char** argv) {
  TCommandLine line("Builds Pixvane screen savers from a manifest, and inspects and unpacks them.",
                    "pixvane");
  AddBuildCommand(line);
  AddInspectCommand(line);
  AddExtractCommand(line);
#ifdef PIXVANE_HAVE_PNG_FILES
  AddFrameCommand(line);
  AddRenderCommand(line);
  AddStylesCommand(line);
#endif
#ifdef PIXVANE_HAVE_IMAGE_FILES
  AddSkinCommands(line);
#elif defined(_WIN32)
  line.AddElsewhere({"skin", "play"}, "this Windows tool", "the native tool (pixvane on Linux)");
#elif defined(PIXVANE_HAVE_PNG_FILES)
  line.AddElsewhere({"skin"}, "this build of the tool",
                    "a build with giflib, libwebp, libimagequant and libheif");
#else
  line.AddElsewhere({"frame", "render", "styles", "skin"}, "this build of the tool",
                    "a build with libpng, giflib, libwebp, libimagequant and libheif");
#endif
#ifdef PIXVANE_HAVE_STUDIO
  pixvane::studio::AddStudioCommand(line);
#endif
  pixvane::RegisterStreamClasses();
#ifdef PIXVANE_HAVE_PLAY
  AddPlayCommand(line);
  std::vector<std::string> arguments = WithXScreenSaverForms({argv, argv + argc});
  std::vector<char*> pointers;
  for (std::string& argument : arguments) pointers.push_back(argument.data());
  return line.Run(argc, pointers.data());
#else
  return line.Run(argc, argv);
#endif
}
