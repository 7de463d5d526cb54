#include "tools/assetgen/sheets.h"

const std::vector<SheetSpec>& Sheets() {
  static const std::vector<SheetSpec> kSheets = {
      {"gfx", 64, 64, 16, 4, true, 0, DrawGfx,
       {{0, 2, "player running cycle, facing right, feet on row 46"},
        {3, 3, "empty"},
        {4, 4, "player in the air, legs tucked"},
        {5, 7, "empty"},
        {8, 8, "paint gun, pointing right from the frame centre (drawn behind the body)"},
        {9, 9, "gloved hand and sleeve gripping the gun (drawn over the body with the gun's turn)"},
        {10, 10, "spin switch, unlit; its base sits on row 48, the arena floor"},
        {11, 11, "spin switch, lit and glowing"},
        {12, 12, "floor tile; the walking surface is the frame's top edge"},
        {13, 13, "painted floor tile"},
        {14, 14, "glow laid over painted tiles while the switch is lit"},
        {15, 15, "bug nest, resting on the frame's bottom edge"}}},
      {"weapon", 64, 64, 16, 4, true, 0, DrawWeapon,
       {{0, 7, "the eight shot kinds, pointing up: bright core, soft halo"}, {8, 15, "empty"}}},
      {"buga", 64, 64, 16, 4, true, 0, DrawBug,
       {{0, 3, "bug walk cycle, front view, feet on row 46"}, {4, 15, "empty"}}},
      {"heart", 32, 32, 1, 1, true, 0, DrawHeart, {{0, 0, "life icon"}}},
      {"rocks", 64, 64, 16, 4, true, 0, DrawRock,
       {{0, 0, "spare rock (not used by the game)"}, {1, 15, "rock variations, about 58 px across, each its own outline"}}},
      {"flash", 64, 64, 16, 4, true, 0, DrawFlash,
       {{0, 0, "soft round glow (not used by the game)"},
        {1, 15, "white pops: spiked bursts, rings, sparkles and shock waves"}}},
      {"BadgesA", 64, 64, 64, 8, true, 0, DrawBadge,
       {{0, 0, "the test badge: a chequered medal"}, {1, 63, "badges: shapes, metals and emblems in turn"}}},
      {"fonts/editundo", 16, 16, 128, 16, true, 0, DrawEditundo,
       {{0, 0, "space (empty)"},
        {1, 94, "printable ASCII from '!' to '~', white, centred in the cell (advance 7, line 10)"},
        {95, 95, "empty (code 127)"},
        {96, 99, "controller face buttons: bottom, right, left, top"},
        {100, 101, "left and right shoulder buttons"},
        {102, 103, "left and right sticks"},
        {104, 104, "direction pad"},
        {105, 108, "direction pad up, down, left, right"},
        {109, 127, "empty"}}},
      {"trel_font", 7, 13, 96, 96, false, 1, DrawTrelFont,
       {{0, 95, "framework font, ASCII 32 to 127, one empty column either side of each glyph"}}},
      {"common/Testcard_Circle", 256, 256, 1, 1, true, 0, DrawTestcard, {{0, 0, "round test card"}}},
      {"common/LumoLogo", 256, 256, 1, 1, true, 0, DrawLumoLogo, {{0, 0, "studio logo: a glowing lamp over LUMO"}}},
      {"common/dpad", 32, 32, 16, 4, true, 0, DrawDpad,
       {{0, 0, "pad base disc"},
        {1, 4, "arrows up, right, down, left"},
        {5, 8, "the same arrows pressed"},
        {9, 9, "centre nub"},
        {10, 11, "fire button, up and pressed"},
        {12, 15, "diagonal markers"}}},
      {"common/Buttons", 64, 64, 16, 4, true, 0, DrawButtons,
       {{0, 2, "game modes 1 to 3: a nest with one, two and three bugs"},
        {3, 7, "empty"},
        {8, 8, "options cog, outer toothed ring"},
        {9, 9, "options cog, middle ring"},
        {10, 10, "options cog, hub"},
        {11, 11, "empty"},
        {12, 12, "credits: a star over a scroll"},
        {13, 15, "empty"}}},
      {"parts", 8, 8, 256, 16, true, 0, DrawParts,
       {{0, 31, "round dots, large to small"},
        {32, 63, "rings"},
        {64, 95, "sparks (thin streaks) at 32 angles"},
        {96, 127, "shards (triangles) at 32 angles"},
        {128, 159, "four-point stars"},
        {160, 191, "crosses at 32 angles"},
        {192, 223, "squares at 32 angles"},
        {224, 255, "soft glows"}}},
      {"common/icons", 32, 32, 16, 4, true, 0, DrawIcons,
       {{0, 0, "pause button"},
        {1, 1, "quit (a cross)"},
        {2, 2, "empty"},
        {3, 3, "play / resume triangle"},
        {4, 5, "empty"},
        {6, 6, "highlight ring"},
        {7, 15, "empty"}}},
      {"logo", 256, 128, 1, 1, true, 0, DrawLogo, {{0, 0, "the title KALVEXA"}}},
      {"menu", 256, 256, 4, 2, true, 0, DrawMenu,
       {{0, 0, "title screen: drums under a starry sky"}, {1, 3, "empty (not used by the game)"}}},
  };
  return kSheets;
}

Canvas RenderSheet(const SheetSpec& sheet, int scale) {
  int cellW = (sheet.frameWidth + 2 * sheet.padX) * scale, cellH = sheet.frameHeight * scale;
  int rows = (sheet.frames + sheet.columns - 1) / sheet.columns;
  Canvas canvas(cellW * sheet.columns, cellH * rows);
  for (int f = 0; f < sheet.frames; ++f) {
    Painter painter(canvas, (f % sheet.columns) * cellW + sheet.padX * scale, (f / sheet.columns) * cellH,
                    sheet.frameWidth * scale, cellH, scale);
    sheet.draw(painter, f);
  }
  return canvas;
}

std::string SheetFileName(const SheetSpec& sheet, int scale) {
  std::string name = sheet.name;
  if (scale == 2) name += "-hd";
  if (scale == 4) name += "-hd2";
  return name;
}
