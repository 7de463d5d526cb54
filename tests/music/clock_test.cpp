// The sequencer across the wrap of the host's millisecond clock.
#include <gtest/gtest.h>

#include <climits>

#include "framework/app.h"
#include "tests/music/sequencer_rig.h"
#include "tests/support/audio_recorder.h"
#include "tests/support/temp_folder.h"

namespace {

TEST(SequencerClock, StepsFallEvery80MsThroughTheClocksWrapWithoutABurst) {
  TempFolder folder;
  setenv("ALSOFT_DRIVERS", "null", 1);
  SequencerRig rig(new RecordingAudio());
  LinkGameData("inst");
  const int start = INT_MAX - 1000;
  rig.host.now = start;
  rig.player->p_Ombi_StartTune(String("silent"), 37171650, 100);
  rig.Load();
  int due = vx_app_MillisecsBetween(start, rig.player->m_nextStepTime);  // ms after the start

  // 60 Hz ticks for three seconds, the clock wrapping after one.
  std::vector<int> steps;  // ms after the start
  for (int tick = 1; tick <= 180; ++tick) {
    int ms = tick * 1000 / 60;
    rig.host.now = vx_app_MillisecsAfter(start, ms);
    int before = rig.player->m_nextStepTime;
    rig.Tick();
    int played = vx_app_MillisecsBetween(before, rig.player->m_nextStepTime) / 80;
    EXPECT_LE(played, 1) << ms;
    if (played == 1) steps.push_back(ms);
  }
  ASSERT_NEAR(steps.size(), (3000 - due) / 80, 1);
  for (int i = 0; i < static_cast<int>(steps.size()); ++i) {
    EXPECT_TRUE(steps[i] > due + 80 * i && steps[i] <= due + 80 * i + 17) << i;  // the first tick after it fell due
  }
}

}  // namespace
