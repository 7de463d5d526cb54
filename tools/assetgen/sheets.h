// Every picture sheet the game loads: file name, frame grid and the code
// that draws each frame. The table is what the game's loader table asks for.
#pragma once
#include <string>
#include <vector>

#include "tools/assetgen/canvas.h"

// What a range of frames shows; the generator's record of every frame.
struct FrameNote {
  int first, last;
  const char* what;
};

struct SheetSpec {
  const char* name;         // path under data/ without ".png"
  int frameWidth, frameHeight, frames;  // 1x frame size in pixels
  int columns;              // frames per row in the file
  bool threeResolutions;    // name.png, name-hd.png, name-hd2.png; else name.png only
  int padX;                 // empty columns left and right of every frame (PaddedX strips)
  void (*draw)(Painter& painter, int frame);
  std::vector<FrameNote> notes;
};

const std::vector<SheetSpec>& Sheets();
// The whole sheet at `scale` times the frame size.
Canvas RenderSheet(const SheetSpec& sheet, int scale);
// "gfx", "gfx-hd", "gfx-hd2" for scales 1, 2, 4.
std::string SheetFileName(const SheetSpec& sheet, int scale);

void DrawGfx(Painter& p, int frame);
void DrawWeapon(Painter& p, int frame);
void DrawBug(Painter& p, int frame);
void DrawHeart(Painter& p, int frame);
void DrawRock(Painter& p, int frame);
void DrawFlash(Painter& p, int frame);
void DrawBadge(Painter& p, int frame);
void DrawEditundo(Painter& p, int frame);
void DrawTrelFont(Painter& p, int frame);
void DrawTestcard(Painter& p, int frame);
void DrawLumoLogo(Painter& p, int frame);
void DrawDpad(Painter& p, int frame);
void DrawButtons(Painter& p, int frame);
void DrawParts(Painter& p, int frame);
void DrawIcons(Painter& p, int frame);
void DrawLogo(Painter& p, int frame);
void DrawMenu(Painter& p, int frame);
