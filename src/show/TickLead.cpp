#include "show/TickLead.h"

#include <algorithm>

namespace pixvane {
namespace {

// A tick that had to wait for its slide (a picture still being read) is no
// measure of the usual work: the lead stays within a few frames.
constexpr int32_t MaxLeadMs = 100;

}  // namespace

uint32_t TTickLead::Arm(uint32_t endedMs, uint32_t intervalMs, uint32_t nowMs) {
  FDueMs = endedMs + intervalMs;
  // A short interval keeps most of its time on screen.
  const uint32_t wait = intervalMs - std::min(static_cast<uint32_t>(FLeadMs), intervalMs / 4);
  // What ran since the transition ended (the next slide set going) is
  // part of the wait, not added to it.
  return std::max(wait - std::min(nowMs - endedMs, wait), 1u);
}

void TTickLead::Shown(uint32_t shownMs) {
  if (FDueMs)
    // Half of each miss: one slow tick does not swing the next.
    FLeadMs += static_cast<int32_t>(shownMs - *FDueMs) / 2;
  else if (FTakenMs)
    FLeadMs = static_cast<int32_t>(shownMs - *FTakenMs);
  else
    return;
  FLeadMs = std::clamp(FLeadMs, 0, MaxLeadMs);
  FDueMs.reset();
  FTakenMs.reset();
}

}  // namespace pixvane
