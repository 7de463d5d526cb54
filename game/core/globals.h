// The game module's globals: settings that start-up sets before the app
// exists, and the credit lines.
#pragma once
#include "runtime/array.h"
#include "runtime/string.h"

extern int vx_Kalvexa_isOuya;                 // console build: asks before quitting
extern float vx_Kalvexa_overscan;             // horizontal screen margin, device pixels
extern int vx_Kalvexa_HasMusic;               // the sequencer plays tunes
extern int vx_Kalvexa_HasMusicStream;         // the tune streams through the music channel
extern int vx_Kalvexa_DebugMode;              // debug overlay; F1 toggles it
extern float vx_Kalvexa_rawscrw, vx_Kalvexa_rawscrh;  // design size of the screen, virtual units
extern float vx_Kalvexa_jscrw, vx_Kalvexa_jscrh;      // current virtual screen size
extern int vx_Kalvexa_iCadeControls;          // iCade controller mode
extern int vx_Kalvexa_OnScreenControls;
extern int vx_Kalvexa_AccelerometerControls;
extern Array<String> vx_Kalvexa_CreditText;   // the credit lines, shown cyclically

// The credit lines as start-up stores them.
Array<String> vx_Kalvexa_MakeCreditText();
