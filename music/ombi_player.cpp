// The player object, starting a tune with its seeded draws, and the random
// numbers every draw uses.
#include "music/ombi_player.h"

#include <cmath>
#include <cstdint>

#include "framework/app.h"
#include "framework/random.h"
#include "music/ombi_tables.h"

c_OmbiPlayer::c_OmbiPlayer() {
  gc_assign(m_poolSizes, Array<int>(OMBI_POOLS));
  gc_assign(m_picks, Array<int>(OMBI_POOLS));
  gc_assign(m_drumsA, Array<c_Sound*>(OMBI_KIT_SAMPLES + 1));
  gc_assign(m_drumsB, Array<c_Sound*>(OMBI_KIT_SAMPLES + 1));
  gc_assign(m_instruments, Array<c_Sound*>(OMBI_MUSIC_CHANNELS));
  gc_assign(m_cells, Array<int>(OMBI_CELLS));
  gc_assign(m_lastVariant, Array<int>(OMBI_BANDS));
  gc_assign(m_audioChannel, Array<int>(OMBI_MUSIC_CHANNELS));
  gc_assign(m_sounding, Array<int>(OMBI_MUSIC_CHANNELS));
  gc_assign(m_variant, Array<int>(OMBI_MUSIC_CHANNELS));
  gc_assign(m_mute, Array<int>(OMBI_MUSIC_CHANNELS));
  gc_assign(m_earlyEntry, Array<int>(OMBI_MUSIC_CHANNELS));
  gc_assign(m_muteNext, Array<int>(OMBI_MUSIC_CHANNELS));
  gc_assign(m_rate, Array<float>(OMBI_MUSIC_CHANNELS));
  gc_assign(m_envelope, Array<float>(OMBI_MUSIC_CHANNELS));
  gc_assign(m_lastVolume, Array<float>(OMBI_MUSIC_CHANNELS));
}

void c_OmbiPlayer::mark() {
  gc_queue(m_poolSizes);
  gc_queue(m_picks);
  gc_queue(m_drumsA);
  gc_queue(m_drumsB);
  gc_queue(m_instruments);
  gc_queue(m_tuneImage);
  gc_queue(m_cells);
  gc_queue(m_lastVariant);
  gc_queue(m_audioChannel);
  gc_queue(m_sounding);
  gc_queue(m_variant);
  gc_queue(m_mute);
  gc_queue(m_earlyEntry);
  gc_queue(m_muteNext);
  gc_queue(m_rate);
  gc_queue(m_envelope);
  gc_queue(m_lastVolume);
}

int c_OmbiPlayer::p_Ombi_Init(int top, int kits, int leads, int accomps, int basses) {
  m_topChannel = top;
  m_poolSizes[1] = kits;
  m_poolSizes[2] = leads;
  m_poolSizes[3] = accomps;
  m_poolSizes[4] = basses;
  return 0;
}

int c_OmbiPlayer::p_Rand(float lo, float hi) {
  return static_cast<int>(std::floor(vx_random_Rnd() * ((hi + 0.99f) - lo) + lo));
}

int c_OmbiPlayer::p_Ombi_StartTune(String name, int seed, int tempo) {
  String path = String("tunes/") + name + String(".png");
  m_variation = 0;
  m_tuneSeed = seed;
  m_nextStepTime = vx_app_MillisecsAfter(vx_app_Millisecs(), OMBI_START_DELAY_MS);
  m_step = 0;
  m_state = 2;
  // A step lasts 8000 / tempo ms: a tempo that is not positive keeps the old one.
  if (tempo > 0) m_tempo = tempo;
  if (path != m_tunePath) {
    m_loadStep = 1;
    m_tunePath = path;
    for (int i = 0; i < m_channelCount; ++i) {
      m_lastVariant[i] = 0;
      m_variant[i] = 0;
    }
  }
  for (int i = 0; i < m_channelCount; ++i) m_audioChannel[i] = m_topChannel - 1 - i;

  vx_random_Seed = kOmbiChannelSeed.Of(static_cast<uint32_t>(m_tuneSeed) + static_cast<uint32_t>(m_variation));
  for (const OmbiPick& p : kOmbiPicks) m_picks[p.pick] = p_Rand(1, static_cast<float>(m_poolSizes[p.pool]));

  // Before the first load the variant counts are 0, so every channel starts on variant 0.
  for (int i = 0; i < m_channelCount; ++i) {
    vx_random_Seed = kOmbiChannelSeed.Of(ChannelSeed(i));
    m_variant[i] = p_Rand(0, static_cast<float>(m_lastVariant[i]));
    m_muteNext[i] = p_Rand(0, 1);
    m_earlyEntry[i] = p_Rand(0, 1);
    m_mute[i] = p_Rand(0, 1);
  }
  if (m_mute[OMBI_DRUMS_A] == 1 && m_mute[OMBI_DRUMS_B] == 1) m_mute[OMBI_DRUMS_A] = 0;
  m_patternsLeft = p_Rand(1, 2) * 2;
  m_chords = String(OMBI_FIRST_CHORDS);
  return 0;
}

uint32_t c_OmbiPlayer::SectionSeed() const {
  return static_cast<uint32_t>(m_variation) * OMBI_SECTION_STRIDE + static_cast<uint32_t>(m_tuneSeed);
}

uint32_t c_OmbiPlayer::ChannelSeed(int channel) const {
  return SectionSeed() + static_cast<uint32_t>(channel) * OMBI_CHANNEL_STRIDE;
}
