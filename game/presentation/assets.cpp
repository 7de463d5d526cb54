// The game's picture and sound slots: the resolution that suits the window,
// the staged loader that fills one slot per update tick while the loading
// screen keeps turning, and sound effects on a rotating set of channels.
#include "game/core/globals.h"
#include "game/core/my_app.h"

namespace {

// ---- Tunables ---------------------------------------------------------------------------
constexpr int HD_ABOVE = 630;    // window pixels beyond which the 2x art loads
constexpr int HD2_ABOVE = 1230;  // and beyond which the 4x art loads
constexpr int FONT_CELL = 16;    // font cells in virtual units
constexpr int FONT_FRAMES = 128;
constexpr int FONT_ADVANCE = 7, FONT_LINE = 10;
constexpr int EFFECT_CHANNELS = 24;  // effects rotate over channels 0 .. 23
constexpr int SHOT_CHANNEL = 31;     // sound 6 always plays here
constexpr float SHORT_FORM_VOLUME = 0.5f;

constexpr int NONE = -1;

// One loading step: an image slot and a sound slot to fill, either may be none.
struct LoadStep {
  int image;
  const char* file;
  int frameWidth, frameHeight, frames;  // virtual units
  int sound;
};

// Step n is entry n - 1. The font of step 6 is loaded as a font; step 4
// plays the studio logo's sound the first time.
constexpr LoadStep kLoadSteps[] = {
    {IMG_ICONS, "common/icons", 32, 32, 16, SFX_STUDIO},
    {IMG_BUTTONS, "common/Buttons", 64, 64, 16, NONE},
    {IMG_DPAD, "common/dpad", 32, 32, 16, NONE},
    {IMG_STUDIO_LOGO, "common/LumoLogo", 256, 256, 1, NONE},
    {IMG_TESTCARD, "common/Testcard_Circle", 256, 256, 1, NONE},
    {IMG_FONT, "fonts/editundo", FONT_ADVANCE, FONT_LINE, FONT_FRAMES, NONE},
    {NONE, nullptr, 0, 0, 0, 1},
    {NONE, nullptr, 0, 0, 0, 95},
    {NONE, nullptr, 0, 0, 0, SFX_CONFIRM},
    {NONE, nullptr, 0, 0, 0, SFX_MOVE},
    {IMG_MENU, "menu", 256, 256, 4, NONE},
    {IMG_LOGO, "logo", 256, 128, 1, NONE},
    {IMG_PARTS, "parts", 8, 8, 256, NONE},
    {IMG_BADGES, "BadgesA", 64, 64, 64, NONE},
    {IMG_TILES, "gfx", 64, 64, 16, NONE},
    {IMG_SHOTS, "weapon", 64, 64, 16, NONE},
    {IMG_ROCKS, "rocks", 64, 64, 16, NONE},
    {IMG_POPS, "flash", 64, 64, 16, NONE},
    {IMG_BUGS, "buga", 64, 64, 16, NONE},
    {IMG_LIFE, "heart", 32, 32, 1, NONE},
    {NONE, nullptr, 0, 0, 0, SFX_PAINT},
    {NONE, nullptr, 0, 0, 0, SFX_SWITCH_LIT},
    {NONE, nullptr, 0, 0, 0, SFX_SWITCH_HIT},
    {NONE, nullptr, 0, 0, 0, SFX_PLAYER_HIT},
    {NONE, nullptr, 0, 0, 0, 10},
    {NONE, nullptr, 0, 0, 0, 11},
    {NONE, nullptr, 0, 0, 0, 12},
    {NONE, nullptr, 0, 0, 0, 13},
    {NONE, nullptr, 0, 0, 0, 15},
    {NONE, nullptr, 0, 0, 0, 16},
    {NONE, nullptr, 0, 0, 0, 17},
    {NONE, nullptr, 0, 0, 0, 18},
    {NONE, nullptr, 0, 0, 0, SFX_SHOT},
};
constexpr int LOAD_STEPS = sizeof kLoadSteps / sizeof kLoadSteps[0];
static_assert(LOAD_STEPS == 33);
constexpr int STUDIO_LOGO_STEP = 4;
constexpr int FONT_STEP = 6;

// The file of a picture at the loaded resolution.
String ImagePath(const String& name, int divisor) {
  const char* suffix = divisor == 4 ? "-hd2.png" : divisor == 2 ? "-hd.png" : ".png";
  return name + String(suffix);
}

bool EffectsOn(int soundMode) { return soundMode == 1 || soundMode == 2; }

}  // namespace

void c_MyApp::ChooseResolution() {
  int w = vx_graphics_DeviceWidth(), h = vx_graphics_DeviceHeight();
  assetDivisor = 1;
  if (w > HD_ABOVE || h > HD_ABOVE) assetDivisor = 2;
  if (w > HD2_ABOVE || h > HD2_ABOVE) assetDivisor = 4;
  assetScale = 1.0f / static_cast<float>(assetDivisor);
}

int c_MyApp::p_LoadImg(int slot, String name, int frameWidth, int frameHeight, int frameCount, int flags) {
  images[slot] = nullptr;
  gc_assign(images[slot], vx_graphics_LoadImage2(ImagePath(name, assetDivisor), frameWidth * assetDivisor,
                                                 frameHeight * assetDivisor, frameCount, flags));
  imageInfo[slot * 3] = frameWidth * assetDivisor;
  imageInfo[slot * 3 + 1] = frameHeight * assetDivisor;
  imageInfo[slot * 3 + 2] = frameCount;
  return 0;
}

int c_MyApp::p_LoadFont(int slot, String name, int advance, int lineHeight) {
  images[slot] = nullptr;
  gc_assign(images[slot], vx_graphics_LoadImage2(ImagePath(name, assetDivisor), FONT_CELL * assetDivisor,
                                                 FONT_CELL * assetDivisor, FONT_FRAMES, c_Image::HandleCentered));
  imageInfo[slot * 3] = advance;
  imageInfo[slot * 3 + 1] = lineHeight;
  imageInfo[slot * 3 + 2] = FONT_FRAMES;
  fontSlot = slot;
  return 0;
}

int c_MyApp::p_LoadSFX(int slot) {
  if (slot < 0 || slot >= SOUND_SLOTS) return 0;
  const char* zeros = slot < 10 ? "sfx/00" : slot < 100 ? "sfx/0" : "sfx/";
  gc_assign(sounds[slot], vx_audio_LoadSound(String(zeros) + String(slot) + String(".wav")));
  return 0;
}

int c_MyApp::p_Reload() {
  clearRed = clearGreen = clearBlue = 0;
  clearAlpha = 1;
  ChooseResolution();
  const LoadStep& logo = kLoadSteps[STUDIO_LOGO_STEP - 1];
  p_LoadImg(logo.image, String(logo.file), logo.frameWidth, logo.frameHeight, logo.frames, c_Image::HandleCentered);
  const LoadStep& font = kLoadSteps[FONT_STEP - 1];
  p_LoadFont(font.image, String(font.file), font.frameWidth, font.frameHeight);
  loadStep = 1;
  return 0;
}

int c_MyApp::p_Loader() {
  ChooseResolution();
  if (loadStep >= 1 && loadStep <= LOAD_STEPS) {
    const LoadStep& step = kLoadSteps[loadStep - 1];
    if (loadStep == FONT_STEP) {
      p_LoadFont(step.image, String(step.file), step.frameWidth, step.frameHeight);
    } else if (step.image != NONE) {
      p_LoadImg(step.image, String(step.file), step.frameWidth, step.frameHeight, step.frames, c_Image::HandleCentered);
    }
    if (step.sound != NONE) p_LoadSFX(step.sound);
    if (loadStep == STUDIO_LOGO_STEP && !logoSoundPlayed) {
      p_PlaySFX(SFX_STUDIO, 1.0f);
      logoSoundPlayed = 1;
    }
  } else {
    // Last, while the loading screen still shows: the tune of play decodes
    // here rather than in the tick that starts the first game.
    if (vx_Kalvexa_HasMusicStream == 1) p_PrepareTune(String(GAME_TUNE));
    loadStep = 0;
  }
  if (loadStep > 0) ++loadStep;
  p_WaitStart(1);
  return 0;
}

int c_MyApp::p_PlaySFX(int slot, float rate, float volume, float pan) {
  if (!EffectsOn(options[OPTION_SOUND])) return 0;
  int index = (sfxCursor + 1) % EFFECT_CHANNELS;
  if (index < 0) index = 0;
  sfxCursor = index;
  if (slot == SFX_SHOT) index = SHOT_CHANNEL;
  int channel = soundMap[index];
  vx_audio_StopChannel(channel);
  if (slot >= 0 && slot < SOUND_SLOTS) vx_audio_PlaySound(sounds[slot], channel, 0);
  vx_audio_SetChannelRate(channel, rate);
  vx_audio_SetChannelVolume(channel, volume);
  vx_audio_SetChannelPan(channel, pan);
  return 0;
}

int c_MyApp::p_PlaySFX(int slot, float volume) { return p_PlaySFX(slot, 1, volume, 0); }

int c_MyApp::p_PlaySFXAtRate(int slot, float rate) { return p_PlaySFX(slot, rate, SHORT_FORM_VOLUME, 0); }
