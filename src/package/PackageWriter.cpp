#include "package/PackageWriter.h"

#include <limits>

#include "base/Errors.h"
#include "base/Stream.h"
#include "package/ObjectStream.h"
#include "package/Package.h"
#include "package/Picture.h"

namespace pixvane {

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
  int32_t settingsOffset = Offset();
  WriteObject(FOut, FSettings);
  int64_t length = FOut.Position() - FStart;
  Offset();  // the trailer's fields must also fit
  std::string trailer = FormatTrailerField(length) + FormatTrailerField(settingsOffset);
  FOut.Write(trailer.data(), trailer.size());
  return length;
}

}  // namespace pixvane
