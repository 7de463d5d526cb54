// The program's switches. They are checked before anything starts, so that
// --help, --version and a mistyped switch answer without a window; the rest
// are applied once start-up has set the game's globals, before the app exists.
#pragma once

// --help prints the usage and the controls on standard output and --version
// the version, each ending the process with status 0; an unknown argument
// prints the usage on standard error and ends it with status 2.
void vx_Kalvexa_CheckCommandLine(int argc, const char** argv);
// --sequencer sets HasMusic = 1 and HasMusicStream = 0; without it nothing changes.
void vx_Kalvexa_ApplyCommandLine(int argc, const char** argv);
