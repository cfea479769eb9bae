#include "maker/SkinMaker.h"

#include <cstring>
#include <nlohmann/json.hpp>
#include <sstream>

#include "base/CodePage.h"
#include "base/Errors.h"
#include "base/Stream.h"
#include "maker/ImageFiles.h"
#include "maker/OutputFile.h"
#include "maker/StrictToml.h"
#include "maker/ToolError.h"
#include "package/ObjectStream.h"
#include "package/ObjectText.h"
#include "skin/SkinManager.h"
#include "skin/SkinRecord.h"
#include "skin/SkinRecordIO.h"
#include "skin/SkinScale.h"

namespace pixvane::maker {
namespace {

namespace fs = std::filesystem;

// A bitmap of the skin: the PNG's pixels, those of magenta (255, 0, 255) or
// alpha 0 made the skin's transparent key.
std::unique_ptr<TSkinBitmap> ReadSkinBitmap(const fs::path& file, const std::string& name) {
  auto bitmap = std::make_unique<TSkinBitmap>(ReadPngWithAlpha(file));
  bitmap->Name = name;
  for (int32_t y = 0; y < bitmap->Height(); ++y) {
    TSkinPixel* line = bitmap->ScanLine(y);
    for (int32_t x = 0; x < bitmap->Width(); ++x)
      if ((line[x] >> 24) == 0 || (line[x] & 0xFFFFFF) == 0xFF00FF) line[x] = TransparentKey;
  }
  return bitmap;
}

// ---------------------------------------------------------------- build

// An object as its source text has it: its own property lines, and its
// children nested inside it at two more spaces, as "skin text" writes them.
// The object stream's text form keeps children in the binary "Objects"
// property, which no one could write by hand.
struct TObjectText {
  int Line = 0;
  std::string ClassName;
  std::string Own;  // "object ...", the property lines, "end", each ended by CR LF
  std::vector<TObjectText> Children;
};

class TObjectParser {
 public:
  TObjectParser(const fs::path& file, const std::string& text) : FFile(file) {
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      FLines.push_back(line);
    }
  }

  std::vector<TObjectText> TopLevel() {
    std::vector<TObjectText> objects;
    while (FNext < FLines.size()) {
      if (FLines[FNext].find_first_not_of(" \t") == std::string::npos) {
        ++FNext;
        continue;
      }
      objects.push_back(Object(0));
    }
    return objects;
  }

 private:
  bool Starts(const std::string& line, size_t indent, const char* word) const {
    return line.size() > indent && line.compare(0, indent, std::string(indent, ' ')) == 0 &&
           line.compare(indent, std::strlen(word), word) == 0;
  }

  TObjectText Object(size_t indent) {
    const std::string& header = FLines[FNext];
    const size_t colon = header.rfind(": ");
    if (!Starts(header, indent, "object ") || colon == std::string::npos)
      throw EToolError(Located(FFile, Line(), "expected \"object NAME: CLASS\""));
    TObjectText object{Line(), header.substr(colon + 2), header.substr(indent) + "\r\n", {}};
    for (++FNext; FNext < FLines.size(); ++FNext) {
      const std::string& line = FLines[FNext];
      if (line == std::string(indent, ' ') + "end") {
        object.Own += "end\r\n";
        ++FNext;
        return object;
      }
      if (Starts(line, indent + 2, "object ")) {
        object.Children.push_back(Object(indent + 2));
        --FNext;  // the loop steps past the child's "end"
        continue;
      }
      object.Own += (line.size() > indent ? line.substr(indent) : std::string()) + "\r\n";
    }
    throw EToolError(Located(FFile, object.Line, "the object has no \"end\""));
  }

  int Line() const { return static_cast<int>(FNext) + 1; }

  fs::path FFile;
  std::vector<std::string> FLines;
  size_t FNext = 0;
};

std::unique_ptr<TSkinObject> BuildObject(const TObjectText& text, const fs::path& file, int depth) {
  TMemoryStream record;
  WriteRecordText(record, text.ClassName);
  WriteRecordText(record, text.Own);
  record.Seek(0);
  std::unique_ptr<TSkinObject> object;
  try {
    object = ReadObjectRecord(record, depth);
  } catch (const EError& e) {
    throw EToolError(Located(file, text.Line, e.what()));
  }
  for (const TObjectText& child : text.Children)
    object->AddChild(BuildObject(child, file, depth + 1));
  return object;
}

// The object's text form with its children nested in place of "Objects".
void WriteNested(TSkinObject& object, const std::string& indent, std::ostream& out) {
  TMemoryStream binary, text;
  WriteObject(binary, object);
  binary.Seek(0);
  ObjectBinaryToText(binary, text);
  std::istringstream in(std::string(text.Bytes().begin(), text.Bytes().end()));
  bool skipping = false;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind("  Objects = ", 0) == 0) skipping = true;
    if (skipping) {
      skipping = line.empty() || line.back() != '}';
      continue;
    }
    if (line == "end")
      for (int i = 0; i < object.ChildCount(); ++i)
        WriteNested(*object.Child(i), indent + "  ", out);
    out << indent << line << "\r\n";
  }
}

fs::path ScaledFile(const fs::path& file, int scale) {
  if (scale == 100) return file;
  fs::path scaled = file;
  scaled.replace_filename(file.stem().string() + "@" + std::to_string(scale) +
                          file.extension().string());
  return scaled;
}

std::vector<fs::path> ObjectFiles(const fs::path& folder, const TTomlTable& root) {
  std::vector<fs::path> files;
  if (const toml::array* list = root.Array("objects")) {
    for (const toml::node& item : *list) {
      if (!item.is_string()) root.Fail(LineOf(item), "objects lists file names");
      files.push_back(folder / PathFromUtf8(*item.value<std::string>()));
    }
    return files;
  }
  for (const auto& entry : fs::directory_iterator(folder))
    if (entry.path().extension() == ".txt") files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

void AddObjects(TSkinSource& source, const fs::path& file) {
  for (const TObjectText& object : TObjectParser(file, ReadTextFile(file, "the file")).TopLevel())
    source.AddObject(BuildObject(object, file, 0));
}

// ---------------------------------------------------------------- report

nlohmann::json ObjectJson(const TSkinObject& object) {
  auto name = [](const TIdentMap& names, int32_t value) {
    const TIdentEntry* entry = names.FindValue(value);
    return entry ? std::string(entry->Name) : std::to_string(value);
  };
  nlohmann::json children = nlohmann::json::array();
  for (int i = 0; i < object.ChildCount(); ++i) children.push_back(ObjectJson(*object.Child(i)));
  return {{"name", object.Name},
          {"class", std::string(object.ClassName())},
          {"kind", name(SkinKindNames, object.Kind)},
          {"align", name(SkinAlignNames, object.Align)},
          {"left", object.Left()},
          {"top", object.Top()},
          {"width", object.Width()},
          {"height", object.Height()},
          {"children", children}};
}

void PrintTree(const TSkinObject& object, int depth, std::ostream& out) {
  const TIdentEntry* align = SkinAlignNames.FindValue(object.Align);
  out << std::string(2 * depth + 2, ' ') << object.Name << ": " << object.ClassName() << " ("
      << object.Left() << ", " << object.Top() << ", " << object.Width() << " x " << object.Height()
      << ", " << (align ? align->Name : "?") << ")\n";
  for (int i = 0; i < object.ChildCount(); ++i) PrintTree(*object.Child(i), depth + 1, out);
}

// A render's stand-in for the host window: a form's system buttons show by
// the window state (--state) as on a skinned form with every border icon.
class TRenderHost : public TSkinHost {
 public:
  explicit TRenderHost(bool form) : FForm(form) {}
  void RepaintObject(TSkinObject&) override {}
  bool IsSkinnedForm() const override { return FForm; }

 private:
  bool FForm;
};

TSkinObject* FindPart(const TSkinSource& source, const std::string& path) {
  size_t dot = path.find('.');
  TSkinObject* object = source.ObjectByName(path.substr(0, dot));
  while (object && dot != std::string::npos) {
    const size_t next = path.find('.', dot + 1);
    TSkinObject* part = nullptr;
    const std::string name = path.substr(dot + 1, next - dot - 1);
    for (int i = 0; i < object->ChildCount() && !part; ++i)
      part = object->Child(i)->FindByName(name);
    object = part;
    dot = next;
  }
  return object;
}

}  // namespace

bool ParseSize(const std::string& text, int32_t& width, int32_t& height) {
  char x = 0, rest = 0;
  std::istringstream in(text);
  return (in >> width >> x >> height) && (x == 'x' || x == 'X') && !(in >> rest) && width > 0 &&
         height > 0 && width <= 8192 && height <= 8192;
}

namespace {

// skin.toml: the header texts, the bitmaps by name and the object files
// (see SkinMaker.h); [bitmaps] holds the skin's own names.
const TTomlSchema SkinSchema = {
    {{"", {"name", "version", "author", "email", "url", "objects", "bitmaps"}}}, {}};

void ReadSkinFolder(const fs::path& folder, int scale, TSkinSource& source) {
  const fs::path manifest = folder / "skin.toml";
  const TTomlFile toml(manifest, ReadTextFile(manifest, "the file"), SkinSchema);
  const TTomlTable root(toml);
  source.SkinName = root.String("name").value_or("");
  source.SkinVersion = root.String("version").value_or("");
  source.Author = root.String("author").value_or("");
  source.AuthorEMail = root.String("email").value_or("");
  source.AuthorURL = root.String("url").value_or("");
  if (auto bitmaps = root.Sub("bitmaps"))
    for (const auto& [name, file] : bitmaps->Table()) {
      if (!file.is_string()) root.Fail(LineOf(file), "a bitmap is NAME = \"file.png\"");
      const fs::path png = ScaledFile(folder / PathFromUtf8(*file.value<std::string>()), scale);
      source.AddBitmap(ReadSkinBitmap(png, std::string(name.str())));
    }
  // Objects are read after the bitmaps, so their links resolve.
  for (const fs::path& file : ObjectFiles(folder, root)) AddObjects(source, file);
  if (source.ObjectCount() == 0) throw EToolError(Located(folder, 0, "the skin has no objects"));
  if (scale != 100) ScaleSkinObjects(source, scale);
}

}  // namespace

TSkinBuildResult BuildSkin(const fs::path& folder, const fs::path& output, int scale, bool stream) {
  TSkinManager manager;
  TSkinSource& source = manager.Source();
  ReadSkinFolder(folder, scale, source);
  std::vector<uint8_t> bytes;
  if (stream) {
    // The form's SkinStream as the player carries it: packed (flag 2).
    manager.SkinStoreCompression = true;
    TMemoryStream value;
    manager.WriteSkinStream(value);
    bytes = value.Bytes();
  } else {
    bytes = source.FileBytes();
  }
  TOutputFile out(output);
  out.Write(bytes.data(), bytes.size());
  out.Commit();
  return {static_cast<int>(source.Bitmaps().size()), source.ObjectCount(),
          static_cast<int64_t>(bytes.size())};
}

void LoadSkinInput(const fs::path& file, bool stream, TSkinSource& source) {
  try {
    if (!stream) return source.LoadFromFile(file);
    auto in = TFileStream::OpenRead(file);
    TSkinManager manager;
    manager.ReadSkinStream(*in);
    TMemoryStream record;
    manager.Source().SaveToStream(record);
    record.Seek(0);
    source.LoadFromStream(record);
  } catch (const EError& e) {
    // Messages that name the file already ("... is not a skin file") stand
    // as they are.
    const std::string message = e.what();
    const bool named = message.find(Utf8FromPath(file)) != std::string::npos;
    throw EToolError(named ? message : Located(file, 0, message));
  }
}

void PrintSkinReport(const TSkinSource& source, std::ostream& out) {
  out << "Skin:    " << source.SkinName << " " << source.SkinVersion << "\n"
      << "Author:  " << source.Author << "\n"
      << "E-mail:  " << source.AuthorEMail << "\n"
      << "Web:     " << source.AuthorURL << "\n"
      << "Bitmaps: " << source.Bitmaps().size() << "\n";
  for (const auto& bitmap : source.Bitmaps())
    out << "  " << bitmap->Name << ": " << bitmap->Width() << " x " << bitmap->Height() << "\n";
  out << "Objects: " << source.ObjectCount() << "\n";
  for (int i = 0; i < source.ObjectCount(); ++i) PrintTree(*source.Object(i), 0, out);
}

std::string SkinJson(const TSkinSource& source) {
  nlohmann::json bitmaps = nlohmann::json::array(), objects = nlohmann::json::array();
  for (const auto& bitmap : source.Bitmaps())
    bitmaps.push_back(
        {{"name", bitmap->Name}, {"width", bitmap->Width()}, {"height", bitmap->Height()}});
  for (int i = 0; i < source.ObjectCount(); ++i) objects.push_back(ObjectJson(*source.Object(i)));
  const nlohmann::json report = {{"name", source.SkinName}, {"version", source.SkinVersion},
                                 {"author", source.Author}, {"email", source.AuthorEMail},
                                 {"url", source.AuthorURL}, {"bitmaps", bitmaps},
                                 {"objects", objects}};
  return report.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

void PrintSkinText(const TSkinSource& source, std::ostream& out) {
  for (int i = 0; i < source.ObjectCount(); ++i) WriteNested(*source.Object(i), "", out);
}

void RenderSkin(const TSkinSource& source, const TSkinRenderOptions& options) {
  TSkinObject* object = FindPart(source, options.Object);
  if (!object) throw EToolError("the skin has no object " + options.Object);
  TRenderHost host(object->Kind == skForm);
  object->SetHost(&host);
  object->SetActive(!options.Inactive);
  object->SetState(options.State);
  object->Visible = true;
  object->Enabled = options.State != StateDisabled;
  if (!options.Text.empty()) {
    // Skin texts are Windows-1252, as the dialog hands them over.
    object->Text = Utf8ToAnsi(options.Text);
    if (TSkinObject* title = object->FindByKind(skTitle)) title->Text = object->Text;
  }
  object->SetBounds(0, 0, options.Width, options.Height);
  object->Realign();
  TSkinBitmap target(options.Width, options.Height, 0);
  object->PaintTo(target);
  object->SetHost(nullptr);
  for (int32_t y = 0; y < target.Height(); ++y)
    for (int32_t x = 0; x < target.Width(); ++x)
      if (target.Pixel(x, y) == TransparentKey) target.SetPixel(x, y, 0);
  WritePng(options.Output, target);
}

}  // namespace pixvane::maker
