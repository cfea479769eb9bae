#include "tools/pixvane/Commands.h"

#include <iostream>
#include <memory>

#include "maker/SkinMaker.h"
#include "maker/ToolError.h"

namespace pixvane::tool {

using namespace pixvane::maker;
namespace {

namespace fs = std::filesystem;

// The skin file the reading commands take, and how it is stored.
struct TSkinInput {
  fs::path File;
  bool Stream = false;

  void Load(TSkinSource& source) const { LoadSkinInput(File, Stream, source); }
};

void AddSkinInput(CLI::App* command, TSkinInput& input) {
  AddPath(command, "FILE", input.File, "The skin file")->required()->type_name("FILE");
  command->add_flag("--stream", input.Stream, "FILE holds a SkinStream value, not a skin file");
}

void AddBuild(TCommandLine& line, CLI::App& skin) {
  struct TBuild {
    fs::path Folder, Output;
    int Scale = 100;
    bool Stream = false;
  };
  auto a = std::make_shared<TBuild>();
  CLI::App* command =
      line.AddCommand(skin, "build", "Build a skin file from a source folder (skin.toml)", [a] {
        const TSkinBuildResult result = BuildSkin(a->Folder, a->Output, a->Scale, a->Stream);
        std::cout << "Wrote " << PathForMessage(a->Output) << ": " << result.Bitmaps << " bitmaps, "
                  << result.Objects << " objects; " << result.FileSize << " bytes\n";
        return 0;
      });
  AddPath(command, "DIR", a->Folder, "The source folder")->required()->type_name("DIR");
  AddPath(command, "-o,--output", a->Output, "The skin file to write")->required();
  command->add_option("--scale", a->Scale, "Screen scaling in percent (default 100)")
      ->check(CLI::Range(100, 400));
  command->add_flag("--stream", a->Stream,
                    "Write a packed SkinStream value (as the player carries it), not a skin file");
}

void AddSkinReport(TCommandLine& line, CLI::App& skin) {
  struct TSkinReport {
    TSkinInput Input;
    bool Json = false;
  };
  auto a = std::make_shared<TSkinReport>();
  CLI::App* command =
      line.AddCommand(skin, "inspect", "Show a skin's header, bitmaps and objects", [a] {
        TSkinSource source;
        a->Input.Load(source);
        if (a->Json)
          std::cout << SkinJson(source);
        else
          PrintSkinReport(source, std::cout);
        return 0;
      });
  AddSkinInput(command, a->Input);
  command->add_flag("--json", a->Json, "Write the report as JSON");
}

void AddText(TCommandLine& line, CLI::App& skin) {
  auto input = std::make_shared<TSkinInput>();
  CLI::App* command = line.AddCommand(skin, "text", "Write a skin's objects in text form", [input] {
    TSkinSource source;
    input->Load(source);
    PrintSkinText(source, std::cout);
    return 0;
  });
  AddSkinInput(command, *input);
}

void AddRender(TCommandLine& line, CLI::App& skin) {
  struct TRender {
    TSkinInput Input;
    std::string Size;
    TSkinRenderOptions Options;
  };
  auto a = std::make_shared<TRender>();
  CLI::App* command =
      line.AddCommand(skin, "render", "Paint one skin object into an RGBA PNG", [a] {
        TSkinSource source;
        a->Input.Load(source);
        RenderSkin(source, a->Options);
        std::cout << "Wrote " << PathForMessage(a->Options.Output) << "\n";
        return 0;
      });
  AddSkinInput(command, a->Input);
  command
      ->add_option("--object", a->Options.Object,
                   "A top-level object, or a path to a part (CheckBox.Checked)")
      ->required();
  command->add_option("--size", a->Size, "WxH")->required();
  command->add_option("--state", a->Options.State,
                      "State: 0 normal, 5 hot, 6 pressed, 7 focused, 8 disabled");
  command->add_option("--text", a->Options.Text, "The object's text (a form's title)");
  command->add_flag("--inactive", a->Options.Inactive, "Paint as an inactive window");
  AddPath(command, "-o,--output", a->Options.Output, "The PNG file to write")->required();
  command->callback([a] {
    if (!ParseSize(a->Size, a->Options.Width, a->Options.Height))
      throw CLI::ValidationError("--size", "give WxH, each from 1 to 8192");
  });
}

}  // namespace

void AddSkinCommands(TCommandLine& line) {
  CLI::App* skin = line.AddCommand(line.Tool(), "skin",
                                   "Build, inspect and render skins of the setup dialog", {});
  AddBuild(line, *skin);
  AddSkinReport(line, *skin);
  AddText(line, *skin);
  AddRender(line, *skin);
}

}  // namespace pixvane::tool
