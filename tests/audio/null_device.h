// A fresh audio device on OpenAL Soft's null backend, which plays silently in
// real time, with the collector rooted at the device alone.
#pragma once
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "audio/audio_device.h"
#include "runtime/gc.h"
#include "tests/audio/sound_files.h"

// Polls for up to three seconds.
template <typename Done>
bool WaitFor(Done done) {
  for (int i = 0; i < 600 && !done(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  return done();
}

class NullDeviceTest : public testing::Test {
 protected:
  static inline gxtkAudio* device = nullptr;
  static void MarkDevice() { gc_queue(device); }

  void SetUp() override {
    setenv("ALSOFT_DRIVERS", "null", 1);  // read when the first device opens
    // An earlier test's leftovers: buffer names are per device.
    device = nullptr;
    gc_init2(MarkDevice);
    CollectGarbage();
    gxtkAudio::discarded.clear();
    device = new gxtkAudio();
    gc_queue(device);
    ASSERT_NE(device->alcContext, nullptr);
  }

  gxtkAudio& audio() { return *device; }

  ALint Source(int ch, ALenum param) {
    ALint value = -1;
    alGetSourcei(audio().channels[ch].source, param, &value);
    return value;
  }
  ALint AlState(int ch) { return Source(ch, AL_SOURCE_STATE); }
  bool AlStopped(int ch) { return AlState(ch) == AL_STOPPED; }

  static gxtkSample* Sample(double seconds, double hertz = 440) { return new gxtkSample(ToneBuffer(hertz, seconds)); }

  // Collects everything unreachable from the device and destroys it.
  static void CollectGarbage() {
    gc_collect_all();
    gc_collect_all();
    while (gc_free_bytes > 0) gc_object::operator delete(gc_object_alloc(8), 8);
  }
};
