// The channel bank against real OpenAL Soft. Each one-shot lasts a fraction
// of a second.
#include <gtest/gtest.h>

#include <vector>

#include "tests/audio/null_device.h"

namespace {

class Channels : public NullDeviceTest {};

TEST_F(Channels, ReplayingAChannelRestartsItFromTheStartWithTheNewSample) {
  gxtkSample* first = Sample(2.0);
  gxtkSample* second = Sample(2.0, 660);
  audio().PlaySample(first, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return Source(0, AL_SAMPLE_OFFSET) > 4000; }));

  audio().PlaySample(second, 0, 0);
  EXPECT_EQ(Source(0, AL_BUFFER), static_cast<ALint>(second->buffer));
  EXPECT_LT(Source(0, AL_SAMPLE_OFFSET), 4000);
  EXPECT_EQ(AlState(0), AL_PLAYING);
  EXPECT_EQ(audio().ChannelState(0), 1);
  EXPECT_EQ(audio().channels[0].sample, second);

  ASSERT_TRUE(WaitFor([&] { return Source(0, AL_SAMPLE_OFFSET) > 4000; }));
  audio().PlaySample(second, 0, 0);
  EXPECT_LT(Source(0, AL_SAMPLE_OFFSET), 4000);
}

TEST_F(Channels, AFinishedOneShotReadsStoppedAndStaysStoppedThroughPauseAndResume) {
  gxtkSample* shot = Sample(0.1);
  audio().PlaySample(shot, 0, 0);
  audio().PlaySample(Sample(0.1), 1, 1);
  EXPECT_EQ(audio().ChannelState(0), 1);
  EXPECT_EQ(Source(1, AL_LOOPING), AL_TRUE);
  EXPECT_TRUE(WaitFor([&] { return audio().ChannelState(0) == 0; }));
  // The looping one outlives its own length.
  EXPECT_EQ(audio().ChannelState(1), 1);

  audio().PlaySample(shot, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return AlStopped(0); }));
  audio().PauseChannel(0);
  EXPECT_EQ(audio().ChannelState(0), 0);
  audio().ResumeChannel(0);
  EXPECT_EQ(audio().ChannelState(0), 0);
  EXPECT_EQ(AlState(0), AL_STOPPED);

  audio().PauseChannel(1);
  EXPECT_EQ(audio().ChannelState(1), 2);
  EXPECT_EQ(AlState(1), AL_PAUSED);
  audio().ResumeChannel(1);
  EXPECT_EQ(audio().ChannelState(1), 1);
  EXPECT_EQ(AlState(1), AL_PLAYING);
  audio().StopChannel(1);
  EXPECT_EQ(audio().ChannelState(1), 0);
  EXPECT_EQ(AlState(1), AL_STOPPED);
}

TEST_F(Channels, SuspendAndResumeRestartExactlyTheAudibleChannels) {
  audio().PlaySample(Sample(3.0), 0, 0);   // audible
  audio().PlaySample(Sample(3.0), 1, 0);   // paused by the game
  audio().PauseChannel(1);
  audio().PlaySample(Sample(0.05), 2, 0);  // ran out, not yet noticed
  ASSERT_TRUE(WaitFor([&] { return AlStopped(2); }));

  audio().Suspend();
  EXPECT_EQ(AlState(0), AL_PAUSED);
  EXPECT_EQ(AlState(1), AL_PAUSED);
  EXPECT_EQ(AlState(2), AL_STOPPED);
  EXPECT_EQ(audio().channels[0].state, 1);

  audio().Resume();
  EXPECT_EQ(AlState(0), AL_PLAYING);
  EXPECT_EQ(AlState(1), AL_PAUSED);
  EXPECT_EQ(audio().ChannelState(1), 2);
  EXPECT_EQ(AlState(2), AL_STOPPED);
  EXPECT_EQ(audio().ChannelState(2), 0);
  // Channels never used get no source.
  EXPECT_EQ(audio().channels[3].source, 0u);
}

TEST_F(Channels, PanVolumeAndRateStayOnTheSourceWhetherPlayingOrNot) {
  auto position = [&](int ch) {
    ALfloat p[3] = {9, 9, 9};
    alGetSourcefv(audio().channels[ch].source, AL_POSITION, p);
    return std::vector<float>(p, p + 3);
  };
  audio().SetPan(5, 0);
  std::vector<float> ahead = position(5);
  EXPECT_NEAR(ahead[0], 0, 1e-6);
  EXPECT_NEAR(ahead[1], 0, 1e-6);
  EXPECT_NEAR(ahead[2], -1, 1e-6);

  audio().SetPan(5, 1);
  audio().SetVolume(5, 0.25f);
  audio().SetRate(5, 1.5f);
  audio().PlaySample(Sample(0.5), 5, 0);
  std::vector<float> right = position(5);
  EXPECT_NEAR(right[0], 0.84, 0.005);
  EXPECT_NEAR(right[1], 0, 1e-6);
  EXPECT_NEAR(right[2], -0.54, 0.005);
  ALfloat gain = 0, pitch = 0;
  alGetSourcef(audio().channels[5].source, AL_GAIN, &gain);
  alGetSourcef(audio().channels[5].source, AL_PITCH, &pitch);
  EXPECT_FLOAT_EQ(gain, 0.25f);
  EXPECT_FLOAT_EQ(pitch, 1.5f);

  audio().SetPan(6, -1);
  EXPECT_NEAR(position(6)[0], -0.84, 0.005);
}

TEST_F(Channels, ADiscardedBufferIsDeletedOnlyOnceNoChannelHoldsIt) {
  gxtkSample* other = Sample(0.05);

  // A one-shot that runs out by itself.
  gxtkSample* shot = Sample(0.2);
  ALuint shotBuffer = shot->buffer;
  audio().PlaySample(shot, 0, 0);
  shot->Discard();
  EXPECT_EQ(shot->buffer, 0u);
  audio().PlaySample(other, 1, 0);
  EXPECT_TRUE(alIsBuffer(shotBuffer));
  EXPECT_TRUE(Discarded(shotBuffer));
  ASSERT_TRUE(WaitFor([&] { return AlStopped(0); }));
  audio().PlaySample(other, 1, 0);
  EXPECT_FALSE(alIsBuffer(shotBuffer));
  EXPECT_FALSE(Discarded(shotBuffer));

  // A stopped loop and a paused one: only the stopped one lets go.
  gxtkSample* loop = Sample(0.2);
  gxtkSample* paused = Sample(0.2);
  ALuint loopBuffer = loop->buffer, pausedBuffer = paused->buffer;
  audio().PlaySample(loop, 2, 1);
  audio().PlaySample(paused, 3, 1);
  audio().PauseChannel(3);
  loop->Discard();
  paused->Discard();
  audio().PlaySample(other, 1, 0);
  EXPECT_TRUE(alIsBuffer(loopBuffer));
  audio().StopChannel(2);
  audio().PlaySample(other, 1, 0);
  EXPECT_FALSE(alIsBuffer(loopBuffer));
  EXPECT_TRUE(alIsBuffer(pausedBuffer));
  EXPECT_EQ(audio().ChannelState(3), 2);
  EXPECT_TRUE(Discarded(pausedBuffer));
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
  EXPECT_FALSE(Discarded(loopBuffer));
  EXPECT_EQ(loop->buffer, loopBuffer);
  EXPECT_TRUE(Discarded(shotBuffer));
  EXPECT_EQ(audio().channels[1].state, 0);

  audio().StopChannel(0);
  CollectGarbage();
  EXPECT_TRUE(Discarded(loopBuffer));
  audio().PlaySample(new gxtkSample(ToneBuffer(440, 0.05)), 2, 0);
  EXPECT_FALSE(alIsBuffer(loopBuffer));
  EXPECT_FALSE(alIsBuffer(shotBuffer));
  EXPECT_TRUE(gxtkAudio::discarded.empty());
}

}  // namespace
