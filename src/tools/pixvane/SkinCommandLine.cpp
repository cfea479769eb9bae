#include "tools/pixvane/SkinCommandLine.h"

#include <iostream>

#include "tools/pixvane/ToolError.h"

namespace pixvane::tool {
namespace {

CLI::Option* AddPath(CLI::App* command, const std::string& name, std::filesystem::path& path,
                     const std::string& description) {
  return command->add_option_function<std::string>(
      name, [&path](const std::string& text) { path = PathFromUtf8(text); }, description);
}

void AddSkinInput(CLI::App* command, TSkinArguments& a) {
  AddPath(command, "FILE", a.Input, "The skin file")->required()->type_name("FILE");
  command->add_flag("--stream", a.Stream, "FILE holds a SkinStream value, not a skin file");
}

}  // namespace

void AddSkinCommands(CLI::App& app, TSkinArguments& a) {
  a.Skin = app.add_subcommand("skin", "Build, inspect and render skins of the setup dialog");
  a.Skin->require_subcommand(1);

  a.Build = a.Skin->add_subcommand("build", "Build a skin file from a source folder (skin.toml)");
  AddPath(a.Build, "DIR", a.Input, "The source folder")->required()->type_name("DIR");
  AddPath(a.Build, "-o,--output", a.Output, "The skin file to write")->required();
  a.Build->add_option("--scale", a.Scale, "Screen scaling in percent (default 100)")
      ->check(CLI::Range(100, 400));
  a.Build->add_flag("--stream", a.Stream,
                    "Write a packed SkinStream value (as the player carries it), not a skin file");

  a.Inspect = a.Skin->add_subcommand("inspect", "Show a skin's header, bitmaps and objects");
  AddSkinInput(a.Inspect, a);
  a.Inspect->add_flag("--json", a.Json, "Write the report as JSON");

  a.Text = a.Skin->add_subcommand("text", "Write a skin's objects in text form");
  AddSkinInput(a.Text, a);

  a.Render = a.Skin->add_subcommand("render", "Paint one skin object into an RGBA PNG");
  AddSkinInput(a.Render, a);
  a.Render
      ->add_option("--object", a.RenderOptions.Object,
                   "A top-level object, or a path to a part (CheckBox.Checked)")
      ->required();
  a.Render->add_option("--size", a.Size, "WxH")->required();
  a.Render->add_option("--state", a.RenderOptions.State,
                       "State: 0 normal, 5 hot, 6 pressed, 7 focused, 8 disabled");
  a.Render->add_option("--text", a.RenderOptions.Text, "The object's text (a form's title)");
  a.Render->add_flag("--inactive", a.RenderOptions.Inactive, "Paint as an inactive window");
  AddPath(a.Render, "-o,--output", a.RenderOptions.Output, "The PNG file to write")->required();
  a.Render->callback([&a] {
    if (!ParseSize(a.Size, a.RenderOptions.Width, a.RenderOptions.Height))
      throw CLI::ValidationError("--size", "give WxH, each from 1 to 8192");
  });
}

bool RunSkinCommands(const TSkinArguments& a, int& exitCode) {
  if (!a.Skin || !a.Skin->parsed()) return false;
  exitCode = 0;
  if (a.Build->parsed()) {
    const TSkinBuildResult result = BuildSkin(a.Input, a.Output, a.Scale, a.Stream);
    std::cout << "Wrote " << PathForMessage(a.Output) << ": " << result.Bitmaps << " bitmaps, "
              << result.Objects << " objects; " << result.FileSize << " bytes\n";
    return true;
  }
  TSkinSource source;
  LoadSkinInput(a.Input, a.Stream, source);
  if (a.Inspect->parsed()) {
    if (a.Json)
      std::cout << SkinJson(source);
    else
      PrintSkinReport(source, std::cout);
  } else if (a.Text->parsed()) {
    PrintSkinText(source, std::cout);
  } else {
    TSkinRenderOptions options = a.RenderOptions;
    options.Width = a.RenderOptions.Width;
    RenderSkin(source, options);
    std::cout << "Wrote " << PathForMessage(options.Output) << "\n";
  }
  return true;
}

}  // namespace pixvane::tool
