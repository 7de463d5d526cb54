// The sequencer on OpenAL Soft's null backend, in a temporary working folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <filesystem>
#include <map>
#include <memory>
#include <set>

#include "framework/app.h"
#include "framework/random.h"
#include "runtime/startup.h"
#include "tests/graphics/png_files.h"
#include "tests/music/sequencer_rig.h"
#include "tests/support/audio_recorder.h"
#include "tools/assetgen/tunes.h"

namespace {

constexpr int kGameSeed = 37171650;  // the seed the game starts every tune with
// Audio channels of the music channels under the game's top channel of 31.
constexpr int kDrumsA = 30, kDrumsB = 29, kLead = 28, kAccompany = 27, kBass = 26;

struct Sequencer : testing::Test {
  TempFolder folder;
  RecordingAudio* audio = nullptr;
  std::unique_ptr<SequencerRig> rig;
  c_OmbiPlayer* player = nullptr;

  void SetUp() override {
    setenv("ALSOFT_DRIVERS", "null", 1);
    audio = new RecordingAudio();
    ASSERT_NE(audio->alcContext, nullptr);
    rig = std::make_unique<SequencerRig>(audio);
    player = rig->player;
  }
  // Value 0 of the cell of variant v, band b, row s.
  static int Cell(int v, int b, int s) { return v * 4096 + b * 512 + s * 8; }
  // A loaded tune without a picture, with the game's instruments and every
  // channel heard: silence until a test writes cells.
  void StartSilentTune() {
    LinkGameData("inst");
    player->p_Ombi_StartTune(String("silent"), kGameSeed, 100);
    rig->Load();
    Unmute();
  }
  void Unmute() {
    for (int i = 0; i < 5; ++i) player->m_mute[i] = player->m_muteNext[i] = player->m_earlyEntry[i] = 0;
  }
  void SetCell(int v, int band, int step, int pitch, int volume, int effect = 0, int param = 0) {
    int at = Cell(v, band, step);
    for (int value : {pitch, volume, effect, param}) player->m_cells[at++] = value;
  }
  // The calls named `name` on one audio channel, from call `from` on.
  std::vector<AudioCall> On(int channel, const std::string& name, size_t from = 0) const {
    std::vector<AudioCall> found;
    for (size_t i = from; i < audio->calls.size(); ++i) {
      if (audio->calls[i].channel == channel && audio->calls[i].name == name) found.push_back(audio->calls[i]);
    }
    return found;
  }
  float Last(int channel, const std::string& name) const { return On(channel, name).back().value; }
  // Everything a start or a section change draws: picks 1..5, then per channel
  // variant, mute, muteNext and earlyEntry, then the section's patterns.
  std::vector<int> Drawn() const {
    std::vector<int> drawn(player->m_picks.begin() + 1, player->m_picks.begin() + 6);
    for (const Array<int>& a : {player->m_variant, player->m_mute, player->m_muteNext, player->m_earlyEntry}) {
      drawn.insert(drawn.end(), a.begin(), a.begin() + 5);
    }
    drawn.push_back(player->m_patternsLeft);
    return drawn;
  }
  // Runs 60 Hz ticks from the host's time for `ms`; when steps were played, in ms after the start.
  std::vector<int> TickFor(int ms, int paused = 0) {
    std::vector<int> steps;
    for (int start = rig->host.now, tick = 1; tick * 1000 / 60 <= ms; ++tick) {
      rig->host.now = vx_app_MillisecsAfter(start, tick * 1000 / 60);
      int before = player->m_nextStepTime;
      player->p_Ombi_Alive_U(paused, 1);
      EXPECT_LE(vx_app_MillisecsBetween(before, player->m_nextStepTime), paused ? 1000000 : 80)
          << "two steps in the tick at " << tick * 1000 / 60;
      if (!paused && player->m_nextStepTime != before) steps.push_back(tick * 1000 / 60);
    }
    return steps;
  }
};

TEST_F(Sequencer, PitchesChordLettersChordStringsAndDrumsFollowTheirTables) {
  const float ratios[34] = {0,       0.5f,   0.5295f, 0.561f, 0.5945f, 0.63f,  0.6675f, 0.707f, 0.749f,
                            0.7935f, 0.841f, 0.891f,  0.944f, 1.0f,    1.059f, 1.122f,  1.189f, 1.26f,
                            1.335f,  1.414f, 1.498f,  1.587f, 1.682f,  1.782f, 1.888f,  2.0f,   2.118f,
                            2.244f,  2.378f, 2.52f,   2.67f,  2.828f,  2.996f, 0};
  for (int n = -1; n <= 33; ++n) EXPECT_EQ(player->p_GetPitch(n), ratios[std::max(n, 0)]) << "pitch " << n;
  const std::string letters = "zsxdcvgbhnjmq2w3er5t6y7ui9o0p[=]";
  for (int c = 0; c < 256; ++c) {
    size_t at = letters.find(static_cast<char>(c));
    EXPECT_EQ(player->p_GetPitch_Alpha(c), c && at != std::string::npos ? ratios[at + 1] : 0) << char(c);
  }
  const char* chords[] = {"qqjj", "qqqq", "qqjj", "qqbb", "qbqb", "qqqj", "qqzz", "qqjj"};  // -1 .. 6
  for (int n = -1; n <= 6; ++n) EXPECT_EQ(player->p_Ombi_GetChord(n), String(chords[n + 1])) << n;

  // Drums 1..8 on the white keys from 13, kit A left and kit B right; any
  // other pitch stops the channel and plays nothing.
  StartSilentTune();
  const int drums[9] = {0, 13, 15, 17, 18, 20, 22, 24, 25};
  for (int ch : {0, 1}) {
    for (int pitch = 1; pitch <= 32; ++pitch) {
      audio->calls.clear();
      player->p_Ombi_PlayNote(ch, pitch, 0, 0, 0);
      int n = static_cast<int>(std::find(drums + 1, drums + 9, pitch) - drums);
      std::vector<AudioCall> played = audio->Named("PlaySample");
      ASSERT_EQ(played.size(), n < 9 ? 1u : 0u) << pitch;
      EXPECT_EQ(audio->calls.size(), n < 9 ? 3u : 1u) << pitch;
      if (n == 9) continue;
      EXPECT_EQ(played[0].sample, (ch ? player->m_drumsB : player->m_drumsA)[n]->m_sample) << pitch;
      EXPECT_EQ(Last(kDrumsA - ch, "SetPan"), ch ? 0.35f : -0.35f);
    }
  }
}

TEST_F(Sequencer, StepsFallEvery80MsThroughTheClocksWrapResume150MsAfterAPauseAndNeverWhileLoadingOrPaused) {
  LinkGameData("inst");
  std::filesystem::create_directories("data/tunes");  // 56 frames are none, not a fatal cut
  ASSERT_TRUE(
      WritePng(folder.Path("data/tunes/short.png"), 512, 448, 4, std::vector<unsigned char>(512 * 448 * 4, 255)));
  player->p_Ombi_StartTune(String("short"), kGameSeed, 100);
  rig->Load();
  EXPECT_EQ(player->m_tuneImage, nullptr);
  player->p_Ombi_StartTune(String("silent"), kGameSeed, 100);
  for (int row = 0; row < 64; ++row) SetCell(0, 2, row, 13, 20);
  for (int i = 0; i < 50; ++i) rig->Step();
  EXPECT_TRUE(audio->calls.empty()) << "played while loading";
  rig->Load();
  Unmute();
  // A pause, the music switched off and a stop each silence at once.
  for (auto [paused, musicOn] : {std::pair{1, 1}, {0, 0}, {-1, -1}}) {
    rig->Step();
    ASSERT_EQ(player->m_sounding[2], 1);
    audio->calls.clear();
    if (paused < 0) player->p_Ombi_Stop(1);
    if (paused >= 0) player->p_Ombi_Alive_U(paused, musicOn);
    EXPECT_EQ(audio->calls.size(), 1u);
    EXPECT_EQ(On(kLead, "StopChannel").size(), 1u);
  }
  for (int i = 0; i < 64; ++i) rig->Step();
  EXPECT_EQ(audio->calls.size(), 1u) << "played after a stop";

  rig->host.now = INT_MAX - 1000;  // the clock wraps a second in
  player->p_Ombi_StartTune(String("silent"), kGameSeed, 100);
  int due = vx_app_MillisecsBetween(rig->host.now, player->m_nextStepTime);
  std::vector<int> steps = TickFor(10000);
  ASSERT_NEAR(steps.size(), 10000 / 80, 1);
  for (int i = 0; i < int(steps.size()); ++i) {
    EXPECT_TRUE(steps[i] > due + 80 * i && steps[i] <= due + 80 * i + 17) << i;  // the first tick after it fell due
  }
  rig->host.now += 1000;  // a second behind: one step a tick until the clock is caught up
  EXPECT_NEAR(TickFor(1000).size(), 2000 / 80, 1);
  for (int tempo : {0, -5}) {
    player->p_Ombi_StartTune(String("silent"), kGameSeed, tempo);
    EXPECT_EQ(player->m_tempo, 100) << "a tempo that is not positive keeps the one in force";
  }
  // A due time further off than the clock can have jumped counts as due now.
  player->m_nextStepTime = rig->host.now + 123457;
  rig->Tick();
  EXPECT_EQ(player->m_nextStepTime - rig->host.now, 123457 + 80);
  for (int pause : {17, 600000}) {
    TickFor(500);
    TickFor(pause, 1);
    steps = TickFor(1000);
    ASSERT_FALSE(steps.empty());
    EXPECT_TRUE(steps[0] > 150 && steps[0] <= 150 + 17) << pause;
    EXPECT_LE(steps.size(), 11u) << pause;  // (1000 - 150) / 80: no burst
  }
}

TEST_F(Sequencer, CellsPlayAtTheirRowsWithBreaksJumpsAndEarlyEntriesVolumesFollowTheEnvelopeAndSlidesTheRate) {
  StartSilentTune();
  // In the last eight rows of a section an early channel follows the next
  // section's mute. Patterns left, mute, mute next, early entry; the first row heard (64: none).
  for (int row = 0; row < 64; ++row) SetCell(0, 2, row, 13, 20);
  const int entries[][5] = {{1, 1, 0, 1, 56}, {1, 1, 1, 1, 64}, {1, 1, 0, 0, 64}, {2, 1, 0, 1, 64}, {1, 0, 1, 1, 0}};
  for (const auto& c : entries) {
    int firstHeard = 64, heard = 0;
    for (int row = 63; row >= 0; --row) {
      player->m_step = row;
      player->m_patternsLeft = c[0];
      player->m_mute[2] = c[1];
      player->m_muteNext[2] = c[2];
      player->m_earlyEntry[2] = c[3];
      size_t before = On(kLead, "SetRate").size();
      rig->Step();
      if (On(kLead, "SetRate").size() > before) ++heard, firstHeard = row;
    }
    EXPECT_EQ(firstHeard, c[4]) << c[0] << c[1] << c[2] << c[3];
    EXPECT_EQ(heard, 64 - c[4]);
  }

  // A pattern break on channel 0 sends the others to row 63 and the next step to row 0.
  for (int row = 0; row < 64; ++row) SetCell(0, 2, row, 0, 0);
  player->m_step = 0;
  player->m_patternsLeft = 4;
  player->m_chords = String("qqjj");
  Unmute();
  audio->calls.clear();
  SetCell(0, 0, 10, 0, 0, 8);
  SetCell(0, 2, 10, 1, 20);  // skipped
  SetCell(0, 2, 63, 25, 20);
  SetCell(0, 1, 63, 13, 20);
  SetCell(0, 2, 0, 20, 20);
  for (int i = 0; i <= 11; ++i) rig->Step();
  std::vector<float> rates;
  for (const AudioCall& call : On(kLead, "SetRate")) rates.push_back(call.value);
  EXPECT_EQ(rates, (std::vector<float>{1.498f, 2.0f, 1.498f}));
  EXPECT_EQ(On(kDrumsB, "PlaySample").size(), 1u);
  EXPECT_EQ(player->m_step, 1);
  EXPECT_EQ(player->m_chords, String("qjj"));
  // A variant jump goes only to a variant that was read. From, parameter, patterns left; the variant played.
  const int jumps[][4] = {{0, 1, 3, 1}, {1, 2, 2, 0}, {0, 1, 2, 0}, {0, 2, 2, 0}, {62, 1, 3, 62}};
  for (auto [from, param, patternsLeft, to] : jumps) {
    for (int v = 0; v < 64; ++v) SetCell(v, 2, 0, 13 + v % 19, 20, v == from ? 27 : 0, param);
    player->m_variant[2] = from;
    player->m_patternsLeft = patternsLeft;
    player->m_step = 0;
    rig->Step();
    EXPECT_EQ(player->m_variant[2], to) << from << " " << param << " " << patternsLeft;
    EXPECT_EQ(Last(kLead, "SetRate"), player->p_GetPitch(13 + to % 19) * player->m_chordRatio);
  }

  // Volume 31 silences, volume 0 keeps the last level as the envelope decays:
  // held while it falls from 1.5 to 1, then shrinking to nothing.
  player->m_chords = String("q");
  player->p_Ombi_PlayNote(3, 13, 30, 0, 0);
  std::vector<float> levels = {Last(kAccompany, "SetVolume")};
  for (int i = 0; i < 25; ++i) {
    player->p_Ombi_PlayNote(3, 0, 0, 0, 0);
    levels.push_back(Last(kAccompany, "SetVolume"));
  }
  EXPECT_EQ(levels[4], 0.5f);
  EXPECT_LT(levels[7], levels[6]);
  EXPECT_TRUE(std::is_sorted(levels.rbegin(), levels.rend()));
  EXPECT_EQ(levels.back(), 0.0f);
  player->p_Ombi_PlayNote(3, 13, 20, 0, 0);
  EXPECT_FLOAT_EQ(Last(kAccompany, "SetVolume"), 19.0f / 29 * 0.5f);
  player->p_Ombi_PlayNote(3, 0, 31, 0, 0);
  EXPECT_EQ(Last(kAccompany, "SetVolume"), 0.0f);
  player->p_Ombi_PlayNote(0, 13, 0, 0, 0);  // a drum hit without a volume holds its level for longer
  size_t from = audio->calls.size();
  for (int i = 0; i < 28; ++i) player->p_Ombi_PlayNote(0, 0, 0, 0, 0);
  EXPECT_TRUE(On(kDrumsA, "SetVolume", from).empty());

  // Slides move the rate each step, up to 4 and down to a quarter; notes follow the chord.
  player->p_Ombi_PlayNote(2, 13, 20, 0, 0);
  for (int i = 1; i <= 20; ++i) {
    player->p_Ombi_PlayNote(2, 0, 0, 1, 31);
    EXPECT_NEAR(Last(kLead, "SetRate"), std::min(1 + i * 31 / 180.0, 4.0), 1e-4) << i;
  }
  const float slides[][3] = {{4, 31, 4 - 31 / 15.0f}, {4, 31, 0.25f}, {3, 3, 0.45f}, {2, 18, 0.35f}};
  for (auto [effect, param, rate] : slides) {
    player->p_Ombi_PlayNote(2, 0, 0, static_cast<int>(effect), static_cast<int>(param));
    EXPECT_NEAR(Last(kLead, "SetRate"), rate, 1e-5) << effect << " " << param;
  }
  player->m_chords = String("j");
  player->p_Ombi_PlayNote(2, 13, 20, 0, 0);
  player->p_Ombi_PlayNote(4, 20, 20, 0, 0);
  EXPECT_EQ(Last(kLead, "SetRate"), 0.891f);
  EXPECT_EQ(Last(kBass, "SetRate"), 1.498f * 0.891f);
}

TEST_F(Sequencer, TheTuneSeedAloneDecidesTheStartAndTheDrumsAreNeverBothMuted) {
  // Worked out apart from the code, from the seed formulas.
  const std::vector<int> game = {1, 3, 2, 2, 1, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 1, 0, 0, 0, 1, 0, 0, 1, 0, 0, 2};
  for (int before : {0, INT_MAX}) {
    vx_random_Seed = before;
    player->p_Ombi_StartTune(String(before ? "Retro/Ferrovale" : "Quenford/Tune_12"), kGameSeed, 100 + before % 7);
    EXPECT_EQ(Drawn(), game);
    EXPECT_EQ(vx_random_Seed, 464377262);
  }
  StartSilentTune();
  const int pools[5] = {4, 4, 3, 3, 4};
  std::set<int> seen[5], lengths;
  int bothDrawn = 0;
  for (unsigned s = 0; s < 300; ++s) {
    int seed = static_cast<int>(s * 7158279u);  // across the whole range
    player->p_Ombi_StartTune(String("silent"), seed, 100);
    for (int i = 0; i < 5; ++i) {
      ASSERT_TRUE(player->m_picks[i + 1] >= 1 && player->m_picks[i + 1] <= pools[i]) << seed << " " << i;
      seen[i].insert(player->m_picks[i + 1]);
    }
    lengths.insert(player->m_patternsLeft);
    EXPECT_FALSE(player->m_mute[0] == 1 && player->m_mute[1] == 1) << seed;
    for (int section = 0; section < 8; ++section) {
      bothDrawn += player->m_muteNext[0] == 1 && player->m_muteNext[1] == 1;
      player->m_step = 63;  // the last row of the section's last pattern
      player->m_patternsLeft = 1;
      rig->Step();
      ASSERT_EQ(player->m_variation, section + 1);
      EXPECT_FALSE(player->m_mute[0] == 1 && player->m_mute[1] == 1) << seed << " " << section;
    }
  }
  for (int i = 0; i < 5; ++i) EXPECT_EQ(seen[i].size(), size_t(pools[i])) << i;
  EXPECT_EQ(lengths, (std::set<int>{2, 4}));
  EXPECT_GT(bothDrawn, 100);  // the case arises
}

c_OmbiPlayer* rooted = nullptr;

TEST_F(Sequencer, ThreeStepsAFrameLoadThePictureIntoCellsAndThePickedInstrumentsWhichCollectionLeavesAlone) {
  LinkGameData("tunes");
  LinkGameData("inst");
  player->p_Ombi_StartTune(String("Retro/Ferrovale"), kGameSeed + 2, 100);  // picks 2, 3, 1, 3, 4
  EXPECT_EQ(rig->Load(), 24);                                               // 70 steps
  std::string inst = "vorlix://data/inst/";
  std::vector<std::string> expected = {"vorlix://data/tunes/Retro/Ferrovale.png"};
  for (int pick : {2, 3})
    for (int n = 1; n <= 8; ++n)
      expected.push_back(inst + "d" + std::to_string(pick) + "-" + std::to_string(n) + ".wav");
  for (const char* name : {"lead1", "accompany3", "bass4"}) expected.push_back(inst + name + ".wav");
  EXPECT_EQ(rig->host.decoded, expected);
  rig->Render();
  EXPECT_EQ(rig->host.decoded.size(), expected.size());
  // Each pixel's blue over eight is its cell; frame 63 is never read.
  const Tune& tune =
      *std::find_if(Tunes().begin(), Tunes().end(), [](const Tune& t) { return t.name == "tunes/Retro/Ferrovale"; });
  std::vector<int> cells, lastVariant(kBands);
  for (int v = 0; v < kVariants; ++v)
    for (int b = 0; b < kBands; ++b)
      for (int s = 0; s < kSteps; ++s)
        for (int k = 0; k < 8; ++k) {
          cells.push_back(v < 63 ? CellValue(tune.At(v, b, s), k) : 0);
          if (cells.back()) lastVariant[b] = v;
        }
  for (size_t i = 0; i < cells.size(); ++i) ASSERT_EQ(player->m_cells[i], cells[i]) << i;
  EXPECT_EQ(std::vector<int>(player->m_lastVariant.begin(), player->m_lastVariant.end()), lastVariant);

  rooted = player;
  gc_init2([] {
    vx_mark_roots();
    gc_queue(rooted);
  });
  c_Sound* dropped = (new c_Sound())->m_new();
  std::vector<const void*> kept = {player->m_tuneImage,           player->m_tuneImage->surface, player->m_drumsA[8],
                                   player->m_drumsB[1]->m_sample, player->m_instruments[4],     player->m_cells.rep,
                                   player->m_lastVolume.rep,      player->m_picks.rep};
  gc_collect_all();
  gc_collect_all();
  while (gc_free_bytes > 0) gc_object::operator delete(gc_object_alloc(8), 8);
  EXPECT_FALSE(gc_holds(dropped));
  for (const void* object : kept) EXPECT_TRUE(gc_holds(object));
}

// A restart loads nothing and unfolds the same whatever the game's draws do to the global seed; lead
// slides glide a semitone over several rows into a note or a cut.
TEST_F(Sequencer, EachTuneRestartsTheSameBendsOnlyUnderARealChordAndGlidesASemitone) {
  LinkGameData("tunes");
  LinkGameData("inst");
  std::vector<std::string> runs[2];
  for (const char* name : {"Quenford/Tune_12", "Retro/Tazzlebrook", "Retro/Ferrovale", "Quenford/Tune_12"}) {
    player = rig->player = rig->NewPlayer();
    player->p_Ombi_StartTune(String(name), kGameSeed, 100);
    rig->Load();
    size_t decoded = rig->host.decoded.size(), calls = audio->calls.size();
    vx_random_Seed = static_cast<int>(runs[0].size());
    player->p_Ombi_StartTune(String(name), kGameSeed, 100);
    EXPECT_EQ(player->m_loadStep, 0);
    std::map<std::string, std::vector<int>> faults;  // steps of each fault
    int run = 0, glides = 0;
    float rate = 0, glideFrom = 0;  // the lead's rate, and where its glide set out
    for (int step = 0; step < 6000; ++step) {
      bool blank = player->m_chords[0] == ' ';
      size_t from = audio->calls.size();
      rig->Step();
      vx_random_Seed += step;
      for (int channel : {kLead, kAccompany, kBass})
        if (blank && On(channel, "PlaySample", from).size() + On(channel, "SetRate", from).size() > 0)
          faults["pitch moved under the blank chord"].push_back(step);
      bool note = !On(kLead, "PlaySample", from).empty(), cut = false;
      for (const AudioCall& c : On(kLead, "SetVolume", from)) cut |= c.value == 0;
      std::vector<AudioCall> rates = On(kLead, "SetRate", from);
      if (!note && !rates.empty() && run++ == 0) glideFrom = rate;
      if (run > 0 && (note || rates.empty())) {
        if (run < 3) faults["a slide of one or two rows"].push_back(step);
        if (!note && !cut) faults["a bent note held"].push_back(step);
        // A semitone (a ratio of 1.0595) at the chord ratio 1.
        if (std::abs(std::abs(rate / glideFrom - 1) * player->m_chordRatio - 0.0595) > 0.008)
          faults["a glide other than a semitone"].push_back(step);
        ++glides, run = 0;
      }
      if (!rates.empty()) rate = rates.back().value;
    }
    for (const auto& [fault, steps] : faults)
      ADD_FAILURE() << name << ": " << fault << " at " << steps.size() << " steps, the first " << steps[0];
    EXPECT_GT(glides, 20) << name;
    EXPECT_EQ(rig->host.decoded.size(), decoded);
    if (name != std::string("Quenford/Tune_12")) continue;
    std::vector<std::string>& kept = runs[runs[0].empty() ? 0 : 1];
    for (size_t i = calls; i < audio->calls.size(); ++i) {
      const AudioCall& c = audio->calls[i];
      kept.push_back(c.name + " " + std::to_string(c.channel) + " " + std::to_string(c.value) + " " + c.path);
    }
  }
  EXPECT_GT(runs[0].size(), 10000u);
  EXPECT_TRUE(runs[0] == runs[1]) << "the same tune played otherwise when restarted";
}

}  // namespace
