#include "show/SlidePreparer.h"

#include <utility>

#include "base/Stream.h"

namespace pixvane {

void TSlidePreparer::Start(const TOpen& open, TWork work) {
  Discard();
  FPending = true;
  try {
    FFile = open();
  } catch (...) {
    // Raised when the slide is taken, as an error of the work would be.
    FError = std::current_exception();
    FDone = true;
    return;
  }
  FWork = std::move(work);
  if (FBackground) FWorker = std::thread([this] { Run(); });
}

void TSlidePreparer::Run() {
  try {
    FSlide = FWork(*FFile);
  } catch (...) {
    FError = std::current_exception();
  }
  FDone = true;
}

void TSlidePreparer::Wait() {
  if (FWorker.joinable()) FWorker.join();
}

TSlidePreparer::TPrepared TSlidePreparer::Take() {
  Wait();
  if (FPending && !FDone) Run();  // no worker: the work runs now
  FPending = false;
  FWork = nullptr;
  TPrepared prepared{std::move(FSlide), std::move(FFile)};
  FSlide = {};
  if (FError) std::rethrow_exception(std::exchange(FError, nullptr));
  return prepared;
}

void TSlidePreparer::Discard() {
  Wait();
  FPending = false;
  FDone = false;
  FWork = nullptr;
  FFile.reset();
  FSlide = {};
  FError = nullptr;
}

}  // namespace pixvane
