#pragma once
#include <cstdint>
#include <optional>

namespace pixvane {

// How early the show timer fires so that a slide's first frame is on screen
// when the slide is due, not after it. Between the tick and that frame lies
// work the show can only do then: taking the prepared slide, its captions,
// the transition's set-up and the paint. How long it takes is learnt from
// the slides shown so far; a still clock (the rendered show's) learns none.
class TTickLead {
 public:
  // The timer's delay, at nowMs, for the next slide: it is due intervalMs
  // after the transition to this one ended at endedMs.
  uint32_t Arm(uint32_t endedMs, uint32_t intervalMs, uint32_t nowMs);
  // A slide was taken at takenMs, ready to show; its first frame showed at
  // shownMs. The first slide, due at no time, gives the work's length.
  void Taken(uint32_t takenMs) { FTakenMs = takenMs; }
  void Shown(uint32_t shownMs);
  int32_t LeadMs() const { return FLeadMs; }

 private:
  int32_t FLeadMs = 0;
  std::optional<uint32_t> FDueMs, FTakenMs;
};

}  // namespace pixvane
