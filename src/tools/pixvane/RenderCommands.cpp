#include "tools/pixvane/Commands.h"

#include <iostream>
#include <memory>
#include <optional>

#include "maker/Platform.h"
#include "maker/ShowRender.h"
#include "maker/StyleSheet.h"
#include "maker/ToolError.h"
#include "maker/TransitionRender.h"
#include "tools/pixvane/Progress.h"

namespace pixvane::tool {

namespace {

namespace fs = std::filesystem;
using namespace pixvane::maker;

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

}  // namespace

void AddRenderCommands(TCommandLine& line) {
  AddFrameCommand(line);
  AddRenderCommand(line);
  AddStylesCommand(line);
}

}  // namespace pixvane::tool
