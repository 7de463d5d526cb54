// Loading a tune: its picture decoded into cells, its instruments, the pace
// of the loader, and what the collector must leave alone.
#include <numeric>
#include <tuple>

#include "runtime/startup.h"
#include "tests/music/sequencer_test.h"

namespace {

using Loading = SequencerTest;

TEST_F(Loading, EachPixelGivesItsBlueOverEightToItsCellInEveryFrameLayout) {
  TunePicture tune;
  tune.SetBlue(0, 0, 0, 0, 7);      // 0
  tune.SetBlue(1, 2, 5, 3, 8);      // 1
  tune.SetBlue(0, 3, 9, 1, 16);     // band 3 in frames 0 and 2 only
  tune.SetBlue(2, 3, 40, 6, 24);    //
  tune.SetBlue(62, 7, 63, 7, 255);  // 31, in the last frame read
  tune.SetBlue(63, 4, 0, 0, 255);   // frame 63 is never read
  // Frames a row, rows, bytes a pixel.
  for (auto [perRow, rows, channels] : {std::tuple{8, 8, 4}, {64, 1, 1}, {16, 4, 3}, {4, 16, 2}}) {
    SCOPED_TRACE(channels);
    std::string name = "layout" + std::to_string(channels);
    tune.Write(folder.Path("data/tunes/" + name + ".png"), perRow, rows, channels);
    std::fill(player->m_cells.begin(), player->m_cells.end(), -1);
    player->p_Ombi_StartTune(String(name.c_str()), kGameSeed, 100);
    rig->Load();
    EXPECT_EQ(player->m_cells[Cell(0, 0, 0)], 0);
    EXPECT_EQ(player->m_cells[Cell(1, 2, 5) + 3], 1);
    EXPECT_EQ(player->m_cells[Cell(0, 3, 9) + 1], 2);
    EXPECT_EQ(player->m_cells[Cell(2, 3, 40) + 6], 3);
    EXPECT_EQ(player->m_cells[Cell(62, 7, 63) + 7], 31);
    // Frames 0..62 overwritten, the rest untouched.
    EXPECT_EQ(std::accumulate(player->m_cells.begin(), player->m_cells.begin() + 63 * 4096, 0), 1 + 2 + 3 + 31);
    EXPECT_EQ(std::count(player->m_cells.begin() + 63 * 4096, player->m_cells.end(), -1), 4097);
    EXPECT_EQ(std::vector<int>(player->m_lastVariant.begin(), player->m_lastVariant.end()),
              (std::vector<int>{0, 0, 1, 2, 0, 0, 0, 62}));
  }
}

TEST_F(Loading, AMissingOrTooSmallTunePictureDecodesNothingAndPlaysSilence) {
  LinkGameData("inst");
  TunePicture tune;
  for (int v = 0; v < 64; ++v) tune.SetBlue(v, 2, 0, 0, 13 << 3);
  tune.Write(folder.Path("data/tunes/short.png"), 8, 7);  // 56 frames
  for (const char* name : {"missing", "short"}) {
    player->p_Ombi_StartTune(String(name), kGameSeed, 100);
    rig->Load();
    Unmute();
    for (int i = 0; i < 300; ++i) rig->Step();
    EXPECT_EQ(player->m_tuneImage, nullptr) << name;
    EXPECT_EQ(std::count(player->m_cells.begin(), player->m_cells.end(), 0), player->m_cells.Length());
    EXPECT_EQ(std::count(player->m_lastVariant.begin(), player->m_lastVariant.end(), 0), 8);
    EXPECT_EQ(audio->Count("PlaySample"), 0);
  }
}

c_OmbiPlayer* rooted = nullptr;

TEST_F(Loading, ThreeStepsAFrameLoadThePictureAndThePickedInstrumentsWhichCollectionLeavesAlone) {
  LinkTunesAndInstruments();
  player->p_Ombi_StartTune(String("Retro/Ferrovale"), kGameSeed + 2, 100);  // picks 2, 3, 1, 3, 4
  EXPECT_EQ(rig->Load(), 24);                                               // 70 steps
  auto inst = [&](const std::string& name, int pick) {
    return "vorlix://data/inst/" + name + std::to_string(player->m_picks[pick]);
  };
  std::vector<std::string> expected = {"vorlix://data/tunes/Retro/Ferrovale.png"};
  for (int pick : {1, 2}) {
    for (int n = 1; n <= 8; ++n) expected.push_back(inst("d", pick) + "-" + std::to_string(n) + ".wav");
  }
  for (auto [name, pick] : {std::pair{"lead", 3}, {"accompany", 4}, {"bass", 5}}) {
    expected.push_back(inst(name, pick) + ".wav");
  }
  EXPECT_EQ(rig->host.decoded, expected);
  rig->Render();
  EXPECT_EQ(rig->host.decoded.size(), expected.size());
  ASSERT_EQ(rig->graphics->clears.size(), 25u);  // every frame clears
  for (const auto& clear : rig->graphics->clears) EXPECT_EQ(clear, (std::array<float, 3>{0, 0, 0}));

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

}  // namespace
