// Ogg Vorbis output through libvorbisenc, at a fixed stream serial number so
// the bytes never change between runs.
#pragma once
#include <string>
#include <vector>

// `left` and `right` in -1..1, equal lengths.
bool WriteOggStereo(const std::string& path, const std::vector<float>& left, const std::vector<float>& right,
                    int hertz, float quality);
