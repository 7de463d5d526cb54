// The X display as a test drives it: xdotool, and waiting for windows.
#pragma once
#include <string>
#include <vector>

// Runs xdotool with `arguments`; its output without the closing newline.
std::string Xdotool(std::vector<std::string> arguments);
// The visible window of this name, waited for ("" when none appeared).
std::string WindowNamed(const std::string& name);
void PauseMilliseconds(int milliseconds);
