#include "maker/SequentialJpeg.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <exception>
#include <new>
#include <string>

#include <jpeglib.h>
// jerror.h after jpeglib.h, which it needs.
#include <jerror.h>

#include "package/Picture.h"

namespace pixvane::maker {
namespace {

// libjpeg's errors must not return: jump back to the transcoder, which gives
// up on the file. Warnings (a cut-short file, corrupt data) count too: such
// a file is stored as the maker gave it.
struct TTranscodeError {
  jpeg_error_mgr Manager;
  std::jmp_buf Jump;
  bool Warned = false;
};

void OnError(j_common_ptr info) {
  std::longjmp(reinterpret_cast<TTranscodeError*>(info->err)->Jump, 1);
}

void OnMessage(j_common_ptr info, int level) {
  if (level < 0) reinterpret_cast<TTranscodeError*>(info->err)->Warned = true;
}

// As many pixels as the tool takes from any picture.
constexpr uint64_t MaxPixels = uint64_t{1} << 28;

// The compressed file goes into a vector the transcoder owns, so a jump out
// of libjpeg leaves no buffer of libjpeg's behind to free.
constexpr size_t OutputChunk = size_t{1} << 16;

std::vector<uint8_t>& Output(j_compress_ptr info) {
  return *static_cast<std::vector<uint8_t>*>(info->client_data);
}

void ResumeAt(j_compress_ptr info, size_t used) {
  std::vector<uint8_t>& bytes = Output(info);
  info->dest->next_output_byte = bytes.data() + used;
  info->dest->free_in_buffer = bytes.size() - used;
}

void StartOutput(j_compress_ptr info) {
  Output(info).resize(OutputChunk);
  ResumeAt(info, 0);
}

// Called when libjpeg has filled all it was given: the vector doubles.
boolean GrowOutput(j_compress_ptr info) {
  std::vector<uint8_t>& bytes = Output(info);
  size_t used = bytes.size();
  bool grown = true;
  try {
    bytes.resize(used + std::max(used, OutputChunk));
  } catch (const std::bad_alloc&) {
    grown = false;
  }
  if (!grown) ERREXIT(info, JERR_OUT_OF_MEMORY);
  ResumeAt(info, used);
  return TRUE;
}

void EndOutput(j_compress_ptr info) {
  Output(info).resize(Output(info).size() - info->dest->free_in_buffer);
}

// A decompressor and a compressor over the same error manager, destroyed
// with the object. The structures are zeroed until created, which libjpeg's
// destroy calls accept.
class TTranscoder {
 public:
  explicit TTranscoder(const std::vector<uint8_t>& jpeg) : FJpeg(jpeg) {
    FSource.err = FTarget.err = jpeg_std_error(&FError.Manager);
    FError.Manager.error_exit = OnError;
    FError.Manager.emit_message = OnMessage;
  }
  ~TTranscoder() {
    jpeg_destroy_compress(&FTarget);
    jpeg_destroy_decompress(&FSource);
  }
  TTranscoder(const TTranscoder&) = delete;
  TTranscoder& operator=(const TTranscoder&) = delete;

  // The jump lands here; everything past it that needs destroying is a
  // member, so nothing is skipped.
  std::optional<std::vector<uint8_t>> Run() {
    if (setjmp(FError.Jump)) return std::nullopt;
    jpeg_create_decompress(&FSource);
    jpeg_create_compress(&FTarget);
    if (!ReadProgressiveHeader()) return std::nullopt;
    jvirt_barray_ptr* coefficients = jpeg_read_coefficients(&FSource);
    if (!coefficients || FError.Warned || !EveryBitCame()) return std::nullopt;
    Write(coefficients);
    jpeg_finish_decompress(&FSource);
    if (FError.Warned) return std::nullopt;
    return std::move(FBytes);
  }

 private:
  // False for a sequential file and one larger than the tool takes.
  bool ReadProgressiveHeader() {
    jpeg_mem_src(&FSource, const_cast<uint8_t*>(FJpeg.data()),
                 static_cast<unsigned long>(FJpeg.size()));
    jpeg_save_markers(&FSource, JPEG_COM, 0xFFFF);
    for (int n = 0; n < 16; ++n) jpeg_save_markers(&FSource, JPEG_APP0 + n, 0xFFFF);
    jpeg_read_header(&FSource, TRUE);
    return FSource.progressive_mode &&
           uint64_t{FSource.image_width} * FSource.image_height <= MaxPixels;
  }

  // A progression may stop before the last bit of every coefficient; libjpeg
  // then smooths such blocks as it decodes them, which a sequential file
  // cannot ask for, so it would show other pixels.
  bool EveryBitCame() const {
    for (int c = 0; c < FSource.num_components; ++c)
      for (int k = 0; k < DCTSIZE2; ++k)
        if (FSource.coef_bits[c][k] != 0) return false;
    return true;
  }

  void Write(jvirt_barray_ptr* coefficients) {
    jpeg_copy_critical_parameters(&FSource, &FTarget);  // not progressive
    FTarget.optimize_coding = TRUE;
    // A restart marker after every MCU row, a few bytes each: the player
    // decodes the file's two halves on two cores from one of them.
    FTarget.restart_in_rows = 1;
    // The file's own JFIF and Adobe markers are among those copied below,
    // which keeps the colour space they tell a decoder exactly as it was.
    FTarget.write_JFIF_header = FALSE;
    FTarget.write_Adobe_marker = FALSE;
    FTarget.client_data = &FBytes;
    FTarget.dest = &FDestination;
    FDestination.init_destination = StartOutput;
    FDestination.empty_output_buffer = GrowOutput;
    FDestination.term_destination = EndOutput;
    jpeg_write_coefficients(&FTarget, coefficients);
    for (jpeg_saved_marker_ptr marker = FSource.marker_list; marker; marker = marker->next)
      jpeg_write_marker(&FTarget, marker->marker, marker->data, marker->data_length);
    jpeg_finish_compress(&FTarget);
  }

  const std::vector<uint8_t>& FJpeg;
  TTranscodeError FError;
  jpeg_decompress_struct FSource{};
  jpeg_compress_struct FTarget{};
  jpeg_destination_mgr FDestination{};
  std::vector<uint8_t> FBytes;
};

// The new file must decode whole, at the size of the old one.
bool DecodesLike(const std::vector<uint8_t>& sequential, const std::vector<uint8_t>& jpeg) {
  try {
    TJPEGImage before(jpeg), after(sequential);
    std::vector<std::string> warnings;
    after.Decode(8, &warnings);
    return warnings.empty() && !after.Progressive() && after.Width() == before.Width() &&
           after.Height() == before.Height() && after.Grayscale() == before.Grayscale();
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace

std::optional<std::vector<uint8_t>> SequentialJpeg(const std::vector<uint8_t>& jpeg) {
  std::optional<std::vector<uint8_t>> sequential = TTranscoder(jpeg).Run();
  if (!sequential || !DecodesLike(*sequential, jpeg)) return std::nullopt;
  return sequential;
}

}  // namespace pixvane::maker
