// Badges: achievements numbered 0 .. 255, each earned once and kept with the
// settings. The table names each badge, describes it and says which play
// event earns it; an award raises the badge's flag and slides its name in at
// the bottom left; the badge box on the title lists them all.
#include <cmath>

#include "game/core/globals.h"
#include "game/core/my_app.h"
#include "game/core/records.h"

namespace {

// ---- The badge table ------------------------------------------------------------------
constexpr int NEVER = -1;        // earned by no event
constexpr int ANY = 2147483647;  // no upper limit
constexpr int LAST_ICON = 63;    // the badge sheet has 64 icons

// Name and description joined by "|", and the event whose value, within
// low .. high, earns the badge. A badge's icon is its own frame of the sheet.
struct Badge {
  const char* text;
  int event, low, high;
};
constexpr Badge kBadges[] = {
    {"Test Badge|This is a Test Badge which has no purpose.", NEVER, 0, 0},
    {"Fresh Paint|Paint your first floor tile.", BADGE_FLOOR_PAINTED, 1, ANY},
    {"Nest Buster|Destroy your first bug nest.", BADGE_NEST_DESTROYED, 1, ANY},
    {"Rock Smasher|Smash a big rock and every piece of it.", BADGE_ROCK_DESTROYED, 1, 1},
    {"Spin Cycle|Reach level 3.", BADGE_LEVEL_REACHED, 3, ANY},
    {"Drum Roll|Reach level 5.", BADGE_LEVEL_REACHED, 5, ANY},
    {"Top Spinner|Reach level 10.", BADGE_LEVEL_REACHED, 10, ANY},
    {"Clean Sweep|Hit the Spin switch with every floor painted.", BADGE_SWITCH_HIT, 100, ANY},
    {"High Roller|Score 10 000 points in one game.", BADGE_SCORE, 10000, ANY},
    {"Exterminator|Destroy 50 bugs in one game.", BADGE_BUG_DESTROYED, 50, ANY},
    {"First Steps|Finish a game in the one-bug mode.", BADGE_GAME_ENDED, 1, 1},
    {"Double Trouble|Finish a game in the two-bug mode.", BADGE_GAME_ENDED, 2, 2},
    {"Swarm Tamer|Finish a game in the three-bug mode.", BADGE_GAME_ENDED, 3, 3},
};
constexpr int TABLE = sizeof kBadges / sizeof kBadges[0];
constexpr int FIRST_REAL = 1;  // the box lists from here: badge 0 only tests the strip

// ---- Pop-ups ---------------------------------------------------------------------------
constexpr int POPUP_SLOTS = 13;
constexpr int POPUP_WIDTH = 160, POPUP_HEIGHT = 32, POPUP_PITCH = 34;
constexpr int POPUP_SPEED = 16;                      // units per tick in and out
constexpr int POPUP_LEAVES = 230, POPUP_GONE = 240;  // ticks of its life

// ---- The box ---------------------------------------------------------------------------
constexpr float SCROLL_STEP = 16;  // per tick of a held key
constexpr float DRAG_GAIN = 1.5f;
constexpr float FOLLOW = 6;  // the list follows its target by a sixth of the way per tick
constexpr float SNAP = 6;
constexpr float HEADER = 48, ROW = 56, LIST_TOP = HEADER + 8;
constexpr float ICON_SIZE = 0.75f;
constexpr int ACTION_BADGES = 14;  // free on the title: B, U, the left shoulder
constexpr int BUTTON_ICON = 40;    // a gold medal with a star, earned by no badge

int RocksLeft(const Array<float>& actors) {
  int rocks = 0;
  for (int r = ROCK_FIRST; r <= ROCK_LAST; ++r) rocks += IsRock(actors[r * RECORD_FLOATS + ACTOR_KIND]);
  return rocks;
}

}  // namespace

String c_MyApp::p_BadgeID(int id) { return id >= 0 && id < TABLE ? String(kBadges[id].text) : String(); }

// The entry's first and second "|"-separated parts; found without splitting,
// so that a pop-up on screen allocates nothing from the collector.
String c_MyApp::p_BadgeName(int id) {
  String entry = p_BadgeID(id);
  int bar = entry.Find(String("|"));
  return bar < 0 ? entry : entry.Slice(0, bar);
}

String c_MyApp::p_BadgeDetail(int id) {
  String entry = p_BadgeID(id);
  int bar = entry.Find(String("|"));
  if (bar < 0) return String();
  int next = entry.Find(String("|"), bar + 1);
  return entry.Slice(bar + 1, next < 0 ? entry.Length() : next);
}

int c_MyApp::p_GC_Badges() { return 0; }

int c_MyApp::p_AwardBadge(int id) {
  if (id < 0 || id >= BADGES || badges[id]) return 0;
  badges[id] = true;
  for (int slot = 0; slot < POPUP_SLOTS; ++slot) {
    if (badgeShown[slot] == 0) {
      badgeState[slot] = id;
      badgeShown[slot] = 1;
      break;
    }
  }
  return 0;
}

int c_MyApp::p_BadgeEvent(int event, int value) {
  if (event == BADGE_NEW_GAME) badgeBugs = 0;
  if (event == BADGE_BUG_DESTROYED) value = ++badgeBugs;
  // The last rock gone: every rock of a game comes from a big one, so the big one went with all its pieces.
  if (event == BADGE_ROCK_DESTROYED) value = RocksLeft(actors) == 0;
  for (int id = 0; id < TABLE; ++id) {
    const Badge& badge = kBadges[id];
    if (badge.event == event && value >= badge.low && value <= badge.high) p_AwardBadge(id);
  }
  return 0;
}

int c_MyApp::p_ShowBadges() {
  p_ResetDraw();
  float h = vx_Kalvexa_jscrh;
  for (int slot = 0; slot < POPUP_SLOTS; ++slot) {
    if (badgeShown[slot] < 1) continue;
    int t = ++badgeShown[slot];
    int x = t > POPUP_LEAVES ? (POPUP_GONE - t) * POPUP_SPEED - POPUP_WIDTH : t * POPUP_SPEED - POPUP_WIDTH;
    if (x > 0) x = 0;
    float left = static_cast<float>(x), top = h - static_cast<float>((slot + 1) * POPUP_PITCH);
    int id = badgeState[slot];
    p_SetCol(0, 0, 80, 0.8f);
    p_Rect(left, top, POPUP_WIDTH, POPUP_HEIGHT);
    p_ResetDraw();
    p_Text(left + 16, top + 4, p_BadgeName(id));
    if (id >= 0 && id <= LAST_ICON) {
      p_SetSize(0.5f);
      p_DrawImg(IMG_BADGES, left + 144, top + 16, static_cast<float>(id));
      p_ResetDraw();
    }
    if (t > POPUP_GONE) badgeShown[slot] = 0;
  }
  return 0;
}

int c_MyApp::p_BadgesBox() {
  float w = vx_Kalvexa_jscrw, h = vx_Kalvexa_jscrh;
  float left = w * 0.12f, width = w * 0.76f;
  p_ResetDraw();
  p_SetCol(255, 125, 0, 0.8f);
  p_Rect(w * 0.1f, -1, w * 0.8f, h + 2);
  p_SetCol(100, 0, 0, 0.8f);
  p_Rect(left, -1, width, h + 2);
  p_ResetDraw();

  // Held keys scroll, and so does a drag on the list; the first row never goes below the top.
  if (p_PlayKeyAll(ACTION_DOWN, 1)) badgeScrollTarget -= SCROLL_STEP;
  if (p_PlayKeyAll(ACTION_UP, 1)) badgeScrollTarget += SCROLL_STEP;
  if (pointerDown > 0 && static_cast<float>(mouseX) > left) {
    badgeScrollTarget += static_cast<float>(mouseY - lastMouseY) * DRAG_GAIN;
  }
  float content = static_cast<float>(TABLE - FIRST_REAL) * ROW + LIST_TOP;
  float lowest = h - content < 0 ? h - content : 0;
  if (badgeScrollTarget < lowest) badgeScrollTarget = lowest;
  if (badgeScrollTarget > 0) badgeScrollTarget = 0;
  badgeScroll += (badgeScrollTarget - badgeScroll) / FOLLOW;
  if (std::fabs(badgeScroll - badgeScrollTarget) < SNAP) badgeScroll = badgeScrollTarget;

  int earned = 0;
  for (int id = FIRST_REAL; id < TABLE; ++id) {
    earned += badges[id];
    float top = LIST_TOP + badgeScroll + static_cast<float>(id - FIRST_REAL) * ROW;
    if (top < -ROW || top > h) continue;
    bool has = badges[id];
    p_SetSize(ICON_SIZE);
    if (!has) p_SetCol(90, 90, 90, 0.6f);
    p_DrawImg(IMG_BADGES, left + 36, top + 24, static_cast<float>(id));
    p_ResetDraw();
    if (!has) p_SetCol(170, 170, 170);
    p_SetSize(2);
    p_Text(left + 72, top + 4, p_BadgeName(id));
    p_ResetDraw();
    p_Text(left + 72, top + 30, p_BadgeDetail(id));
    p_SetSize(1.5f);
    if (has) {
      p_SetCol(100, 255, 100);
    } else {
      p_SetCol(170, 170, 170);
    }
    p_Text(left + width - 12, top + 6, String(has ? "Earned" : "Not yet"), 2, 0);
    p_ResetDraw();
  }

  // The header stays put over the scrolling list.
  p_SetCol(100, 0, 0, 1);
  p_Rect(left, -1, width, HEADER + 1);
  p_ResetDraw();
  p_SetSize(2);
  p_Text(left + 12, HEADER / 2, String("<[BACK]"), 0, 1);
  p_Text(left + width - 12, HEADER / 2, String("Badges ") + String(earned) + String("/") + String(TABLE - FIRST_REAL),
         2, 1);
  p_ResetDraw();
  if (pointerLatch == 0 && pointerDown > 0 && TouchInside(left, -1, left + width / 2, HEADER)) {
    badgesOpen = 0;
    keyLatch = pointerLatch = 1;
    p_PlaySFX(SFX_MOVE, 1.0f);
  }
  return 0;
}

int c_MyApp::p_BadgesButton() {
  float h = vx_Kalvexa_jscrh;
  p_SetSize(0.75f);
  bool touched = p_Button(IMG_BADGES, 40, h - 40, BUTTON_ICON) != 0;
  p_ResetDraw();
  if (keyLatch == 0 && pointerLatch == 0 && (touched || p_PlayKeyAll(ACTION_BADGES, 0))) {
    badgesOpen = 1;
    badgeScrollTarget = badgeScroll = 0;
    keyLatch = pointerLatch = 1;
    p_PlaySFX(SFX_MOVE, 1.0f);
  }
  return 0;
}
