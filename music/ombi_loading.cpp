// The staged loader: the tune image, the two drum kits, lead, accompaniment
// and bass, and the decoding of the image's frames into cells, a few steps
// per rendered frame.
#include "framework/app.h"
#include "graphics/data_path.h"
#include "music/ombi_player.h"
#include "music/ombi_tables.h"

int c_OmbiPlayer::p_Ombi_Alive_R() {
  for (int i = 0; i < OMBI_LOAD_STEPS_PER_FRAME && m_loadStep > 0; ++i) p_Ombi_LoadChunk();
  vx_graphics_Cls(0, 0, 0);
  return 0;
}

int c_OmbiPlayer::p_Ombi_LoadChunk() {
  int s = m_loadStep;
  LoadSample(s);
  if (s == 1) gc_assign(m_tuneImage, LoadTuneImage());
  if (m_tuneImage && s >= OMBI_FIRST_DECODE_STEP && s < OMBI_FIRST_DECODE_STEP + OMBI_VARIANTS) {
    DecodeFrame(s - OMBI_FIRST_DECODE_STEP);
  }
  m_loadStep = s + 1;
  m_nextStepTime = vx_app_MillisecsAfter(vx_app_Millisecs(), OMBI_START_DELAY_MS);
  if (m_loadStep > OMBI_LOAD_STEPS) m_loadStep = 0;
  return 0;
}

void c_OmbiPlayer::LoadSample(int step) {
  for (const OmbiSampleStep& entry : kOmbiSampleSteps) {
    if (step < entry.first || step > entry.last) continue;
    int slot = entry.firstSlot + step - entry.first;
    String name = String("inst/") + String(entry.stem) + String(m_picks[entry.pick]);
    if (entry.kit) name = name + String("-") + String(slot);
    gc_assign((this->*entry.bank)[slot], vx_audio_LoadSound(name + String(".wav")));
  }
}

// 64 frames of 64 x 64 with the handle at the centre, or none. Cutting frames
// that do not fit is fatal, so a picture too small for them counts as missing.
c_Image* c_OmbiPlayer::LoadTuneImage() {
  gxtkSurface* surface = vx_graphics_device->LoadSurface(vx_data_FixDataPath(m_tunePath));
  if (!surface) return nullptr;
  int w = surface->Width(), h = surface->Height();
  if ((w / OMBI_FRAME_PIXELS) * (h / OMBI_FRAME_PIXELS) < OMBI_FRAMES) return nullptr;
  return (new c_Image())
      ->m_new()
      ->p_Init2(surface, 0, 0, OMBI_FRAME_PIXELS, OMBI_FRAME_PIXELS, OMBI_FRAMES, c_Image::HandleCentered, nullptr,
                0, 0, w, h);
}

// A pixel's value is its blue byte >> 3. The bytes come straight from the
// decoded picture instead of drawing the frame and reading the back buffer
// back: in a window smaller than a frame that read-back is undefined. They
// are the values the drawing would give, since the picture is premultiplied
// like the blended result over a background without blue.
void c_OmbiPlayer::DecodeFrame(int frame) {
  gxtkSurface* surface = m_tuneImage->surface;
  c_Frame* corner = m_tuneImage->frames[frame];
  int depth = surface->bytesPerPixel;
  int blue = depth >= 3 ? 2 : 0;  // grey pictures: the luminance is the blue
  for (int y = 0; y < OMBI_FRAME_PIXELS; ++y) {
    const unsigned char* row =
        surface->pixelData + (static_cast<size_t>(corner->srcY + y) * surface->width + corner->srcX) * depth;
    for (int x = 0; x < OMBI_FRAME_PIXELS; ++x) {
      int value = row[x * depth + blue] >> 3;
      int band = x / OMBI_CELL_VALUES;
      m_cells[CellAt(frame, band, y) + x % OMBI_CELL_VALUES] = value;
      if (value != 0) m_lastVariant[band] = frame;
    }
  }
}
