#include "studio/ShowPreview.h"

#include <fstream>
#include <iterator>

#include "maker/Build.h"
#include "maker/FileKind.h"
#include "maker/JpegEncoder.h"
#include "maker/OutputFile.h"
#include "maker/Reduce.h"
#include "maker/ShowRender.h"
#include "maker/ToolError.h"
#include "maker/Upright.h"

namespace pixvane::studio {
namespace {

namespace fs = std::filesystem;

// How much of a show one run plays: enough for a few pictures and their
// transitions; a change restarts it anyway.
constexpr int PreviewSeconds = 30;
constexpr int PreviewQuality = 85;
// A moving picture's frames a second: each one is painted at the screen's
// size and sent as a JPEG, and 60 of those a second are more than a
// studio keeps up with, so the preview would fall behind the player's pace.
constexpr int PreviewMotionFps = 20;

// Thrown from the image sink to end a run that a newer one replaced.
struct TStopped {};

}  // namespace

struct TShowPreview::TRun {
  int Number = 0;
  std::atomic<bool> Stop{false};
  bool Ended = false;
  std::string Problem;
  std::vector<TFrame> Frames;
};

TShowPreview::TShowPreview(fs::path player, fs::path scratch)
    : FPlayer(std::move(player)), FScratch(std::move(scratch)) {}

TShowPreview::~TShowPreview() {
  Stop();
}

void TShowPreview::Stop() {
  std::lock_guard<std::mutex> starting(FStartLock);
  StopRun();
}

void TShowPreview::StopRun() {
  {
    std::lock_guard<std::mutex> lock(FLock);
    if (FRun) FRun->Stop = true;
  }
  if (FThread.joinable()) FThread.join();
  FChanged.notify_all();
}

int TShowPreview::Start(const maker::TManifest& manifest, int width, int height) {
  if (width < 16 || height < 16 || width > 7680 || height > 4320)
    throw maker::EToolError("the screen size must be between 16 x 16 and 7680 x 4320");
  std::lock_guard<std::mutex> starting(FStartLock);
  StopRun();
  auto run = std::make_shared<TRun>();
  {
    std::lock_guard<std::mutex> lock(FLock);
    run->Number = ++FRuns;
    FRun = run;
  }
  FThread =
      std::thread([this, run, manifest, width, height] { Play(run, manifest, width, height); });
  return run->Number;
}

void TShowPreview::Play(std::shared_ptr<TRun> run, maker::TManifest manifest, int width,
                        int height) {
  fs::path saver = FScratch / ("preview-" + std::to_string(run->Number) + ".scr");
  std::string problem;
  try {
    // The preview shows pictures no larger than its screen, which is what
    // the player shows of them anyway, and builds much faster.
    if (manifest.MaxWidth == 0 || manifest.MaxWidth > width || manifest.MaxHeight > height) {
      manifest.MaxWidth = width;
      manifest.MaxHeight = height;
    }
    UseScreenSizedCopies(manifest, manifest.MaxWidth, manifest.MaxHeight, *run);
    maker::BuildManifest(manifest, {manifest.File, saver, FPlayer},
                         [&](int, int, const std::string&) {
                           if (run->Stop) throw TStopped();
                         });
    maker::TShowRenderOptions options{saver, {}, width, height, PreviewSeconds};
    options.MotionFps = PreviewMotionFps;
    // The page shows each image when its own clock reaches it: one painted
    // too late would hold every later one back.
    options.KeepPace = true;
    maker::PlayShow(options, [&](const TBitmap& image, uint32_t atMs) {
      if (run->Stop) throw TStopped();
      TFrame frame;
      std::vector<uint8_t> jpeg = maker::EncodeJpeg(image, PreviewQuality);
      frame.Jpeg.assign(jpeg.begin(), jpeg.end());
      frame.AtMs = atMs;
      std::lock_guard<std::mutex> lock(FLock);
      // An image replaced at the same moment was never on screen.
      if (!run->Frames.empty() && run->Frames.back().AtMs == atMs)
        run->Frames.back() = std::move(frame);
      else
        run->Frames.push_back(std::move(frame));
      FChanged.notify_all();
    });
  } catch (const TStopped&) {
  } catch (const std::exception& e) {
    problem = e.what();
  }
  std::error_code ignored;
  fs::remove(saver, ignored);
  std::lock_guard<std::mutex> lock(FLock);
  run->Ended = true;
  run->Problem = problem;
  FChanged.notify_all();
}

void TShowPreview::UseScreenSizedCopies(maker::TManifest& manifest, int width, int height,
                                        const TRun& run) {
  for (maker::TSourceFile& picture : manifest.Pictures) {
    if (run.Stop) throw TStopped();
    std::error_code error;
    auto changed = fs::last_write_time(picture.Path, error).time_since_epoch().count();
    std::string key = picture.Path.string() + "|" + std::to_string(changed) + "|" +
                      std::to_string(fs::file_size(picture.Path, error)) + "|" +
                      std::to_string(manifest.AutoRotate) + "|" + std::to_string(width) + "x" +
                      std::to_string(height);
    fs::path copy;
    {
      std::lock_guard<std::mutex> lock(FLock);
      auto found = FCopies.find(key);
      if (found != FCopies.end()) copy = found->second;
    }
    if (copy.empty()) {
      std::ifstream in(picture.Path, std::ios::binary);
      std::vector<uint8_t> jpeg((std::istreambuf_iterator<char>(in)), {});
      // PNG, HEIC and damaged files go to the build as they are, which
      // converts them or says what is wrong.
      if (maker::DescribeFileKind(jpeg) != "a JPEG picture") continue;
      try {
        if (manifest.AutoRotate && maker::ExifOrientation(jpeg) != 1)
          jpeg = maker::TurnUpright(jpeg);
        if (auto smaller = maker::ReduceJpeg(jpeg, width, height)) jpeg = std::move(*smaller);
      } catch (const std::exception&) {
        continue;
      }
      std::lock_guard<std::mutex> lock(FLock);
      copy = FScratch / ("picture-" + std::to_string(FCopies.size() + 1) + ".jpg");
      maker::WriteOutputFile(copy, jpeg);
      FCopies[key] = copy;
    }
    picture.Path = copy;
  }
  manifest.AutoRotate = false;  // the copies are upright
}

TShowPreview::TWait TShowPreview::Wait(int number, size_t index, TFrame& frame, int timeoutMs,
                                       std::string& problem) {
  std::unique_lock<std::mutex> lock(FLock);
  std::shared_ptr<TRun> run = FRun;
  if (!run || run->Number != number) return TWait::Replaced;
  // The last image of a run that is still playing may yet be replaced at
  // the same moment, so it is handed out once a later one exists.
  auto ready = [&] { return run->Stop || run->Ended || run->Frames.size() > index + 1; };
  FChanged.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready);
  if (run->Stop && !run->Ended) return TWait::Replaced;
  if (index < run->Frames.size() && (run->Ended || run->Frames.size() > index + 1)) {
    frame = run->Frames[index];
    return TWait::Frame;
  }
  if (!run->Problem.empty()) {
    problem = run->Problem;
    return TWait::Failed;
  }
  return run->Ended ? TWait::Ended : TWait::Pending;
}

}  // namespace pixvane::studio
