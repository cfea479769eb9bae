#include "show/TickLead.h"

#include <gtest/gtest.h>

namespace pixvane {
namespace {

TEST(TickLeadTest, FirstSlideSeedsTheLeadAndMissesAdjustIt) {
  TTickLead lead;
  EXPECT_EQ(lead.Arm(1000, 4000, 1000), 4000u) << "nothing learnt yet: the whole interval";
  lead.Shown(5030);  // due at 5000, 30 ms late
  EXPECT_EQ(lead.LeadMs(), 15) << "half of a miss";

  TTickLead seeded;
  seeded.Taken(200);
  seeded.Shown(224);  // the first slide: 24 ms of work between taking and showing
  EXPECT_EQ(seeded.LeadMs(), 24);
  EXPECT_EQ(seeded.Arm(1000, 4000, 1006), 4000u - 24 - 6)
      << "the work since the transition ended is part of the wait";
  seeded.Shown(4990);  // due at 5000: 10 ms early
  EXPECT_EQ(seeded.LeadMs(), 19);
  seeded.Shown(9000);  // not armed since: learns nothing
  EXPECT_EQ(seeded.LeadMs(), 19);
}

TEST(TickLeadTest, StaysWithinItsBounds) {
  TTickLead lead;
  lead.Taken(0);
  lead.Shown(5000);  // a tick that waited seconds for its picture
  EXPECT_EQ(lead.LeadMs(), 100);
  EXPECT_EQ(lead.Arm(0, 200, 0), 150u) << "a short interval keeps three quarters";
  EXPECT_EQ(lead.Arm(0, 4000, 9000), 1u) << "long past its time: at once, never a zero timer";
  lead.Shown(0);  // far early
  EXPECT_EQ(lead.LeadMs(), 0);
  lead.Arm(0, 4000, 0);
  lead.Shown(4000);  // a still clock: exactly on time
  EXPECT_EQ(lead.LeadMs(), 0);
  EXPECT_EQ(lead.Arm(4000, 4000, 4000), 4000u);
}

}  // namespace
}  // namespace pixvane
