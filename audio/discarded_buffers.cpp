// Deferred deletion of sample buffers. OpenAL refuses to delete a buffer that
// a source still holds, and a sample may be discarded or collected while its
// channel plays it, so buffers wait in `discarded` until no source holds them.
#include "audio/audio_device.h"

std::vector<ALuint> gxtkAudio::discarded;

gxtkSample::~gxtkSample() { Discard(); }

int gxtkSample::Discard() {
  if (buffer) gxtkAudio::discarded.push_back(buffer);
  buffer = 0;
  return 0;
}

void gxtkAudio::FlushDiscarded() {
  if (discarded.empty()) return;

  // Any source that is not sounding lets go of its buffer; PlaySample attaches
  // a fresh one anyway. Channels already seen as stopped count too, or their
  // last buffer would wait until the channel is played again.
  for (gxtkChannel& channel : channels) {
    if (!channel.source) continue;
    ALint state = SourceState(channel);
    if (state == AL_PLAYING || state == AL_PAUSED) continue;
    if (channel.state != 0) NoticeStopped(channel);
    alSourcei(channel.source, AL_BUFFER, 0);
  }

  size_t kept = 0;
  for (ALuint name : discarded) {
    // A stale error would make a deleted name look kept, and a later flush
    // could then delete a new buffer that reused the name.
    alGetError();
    alDeleteBuffers(1, &name);
    // Only "in use" is worth retrying; any other failure never heals.
    if (alGetError() == AL_INVALID_OPERATION) discarded[kept++] = name;
  }
  discarded.resize(kept);
}
