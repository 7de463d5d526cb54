// Games recorded in the harness played again by the real program, headless: the same
// score, ticks, vertices, draw calls and saved state. The reader's refusals are tests/host's.
// The benchmarks' busy game is the bot game here; to write it again after a change to the game:
//   VX_WRITE_BUSY_GAME=$PWD/bench/games/busy.kxr build/tests/game/game_replay_tests --gtest_filter='*BotGame*'
#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <tuple>

#include "graphics/headless_gl.h"
#include "tests/support/game_harness.h"
#include "tests/support/subprocess.h"

namespace {

// How a run ended: its score and ticks, every vertex drawn, the state file.
struct Ending {
  int score = 0, ticks = 0;
  long long draws = 0;
  uint64_t digest = GXTK_DIGEST_START, state = GXTK_DIGEST_START;
};

// The harness, recording into `path`: from the title into a game of `mode`, the bot
// playing until `ticks` update ticks have passed, then a loss of focus, which saves.
Ending Record(const std::string& path, const std::vector<std::string>& arguments, int mode, int ticks) {
  HarnessOptions options;
  options.arguments = arguments;
  options.record = path;
  GameHarness game(options);
  Ending run;
  // Folds in what the GL table was given since the last time.
  auto fold = [&] {
    for (const GlCall& call : game.gl->calls) {
      if (call.name.compare(0, 4, "Draw") != 0) continue;
      run.digest =
          gxtkDigestDraw(run.digest, call.vertices.data(), static_cast<int>(call.vertices.size()), call.textured);
    }
    run.draws += game.gl->drawCalls;
    game.gl->Clear();
  };
  game.Step(40);
  game.Tap(KEY_DOWN, mode - 1);
  game.Tap(KEY_RETURN);
  PlayBot bot(*game.app);
  while (game.recording->Ticks() < ticks) game.Play(bot), game.Step(), fold();
  game.host->SuspendGame();
  game.Step();
  game.host->ResumeGame();
  fold();
  run.score = game.app->score;
  run.ticks = game.recording->Ticks();
  game.recording->End(run.score);
  std::string state = game.StateFile();
  run.state = gxtkDigest(run.state, state.data(), state.size());
  return run;
}

ProcessResult RunReplay(const std::string& path) {
  ProcessOptions options;
  options.unsetEnv = {"DISPLAY"};
  return RunProcess({BuildPath("kalvexa"), "--replay", path, "--headless"}, options);
}

// The headless replay: its exit status, and the run it reported.
int Replay(const std::string& path, Ending* run) {
  ProcessResult r = RunReplay(path);
  size_t score = r.out.find("score "), frames = r.out.find("\nframes ");
  int matched = 0;
  if (score == std::string::npos || frames == std::string::npos ||
      sscanf(r.out.c_str() + score, "score %d ticks %d as recorded%n", &run->score, &run->ticks, &matched) != 2 ||
      !matched ||
      sscanf(r.out.c_str() + frames, "\nframes %*d draws %lld digest %" SCNx64 " state %" SCNx64, &run->draws,
             &run->digest, &run->state) != 3) {
    ADD_FAILURE() << r.out << r.err;
  }
  return r.status;
}

auto Tie(const Ending& e) { return std::tie(e.score, e.ticks, e.draws, e.digest, e.state); }

struct Replays : ::testing::Test {
  TempFolder folder;  // the replays' working folder, with the generated data
  void SetUp() override {
    std::filesystem::remove(folder.Path("data"));
    std::filesystem::create_directory_symlink(BuildPath("run/data"), folder.Path("data"));
  }
};

TEST_F(Replays, ABotGameReplaysHeadlessToTheSameEndDrawListsAndSavedState) {
  std::string path = folder.Path("busy.kxr");
  Ending recorded = Record(path, {}, 3, 2200);
  EXPECT_TRUE(recorded.score > 1000 && recorded.state != GXTK_DIGEST_START) << recorded.score;
  Ending replayed;
  EXPECT_EQ(Replay(path, &replayed), 0);
  EXPECT_EQ(Tie(replayed), Tie(recorded));
  if (const char* busy = getenv("VX_WRITE_BUSY_GAME")) {
    std::filesystem::copy_file(path, busy, std::filesystem::copy_options::overwrite_existing);
  }
  // The benchmarks' busy game is still the game the program plays.
  Ending checkedIn;
  EXPECT_EQ(Replay(VX_SOURCE_DIR "/bench/games/busy.kxr", &checkedIn), 0);
}

TEST_F(Replays, AGameWithTheSequencerWhoseClockReseedsTheDrawsReplaysAndAnotherEndOrACutShortFileFails) {
  std::string path = folder.Path("sequencer.kxr");
  Ending recorded = Record(path, {"--sequencer"}, 1, 600);
  std::ifstream file(path, std::ios::binary);
  std::string text(std::istreambuf_iterator<char>(file), {});
  Ending replayed;
  EXPECT_EQ(Replay(path, &replayed), 0);
  EXPECT_EQ(Tie(replayed), Tie(recorded));

  // Another score at the end fails the replay; a cut-short file is refused in one line.
  std::string otherScore = "end " + std::to_string(recorded.ticks) + " " + std::to_string(recorded.score + 1) + "\n";
  WriteFile(path, text.substr(0, text.rfind("end ")) + otherScore);
  ProcessResult r = RunReplay(path);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find(" but recorded score " + std::to_string(recorded.score + 1)), std::string::npos) << r.out;
  WriteFile(path, text.substr(0, text.find("\nupdate ", text.size() / 2) + 9));
  r = RunReplay(path);
  EXPECT_EQ((Ints{r.status, r.out.empty()}), (Ints{2, 1}));
  EXPECT_NE(r.err.find("cut short: the last line is incomplete\n"), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
}

}  // namespace
