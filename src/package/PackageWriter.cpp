#include "package/PackageWriter.h"

#include <limits>

#include "base/Errors.h"
#include "base/Stream.h"
#include "package/ObjectStream.h"
#include "package/Package.h"
#include "package/Picture.h"

namespace pixvane {
namespace {

// One list, one kind of text, as with the captions: the code page while
// every name fits it, so such packages stay as they always were, and UTF-8
// throughout as soon as one name needs it.
void SettleNames(TCommaList& names, bool& utf8) {
  utf8 = false;
  for (const std::string& name : names.Items) utf8 = utf8 || !FitsAnsi(name);
  for (std::string& name : names.Items) name = utf8 ? ValidUtf8(name) : Utf8ToAnsi(name);
}

}  // namespace

TPackageWriter::TPackageWriter(TStream& out, TSSFileLocations& settings)
    : FOut(out), FSettings(settings), FStart(out.Position()) {}

int32_t TPackageWriter::Offset() const {
  // Offsets are read back as 32-bit signed integers.
  if (FOut.Position() > std::numeric_limits<int32_t>::max())
    throw EError("The saver would exceed 2 GiB, the largest size its offsets can address");
  return static_cast<int32_t>(FOut.Position());
}

void TPackageWriter::AddPicture(std::vector<uint8_t> jpeg, const std::string& fileName) {
  TImage image;
  auto graphic = std::make_unique<TJPEGImage>(std::move(jpeg));
  image.Width = graphic->Width();
  image.Height = graphic->Height();
  image.Picture.SetGraphic(std::move(graphic));
  FSettings.PicList.Items.push_back(std::to_string(Offset()));
  FSettings.PicFileNamesList.Items.push_back(fileName);
  WriteObject(FOut, image);
}

void TPackageWriter::AddRun(TWritableMediaRun run, const std::string& name, TStream& source) {
  run.Append(Offset(), name, source.Size());
  source.Seek(0);
  source.CopyTo(FOut, source.Size());
}

void TPackageWriter::AddSound(const std::string& name, TStream& source) {
  AddRun(FSettings.Sounds(), name, source);
}

void TPackageWriter::AddFlash(const std::string& name, TStream& source) {
  AddRun(FSettings.Flash(), name, source);
}

int64_t TPackageWriter::Finish() {
  SettleNames(FSettings.PicFileNamesList, FSettings.PicNamesUtf8);
  SettleNames(FSettings.SndFileNamesList, FSettings.SndNamesUtf8);
  SettleNames(FSettings.FlashFileNamesList, FSettings.FlashNamesUtf8);
  int32_t settingsOffset = Offset();
  WriteObject(FOut, FSettings);
  int64_t length = FOut.Position() - FStart;
  Offset();  // the trailer's fields must also fit
  std::string trailer = FormatTrailerField(length) + FormatTrailerField(settingsOffset);
  FOut.Write(trailer.data(), trailer.size());
  return length;
}

}  // namespace pixvane
