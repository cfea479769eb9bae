// pixvane: the maker's tool. Builds a saver from a manifest, shows what a
// saver holds, and takes its pictures, sounds and Flash files out again;
// it also renders transitions and shows to PNG files, and the native build
// to GIF and WebP animations too, makes skins and plays savers on Linux.
// Each command registers its own options and its handler (Commands.h); the
// work is the maker's library's.

#include "package/ClassRegistry.h"
#include "tools/pixvane/Commands.h"
#ifdef PIXVANE_HAVE_PLAY
#include "tools/pixvane/PlayCommand.h"
#endif

using namespace pixvane::tool;

int main(int argc, char** argv) {
  TCommandLine line("Builds Pixvane screen savers from a manifest, and inspects and unpacks them.",
                    "pixvane");
  AddBuildCommand(line);
  AddReportCommand(line);
  AddExtractCommand(line);
#ifndef _WIN32
  AddInstallCommand(line);  // for XScreenSaver
#endif
#ifdef PIXVANE_HAVE_PNG_FILES
  AddRenderCommands(line);
#endif
#ifdef PIXVANE_HAVE_IMAGE_FILES
  AddSkinCommands(line);
#elif defined(_WIN32)
  line.AddElsewhere({"skin", "play", "installer", "install"}, "this Windows tool",
                    "the native tool (pixvane on Linux)");
#elif defined(PIXVANE_HAVE_PNG_FILES)
  line.AddElsewhere({"skin"}, "this build of the tool",
                    "a build with giflib, libwebp, libimagequant and libheif");
#else
  line.AddElsewhere({"frame", "render", "styles", "skin"}, "this build of the tool",
                    "a build with libpng, giflib, libwebp, libimagequant and libheif");
#endif
#ifdef PIXVANE_HAVE_INSTALLERS
  AddInstallerCommand(line);
#endif
#ifdef PIXVANE_HAVE_STUDIO
  AddStudioCommand(line);
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
