#include "game/core/globals.h"

int vx_Kalvexa_isOuya = 0;
float vx_Kalvexa_overscan = 0;
int vx_Kalvexa_HasMusic = 0;
int vx_Kalvexa_HasMusicStream = 1;
int vx_Kalvexa_DebugMode = 0;
float vx_Kalvexa_rawscrw = 640, vx_Kalvexa_rawscrh = 480;
float vx_Kalvexa_jscrw = 640, vx_Kalvexa_jscrh = 480;
int vx_Kalvexa_iCadeControls = 0;
int vx_Kalvexa_OnScreenControls = 0;
int vx_Kalvexa_AccelerometerControls = 0;
Array<String> vx_Kalvexa_CreditText;

namespace {

constexpr const char* kCreditLines[] = {
    "Kalvexa",
    "-=-=-",
    "Design and code",
    "The Kalvexa developers",
    "-=-=-",
    "Graphics",
    "Drawn by the",
    "project's own",
    "asset generator",
    "-=-=-",
    "Audio",
    "Effects and the tune",
    "synthesised by the",
    "asset generator",
    "-=-=-",
    "Built with",
    "GLFW",
    "OpenAL Soft",
    "stb_image",
    "stb_vorbis",
    "libvorbis",
    "-=-=-",
    "Runtime",
    "Vorlix",
    "collector, host,",
    "renderer and mixer",
    "-=-=-",
    "Font",
    "trel_font",
    "made for this game",
    "-=-=-",
    "Thanks to",
    "Everyone who tested",
    "the drums",
    "Everyone who painted",
    "every floor",
    "Everyone who hit",
    "the Spin switch",
    "-=-=-",
    "Run and Fire",
    "Stand and Fire",
    "Step onto 50%",
    "of the floors",
    "Then hit",
    "the Spin switch",
    "-=-=-",
    "Thank you",
    "for playing",
    "-=-=-",
    "End",
};
constexpr int CREDIT_LINES = 50;
static_assert(sizeof kCreditLines / sizeof kCreditLines[0] == CREDIT_LINES);

}  // namespace

Array<String> vx_Kalvexa_MakeCreditText() {
  Array<String> lines(CREDIT_LINES);
  for (int i = 0; i < CREDIT_LINES; ++i) lines[i] = String(kCreditLines[i]);
  return lines;
}
