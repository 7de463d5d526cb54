// Game over and the score tables: the overlay that runs over the last ticks
// of play and fades over the title, the place a score earns, and its entry
// into the top ten and the recent ten of the mode that was played.
#include "game/core/globals.h"
#include "game/core/my_app.h"

namespace {

// ---- Tunables ---------------------------------------------------------------------------
constexpr int OVERLAY_TICKS = 90;        // the overlay runs this long over play
constexpr int OVERLAY_HANDED_OVER = 75;  // where the fade over the title starts
constexpr int OVERLAY_FADE = 2;          // steps lost per tick on the title
constexpr float SHADE_TICKS = 40, SHADE_MAX = 0.7f;
constexpr int BAND_SPEED = 12;      // units per step the bars and words travel
constexpr float BAND_STOP = 0.45f;  // of the screen height
constexpr int TABLE = 10;           // scores per list; a mode's lists start 10 apart
constexpr int RECENT_OFFSET = 30;

int TableBase(int gameMode) { return (gameMode - 1) * TABLE; }

void DrawOverlay(c_MyApp& app) {
  static const String kGame("GAME"), kOver("OVER"), kNewHighscore("New Highscore\\n           ");
  float w = vx_Kalvexa_jscrw, h = vx_Kalvexa_jscrh;
  int step = app.gameOverStep;
  // Nothing underneath takes input while the overlay shows.
  app.keyLatch = app.pointerLatch = 1;
  app.p_ResetDraw();
  float shade = static_cast<float>(step) / SHADE_TICKS;
  app.p_SetCol(0, 0, 0, shade < SHADE_MAX ? shade : SHADE_MAX);
  app.p_Rect(-1, -1, w + 2, h + 2);

  int band = step * BAND_SPEED;
  int stop = static_cast<int>(h * BAND_STOP);
  if (band > stop) band = stop;
  float bar = static_cast<float>(band * 2);
  app.p_SetCol(255, 255, 0, 0.5f);
  app.p_Rect(-1, h * 0.45f - 8, bar, 16);
  app.p_SetCol(255, 128, 0, 0.5f);
  app.p_Rect(w - bar, h * 0.55f - 8, bar + 1, 16);

  app.p_SetSize(4);
  app.p_SetCol(255, 180, 180, 1);
  app.p_Text(w * 0.35f, static_cast<float>(band), kGame, 1, 1);
  app.p_Text(w * 0.65f, h - static_cast<float>(band), kOver, 1, 1);

  String place = app.p_MyNth();
  if (app.nthRank <= 0) return;
  float y = h - static_cast<float>(band) / 1.5f;
  app.p_SetSize(1);
  app.p_SetCol(0, 125, 255, 0.5f);
  app.p_Rect(w * 0.35f, y - 16, w * 0.3f, 32);
  app.p_SetSize(2);
  app.p_SetCol(100, 255, 100, 1);
  app.p_Text(w * 0.5f, y, kNewHighscore + place, 0.5f, 2.0f);
}

}  // namespace

int c_MyApp::p_GameOver() {
  if (gameOverStep >= 1) DrawOverlay(*this);
  if (screenMode == SCREEN_PLAY) {
    gameOverStep += 1;
    if (gameOverStep >= OVERLAY_TICKS) {
      screenMode = SCREEN_BACK_TO_TITLE;
      gameOverStep = OVERLAY_HANDED_OVER;
      if (vx_Kalvexa_HasMusic == 1) music->p_Ombi_Stop(1);
      if (vx_Kalvexa_HasMusicStream == 1) p_StopTune();
    }
  } else if (screenMode < SCREEN_PLAY) {
    gameOverStep = gameOverStep > OVERLAY_FADE ? gameOverStep - OVERLAY_FADE : 0;
  }
  return 0;
}

// The place shown counts a score equal to a stored one as reaching it.
String c_MyApp::p_MyNth() {
  static const String kPlaces[TABLE] = {"1st!", "2nd", "3rd", "4th", "5th", "6th", "7th", "8th", "9th", "10th"};
  int base = TableBase(gameMode);
  nthRank = 0;
  for (int n = 1; n <= TABLE && nthRank == 0; ++n) {
    if (score >= scores[base + n - 1]) nthRank = n;
  }
  return nthRank > 0 ? kPlaces[nthRank - 1] : String();
}

// Only a score above a stored one enters the top ten; every score enters the recent ten.
int c_MyApp::p_LoadMenu() {
  int base = TableBase(gameMode);
  lastRank = -1;
  for (int p = 0; p < TABLE && lastRank < 0; ++p) {
    if (scores[base + p] < score) lastRank = p;
  }
  if (lastRank >= 0) {
    for (int p = TABLE - 1; p > lastRank; --p) scores[base + p] = scores[base + p - 1];
    scores[base + lastRank] = score;
  }
  int recent = base + RECENT_OFFSET;
  for (int p = TABLE - 1; p > 0; --p) scores[recent + p] = scores[recent + p - 1];
  scores[recent] = score;
  p_BadgeEvent(BADGE_GAME_ENDED, gameMode);
  p_Save();
  return 0;
}

// Where a score service would be told of a score; this build has none.
int c_MyApp::p_GC_PostScore(int, int) { return 0; }
