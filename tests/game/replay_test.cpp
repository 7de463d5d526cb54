// Recorded games played again by the real program, headless and without a
// display: a bot's game and one with the sequencer, recorded in the harness,
// end with the same score and ticks, draw the same vertices in the same
// draw calls and save the same state; the checked-in busy game of the
// benchmarks still replays as recorded; damaged, cut-short and foreign
// recordings are refused.
//
// The busy game is this file's bot game. To write it again after a change
// to the game:
//   VX_WRITE_BUSY_GAME=$PWD/bench/games/busy.kxr build/tests/game/game_replay_tests --gtest_filter='*BotGame*'
#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
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

std::string Text(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

// The harness, recording into `path`: from the title into a game of `mode`
// (which the title's cursor starts on when it is 1), the bot playing until
// `ticks` update ticks have passed, then a loss of focus, which saves.
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
  while (game.recording->Ticks() < ticks) {
    game.Play(bot);
    game.Step();
    fold();
  }
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

// The headless replay: its exit status, and the run it reported.
int Replay(const std::string& path, Ending* run) {
  ProcessOptions options;
  options.unsetEnv = {"DISPLAY"};
  ProcessResult r = RunProcess({BuildPath("kalvexa"), "--replay", path, "--headless"}, options);
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
  EXPECT_GT(recorded.score, 1000);
  EXPECT_NE(recorded.state, GXTK_DIGEST_START);
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

TEST_F(Replays, AGameWithTheSequencerWhoseClockReseedsTheDrawsReplaysAndOtherEndsAndBadFilesFail) {
  std::string path = folder.Path("sequencer.kxr");
  Ending recorded = Record(path, {"--sequencer"}, 1, 600);
  std::string text = Text(path);
  const std::string head = "kalvexa-replay 1\nargs --sequencer\n";
  ASSERT_EQ(text.substr(0, head.size()), head);
  Ending replayed;
  EXPECT_EQ(Replay(path, &replayed), 0);
  EXPECT_EQ(Tie(replayed), Tie(recorded));

  // Another score at the end fails the replay; damaged, cut-short and foreign files are refused in one line.
  size_t update = text.find("\nupdate ", text.size() / 2), end = text.rfind("end ");
  std::string otherScore = "end " + std::to_string(recorded.ticks) + " " + std::to_string(recorded.score + 1) + "\n";
  const struct {
    std::string text;
    int status;
    std::string said;  // on standard output for status 1, on standard error for 2
  } cases[] = {
      {text.substr(0, end) + otherScore, 1, " but recorded score " + std::to_string(recorded.score + 1)},
      {text.substr(0, update) + "\nupdate x" + text.substr(update + 8), 2, ": a damaged entry\n"},
      {text.substr(0, update + 9), 2, "cut short: the last line is incomplete\n"},
      {"kalvexa-replay 2" + text.substr(16), 2,
       "line 1: recorded in version 2 of the format; this program reads version 1\n"},
  };
  for (const auto& c : cases) {
    WriteFile(path, c.text);
    ProcessOptions options;
    options.unsetEnv = {"DISPLAY"};
    ProcessResult result = RunProcess({BuildPath("kalvexa"), "--replay", path, "--headless"}, options);
    EXPECT_EQ(result.status, c.status) << c.said;
    EXPECT_NE((c.status == 1 ? result.out : result.err).find(c.said), std::string::npos) << result.out << result.err;
    if (c.status == 2) {
      EXPECT_EQ(result.out, "") << c.said;
      EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << result.err;
    }
  }
}

}  // namespace
