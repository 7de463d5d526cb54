// Sound decoding: whole files into interleaved 8-bit unsigned or 16-bit signed
// little-endian PCM on the C heap (the caller frees it). Each decoder gives
// length in frames per channel, channels (1 or 2), format in bytes per sample
// and hertz, or returns none and leaves the outputs meaningless.
#pragma once
#include <cstdio>

// RIFF/WAVE PCM. The file is left open.
unsigned char* LoadWAV(FILE* file, int* length, int* channels, int* format, int* hertz);
// Ogg Vorbis through stb_vorbis, always 16-bit. The file is left open.
unsigned char* LoadOGG(FILE* file, int* length, int* channels, int* format, int* hertz);
