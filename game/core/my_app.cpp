#include "game/core/my_app.h"

c_MyApp::c_MyApp() {
  gc_assign(drawList, Array<float>(DRAW_LIST_FLOATS));
  gc_assign(images, Array<c_Image*>(IMAGE_SLOTS));
  gc_assign(imageInfo, Array<int>(IMAGE_SLOTS * 3));
  gc_assign(sounds, Array<c_Sound*>(SOUND_SLOTS));
  gc_assign(soundMap, Array<int>(AUDIO_CHANNELS));
  gc_assign(touchDown, Array<int>(TOUCH_SLOTS));
  gc_assign(touchX, Array<int>(TOUCH_SLOTS));
  gc_assign(touchY, Array<int>(TOUCH_SLOTS));
  gc_assign(padButtons, Array<int>(PAD_BUTTONS));
  gc_assign(cells, Array<int>(CELLS));
  gc_assign(columns, Array<float>(COLUMNS));
  gc_assign(gameVars, Array<float>(GAME_VARS));
  gc_assign(actors, Array<float>(ACTORS));
  gc_assign(particles, Array<float>(PARTICLES));
  gc_assign(stars, Array<float>(STARS));
  gc_assign(scores, Array<int>(SCORES));
  gc_assign(options, Array<int>(OPTIONS));
  gc_assign(badges, Array<bool>(BADGES));
  gc_assign(badgeState, Array<int>(BADGE_SLOTS));
  gc_assign(badgeShown, Array<int>(BADGE_SLOTS));
  gc_assign(music, (new c_OmbiPlayer())->m_new());
  starCount = 100;
  particleLimit = 250;
}

c_MyApp* c_MyApp::m_new() {
  c_App::m_new();
  return this;
}

void c_MyApp::mark() {
  gc_queue(drawList);
  gc_queue(images);
  gc_queue(imageInfo);
  gc_queue(sounds);
  gc_queue(soundMap);
  gc_queue(touchDown);
  gc_queue(touchX);
  gc_queue(touchY);
  gc_queue(padButtons);
  gc_queue(cells);
  gc_queue(columns);
  gc_queue(gameVars);
  gc_queue(actors);
  gc_queue(particles);
  gc_queue(stars);
  gc_queue(scores);
  gc_queue(options);
  gc_queue(badges);
  gc_queue(badgeState);
  gc_queue(badgeShown);
  gc_queue(music);
}
