// The program's switches. They are checked before anything starts, so that
// --help, --version and a mistyped switch answer without a window; the rest
// are applied once start-up has set the game's globals, before the app exists.
#pragma once
#include <string>
#include <vector>

// --help prints the usage and the controls on standard output and --version
// the version, each ending the process with status 0; an unknown argument
// prints the usage on standard error and ends it with status 2.
void vx_Kalvexa_CheckCommandLine(int argc, const char** argv);
// --sequencer sets HasMusic = 1 and HasMusicStream = 0; without it nothing changes.
void vx_Kalvexa_ApplyCommandLine(int argc, const char** argv);
// The argument given after switch `name`, "" for a switch that takes none;
// null when the switch is not given. --record FILE and --replay FILE take a
// file; --headless goes only with --replay, and --record not with it.
const char* vx_Kalvexa_Switch(int argc, const char** argv, const char* name);
// The switches given that change the game, in order: what a recording keeps.
std::vector<std::string> vx_Kalvexa_GameSwitches(int argc, const char** argv);
bool vx_Kalvexa_IsGameSwitch(const std::string& name);
