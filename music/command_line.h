// The program's one switch, --sequencer: the built-in sequencer plays instead
// of the streamed tune. The arguments are checked before anything starts and
// applied once start-up has set the game's globals, before the app exists.
#pragma once

// Any argument but --sequencer prints a one-line usage on standard error and
// ends the process with status 2.
void vx_Kalvexa_CheckCommandLine(int argc, const char** argv);
// --sequencer sets HasMusic = 1 and HasMusicStream = 0; without it nothing changes.
void vx_Kalvexa_ApplyCommandLine(int argc, const char** argv);
