// The channel bank against real OpenAL Soft.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/audio/null_device.h"

namespace {

class Channels : public NullDeviceTest {
 protected:
  // The program's view of a channel, then OpenAL's.
  void ExpectState(int ch, int state, ALint alState) {
    EXPECT_EQ(audio().ChannelState(ch), state) << "channel " << ch;
    EXPECT_EQ(AlState(ch), alState) << "channel " << ch;
  }
};

TEST_F(Channels, ReplayingAChannelRestartsItFromTheStartWithTheNewSample) {
  auto playedOn = [&] { return WaitFor([&] { return Source(0, AL_SAMPLE_OFFSET) > 4000; }); };
  gxtkSample* second = Sample(2.0, 660);
  audio().PlaySample(Sample(2.0), 0, 0);
  ASSERT_TRUE(playedOn());
  audio().PlaySample(second, 0, 0);
  EXPECT_EQ(Source(0, AL_BUFFER), static_cast<ALint>(second->buffer));
  EXPECT_LT(Source(0, AL_SAMPLE_OFFSET), 4000);
  ExpectState(0, 1, AL_PLAYING);

  ASSERT_TRUE(playedOn());
  audio().PlaySample(second, 0, 0);
  EXPECT_LT(Source(0, AL_SAMPLE_OFFSET), 4000);
}

TEST_F(Channels, SuspendAndResumeRestartExactlyTheAudibleChannelsAndEndedOneShotsStayStopped) {
  audio().PlaySample(Sample(3.0), 0, 0);  // audible
  audio().PlaySample(Sample(3.0), 1, 0);  // paused by the game
  audio().PauseChannel(1);
  audio().PlaySample(Sample(0.05), 2, 0);  // runs out, not yet noticed
  audio().PlaySample(Sample(0.05), 3, 0);  // runs out, then paused and resumed
  audio().PlaySample(Sample(0.05), 4, 1);  // loops past its length
  ASSERT_TRUE(WaitFor([&] { return AlStopped(2) && AlStopped(3); }));
  audio().PauseChannel(3);
  audio().ResumeChannel(3);
  ExpectState(3, 0, AL_STOPPED);
  ExpectState(4, 1, AL_PLAYING);

  audio().Suspend();
  EXPECT_EQ(AlState(0), AL_PAUSED);
  EXPECT_EQ(AlState(1), AL_PAUSED);
  EXPECT_EQ(AlState(2), AL_STOPPED);
  audio().Resume();
  ExpectState(0, 1, AL_PLAYING);
  ExpectState(1, 2, AL_PAUSED);
  ExpectState(2, 0, AL_STOPPED);
}

TEST_F(Channels, PanAndRateSetBeforePlayingAreKeptAndARateThatIsNotAFiniteNumberAboveZeroIsIgnored) {
  audio().SetPan(5, 1);
  audio().SetRate(5, 2);
  for (float rate : {0.0f, -1.0f, NAN, INFINITY}) audio().SetRate(5, rate);
  audio().PlaySample(Sample(0.5), 5, 0);
  ALfloat p[3] = {}, pitch = 0;
  alGetSourcefv(audio().channels[5].source, AL_POSITION, p);
  alGetSourcef(audio().channels[5].source, AL_PITCH, &pitch);
  EXPECT_NEAR(std::hypot(p[0], p[2]), 1, 1e-5);  // on a unit circle ahead, to the right
  EXPECT_GT(p[0], 0.5f);
  EXPECT_LT(p[2], 0);
  EXPECT_EQ(pitch, 2.0f);
  EXPECT_EQ(alGetError(), AL_NO_ERROR);
}

TEST_F(Channels, ADiscardedBufferIsDeletedOnlyOnceNoChannelHoldsIt) {
  // Every PlaySample flushes the discarded buffers first.
  gxtkSample* other = Sample(0.05);
  auto flush = [&] { audio().PlaySample(other, 1, 0); };
  gxtkSample* shot = Sample(0.2);
  gxtkSample* loop = Sample(0.2);
  gxtkSample* paused = Sample(0.2);
  ALuint shotBuffer = shot->buffer, loopBuffer = loop->buffer, pausedBuffer = paused->buffer;
  audio().PlaySample(shot, 0, 0);
  audio().PlaySample(loop, 2, 1);
  audio().PlaySample(paused, 3, 1);
  audio().PauseChannel(3);
  for (gxtkSample* sample : {shot, loop, paused}) sample->Discard();
  flush();
  EXPECT_TRUE(alIsBuffer(shotBuffer));
  EXPECT_TRUE(alIsBuffer(loopBuffer));

  // The one-shot runs out by itself, the loop is stopped, the paused one waits.
  ASSERT_TRUE(WaitFor([&] { return AlStopped(0); }));
  audio().StopChannel(2);
  flush();
  EXPECT_FALSE(alIsBuffer(shotBuffer));
  EXPECT_FALSE(alIsBuffer(loopBuffer));
  EXPECT_TRUE(alIsBuffer(pausedBuffer));
  EXPECT_EQ(gxtkAudio::discarded, std::vector<ALuint>{pausedBuffer});
  ExpectState(3, 2, AL_PAUSED);
}

TEST_F(Channels, SoundingSamplesSurviveCollectionAndDroppedOnesGiveUpTheirBuffers) {
  gxtkSample* loop = Sample(0.2);
  gxtkSample* shot = Sample(0.05);
  ALuint loopBuffer = loop->buffer, shotBuffer = shot->buffer;
  audio().PlaySample(loop, 0, 1);
  audio().PlaySample(shot, 1, 0);
  ASSERT_TRUE(WaitFor([&] { return AlStopped(1); }));

  // Nothing but the channels refers to either sample now.
  CollectGarbage();
  EXPECT_EQ(loop->buffer, loopBuffer);
  EXPECT_EQ(gxtkAudio::discarded, std::vector<ALuint>{shotBuffer});

  audio().StopChannel(0);
  CollectGarbage();
  audio().PlaySample(Sample(0.05), 2, 0);
  EXPECT_FALSE(alIsBuffer(loopBuffer));
  EXPECT_FALSE(alIsBuffer(shotBuffer));
  EXPECT_TRUE(gxtkAudio::discarded.empty());
}

}  // namespace
