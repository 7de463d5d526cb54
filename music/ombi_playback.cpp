// Playback: stepping on the host's millisecond clock, one cell per channel per
// step, the volume envelope, pitch slides, the chord queue and sections.
#include <algorithm>

#include "framework/app.h"
#include "framework/random.h"
#include "music/ombi_player.h"
#include "music/ombi_tables.h"

void c_OmbiPlayer::StopSounding() {
  for (int i = 0; i < m_channelCount; ++i) {
    if (m_audioChannel[i] > 0 && m_sounding[i] == 1) {
      vx_audio_StopChannel(m_audioChannel[i]);
      m_sounding[i] = 0;
    }
  }
}

int c_OmbiPlayer::p_Ombi_Stop(int all) {
  StopSounding();
  if (all == 1) m_state = 0;
  return 0;
}

int c_OmbiPlayer::p_Ombi_Alive_U(int paused, int musicOn) {
  if (m_state == 0) StopSounding();
  if (m_state == 2 && paused == 0 && m_loadStep == 0 && musicOn == 1) p_Ombi_MusicPlay();
  // Timed from the last paused tick, so a pause of any length ends without catch-up steps.
  if (paused == 1) m_nextStepTime = vx_app_MillisecsAfter(vx_app_Millisecs(), OMBI_RESUME_DELAY_MS);
  if (m_state == 2 && (paused == 1 || musicOn == 0)) StopSounding();
  return 0;
}

int c_OmbiPlayer::p_Ombi_MusicPlay() {
  int ahead = vx_app_MillisecsBetween(vx_app_Millisecs(), m_nextStepTime);
  if (!(ahead < 0 || ahead > OMBI_FAR_FUTURE_MS)) return 0;

  for (int ch = 0; ch < m_channelCount; ++ch) {
    int v = m_variant[ch];
    int at = CellAt(v, ch, m_step);
    if (m_cells[at + OMBI_EFFECT] == OMBI_VARIANT_JUMP) {
      int param = m_cells[at + OMBI_PARAM];
      int target = v;
      if (param == 1 && m_patternsLeft % 2 != 0) target = v + 1;
      if (param == 2 && m_patternsLeft % 2 == 0) target = v - 1;
      // Only to a variant that was read from the image; otherwise the jump cell plays.
      if (target != v && target >= 0 && target < OMBI_VARIANTS) {
        m_variant[ch] = target;
        at = CellAt(target, ch, m_step);
      }
    }
    p_Ombi_PlayNote(ch, m_cells[at + OMBI_PITCH], m_cells[at + OMBI_VOLUME], m_cells[at + OMBI_EFFECT],
                    m_cells[at + OMBI_PARAM]);
    if (m_cells[at + OMBI_EFFECT] == OMBI_PATTERN_BREAK) m_step = OMBI_STEPS - 1;
  }

  // From the previous due time, not from now: a late tick does not stretch the tune.
  m_nextStepTime = vx_app_MillisecsAfter(m_nextStepTime, OMBI_TEMPO_MS / m_tempo);
  m_step = (m_step + 1) % OMBI_STEPS;
  if (m_step != 0) return 0;

  // Pattern end: the next chord letter; a drawn string starts at its second.
  vx_random_Seed = kOmbiChordSeed.Of(SectionSeed());
  if (m_chords.Length() == 1) m_chords = p_Ombi_GetChord(p_Rand(0, OMBI_CHORD_DRAW)) + String(" ");
  if (m_chords.Length() > 1) m_chords = m_chords.Slice(1);

  if (--m_patternsLeft > 0) return 0;

  // Section change.
  vx_random_Seed = kOmbiSectionSeed.Of(SectionSeed());
  for (int i = 0; i < OMBI_SECTION_SKIPPED_DRAWS; ++i) p_Rand(1, 5);
  m_patternsLeft = p_Rand(1, 2) * 2;
  ++m_variation;
  for (int i = 0; i < m_channelCount; ++i) {
    vx_random_Seed = kOmbiChannelSeed.Of(ChannelSeed(i));
    m_variant[i] = p_Rand(0, static_cast<float>(m_lastVariant[i]));
    if (m_state > 1) m_mute[i] = m_muteNext[i];
    m_muteNext[i] = p_Rand(0, 1);
    m_earlyEntry[i] = p_Rand(0, 1);
  }
  if (m_state > 1 && m_mute[OMBI_DRUMS_A] == 1 && m_mute[OMBI_DRUMS_B] == 1) m_mute[OMBI_DRUMS_A] = 0;
  return 0;
}

namespace {

// Drum number 1..8 of a pitch, 0 when no drum has it.
int DrumOf(int pitch) {
  for (int n = 1; n <= OMBI_KIT_SAMPLES; ++n) {
    if (kOmbiDrumPitches[n] == pitch) return n;
  }
  return 0;
}

}  // namespace

int c_OmbiPlayer::p_Ombi_PlayNote(int ch, int pitch, int volume, int effect, int param) {
  int muted = m_mute[ch];
  if (m_state <= 1) {
    m_chordRatio = 1.0f;
  } else {
    // In the last rows of a section a channel may already follow the next one.
    if (m_patternsLeft <= 1 && m_step > OMBI_EARLY_ENTRY_ROW && m_earlyEntry[ch] == 1) {
      muted = m_muteNext[ch] != 0 ? m_mute[ch] : 0;
    }
    m_chordRatio = m_chords.Empty() ? 1.0f : p_GetPitch_Alpha(m_chords[0]);
  }
  for (int i = 0; i < m_channelCount; ++i) m_audioChannel[i] = m_topChannel - 1 - i;
  int channel = m_audioChannel[ch];
  bool live = muted == 0 && channel > 0;

  if ((ch == OMBI_DRUMS_A || ch == OMBI_DRUMS_B) && pitch > 0 && live) {
    vx_audio_StopChannel(channel);
    int n = DrumOf(pitch);
    c_Sound* drum = n > 0 ? (ch == OMBI_DRUMS_A ? m_drumsA : m_drumsB)[n] : nullptr;
    if (drum) {
      m_sounding[ch] = 1;
      vx_audio_PlaySound(drum, channel, 0);
      vx_audio_SetChannelPan(channel, ch == OMBI_DRUMS_A ? -OMBI_DRUM_PAN : OMBI_DRUM_PAN);
    }
    m_rate[ch] = 1.0f;
    m_envelope[ch] = OMBI_DRUM_ENVELOPE;
  }

  float level = static_cast<float>(volume - 1) / OMBI_VOLUME_LEVELS;
  if (level > 1) {
    m_envelope[ch] = 0;
    level = 0;
  } else {
    level = std::max(level, 0.0f);
  }
  if (volume > 0 && live) {
    m_envelope[ch] = OMBI_NOTE_ENVELOPE;
    vx_audio_SetChannelVolume(channel, level * m_musicVolume);
    m_lastVolume[ch] = level;
  } else {
    level = m_lastVolume[ch];
  }

  // The level holds while the envelope falls to 1, then shrinks with it.
  float e = m_envelope[ch] - OMBI_ENVELOPE_FALL;
  m_envelope[ch] = e;
  if (e < 0) {
    e = 0;
    m_envelope[ch] = 0;
  }
  if (e < 1) {
    level = e * level;
    if (channel > 0) {
      vx_audio_SetChannelVolume(channel, level * m_musicVolume);
      m_lastVolume[ch] = level;
    }
  }

  if (ch >= OMBI_FIRST_TONAL && ch <= OMBI_LAST_TONAL && pitch > 0 && live) {
    vx_audio_StopChannel(channel);
    float rate = p_GetPitch(pitch) * m_chordRatio;
    m_rate[ch] = rate;
    m_envelope[ch] = OMBI_NOTE_ENVELOPE;
    vx_audio_SetChannelRate(channel, rate);
    if (m_instruments[ch]) {
      m_sounding[ch] = 1;
      vx_audio_PlaySound(m_instruments[ch], channel, m_loopFlag);
    }
  }

  if (!live) return 0;
  for (const OmbiSlide& slide : kOmbiSlides) {
    if (slide.effect != effect) continue;
    float rate = m_rate[ch] + slide.sign * static_cast<float>(param) / slide.divisor;
    m_rate[ch] = slide.sign > 0 ? std::min(rate, OMBI_RATE_MAX) : std::max(rate, OMBI_RATE_MIN);
    vx_audio_SetChannelRate(channel, m_rate[ch]);
  }
  return 0;
}

String c_OmbiPlayer::p_Ombi_GetChord(int n) {
  return String(kOmbiChordStrings[n >= 0 && n < OMBI_CHORD_STRINGS ? n : OMBI_OTHER_CHORD]);
}

float c_OmbiPlayer::p_GetPitch(int n) { return n >= 1 && n <= OMBI_PITCHES ? kOmbiPitchRatios[n] : 0.0f; }

float c_OmbiPlayer::p_GetPitch_Alpha(int c) {
  for (int i = 0; i < OMBI_PITCHES; ++i) {
    if (kOmbiChordLetters[i] == c) return p_GetPitch(i + 1);
  }
  return 0.0f;
}
