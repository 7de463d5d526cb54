// One frame of the game's replay: 2 500 image records of 64 x 64 frames, each
// with its own alpha, colour, blend, position, rotation and scale, drawn
// through the graphics module into the batch renderer. GL is the recording
// table in counting mode, so the time is our own CPU work, not the driver's.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "graphics/graphics.h"
#include "tests/support/gl_recorder.h"

namespace {

constexpr int RECORDS = 2500;    // the draw list's capacity
constexpr int FRAME_SIZE = 64;   // pixels of one frame, square
constexpr int SHEET_SIZE = 512;  // pixels of the frame sheet, square
constexpr int FRAMES = (SHEET_SIZE / FRAME_SIZE) * (SHEET_SIZE / FRAME_SIZE);

struct Scene {
  GlRecorder gl;
  gxtkGraphics* device;
  c_Image* image;

  Scene() {
    gl.countOnly = true;
    vx_graphics_context = (new c_GraphicsContext())->m_new();
    device = new gxtkGraphics();
    vx_graphics_SetGraphicsDevice(device);
    gxtkSurface* sheet = new gxtkSurface();
    sheet->SetData(static_cast<unsigned char*>(calloc(SHEET_SIZE * SHEET_SIZE, 4)), SHEET_SIZE, SHEET_SIZE, 4);
    sheet->Bind();
    image = (new c_Image())
                ->m_new()
                ->p_Init2(sheet, 0, 0, FRAME_SIZE, FRAME_SIZE, FRAMES, c_Image::HandleCentered, nullptr, 0, 0,
                          SHEET_SIZE, SHEET_SIZE);
  }

  ~Scene() {
    vx_graphics_device = nullptr;
    vx_graphics_context = nullptr;
  }

  // As the replay does it: every record sets alpha, colour and blend, and one
  // in four is additive.
  void Frame(bool blendPerRecord) {
    device->BeginRender();
    vx_graphics_BeginRender();
    for (int i = 0; i < RECORDS; ++i) {
      vx_graphics_SetAlpha(0.5f + static_cast<float>(i % 2) * 0.5f);
      vx_graphics_SetColor(255, static_cast<float>(i % 256), 128);
      if (blendPerRecord) {
        vx_graphics_SetBlend(0);
        if (i % 4 == 0) vx_graphics_SetBlend(1);
      }
      vx_graphics_DrawImage2(image, static_cast<float>(i % 640), static_cast<float>(i % 480),
                             static_cast<float>(i % 360), 1.5f, 1.5f, i % FRAMES);
    }
    vx_graphics_EndRender();
    device->EndRender();
  }
};

void Replay(benchmark::State& state, bool blendPerRecord) {
  Scene scene;
  scene.gl.drawCalls = 0;
  for (auto _ : state) scene.Frame(blendPerRecord);
  state.counters["draw_calls_per_frame"] =
      static_cast<double>(scene.gl.drawCalls) / static_cast<double>(state.iterations());
}

void BM_ReplayFrameWithBlendPerRecord(benchmark::State& state) { Replay(state, true); }
BENCHMARK(BM_ReplayFrameWithBlendPerRecord)->Unit(benchmark::kMicrosecond);

void BM_ReplayFrameWithoutBlendChanges(benchmark::State& state) { Replay(state, false); }
BENCHMARK(BM_ReplayFrameWithoutBlendChanges)->Unit(benchmark::kMicrosecond);

}  // namespace
