// The two products of the generator: the game's data folder and the art
// previews for readers.
#pragma once
#include <string>

bool WriteData(const std::string& dataDir);
bool WriteDocs(const std::string& docsDir);
