// The collector against plain new/delete, and the pause of one collector step
// under a steady allocation rate.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "runtime/gc.h"
#include "runtime/object.h"

namespace {

struct Link : Object {
  Link* next = nullptr;
  void mark() override { gc_queue(next); }
};

// The same shape on the plain C++ heap.
struct PlainLink {
  virtual ~PlainLink() {}
  PlainLink* next = nullptr;
  int flags = 0;
};

Link* root = nullptr;
void MarkRoot() { gc_queue(root); }

// Small short-lived objects, with one collector step per 1 000 allocations
// (the game allocates far less between two steps).
void BM_CollectorAllocate(benchmark::State& state) {
  gc_init1();
  gc_init2(MarkRoot);
  int n = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(new Link);
    if (++n % 1000 == 0) gc_collect();
  }
}
BENCHMARK(BM_CollectorAllocate);

void BM_NewDelete(benchmark::State& state) {
  std::vector<PlainLink*> batch;
  batch.reserve(1000);
  for (auto _ : state) {
    batch.push_back(new PlainLink);
    benchmark::DoNotOptimize(batch.back());
    if (batch.size() == 1000) {
      for (PlainLink* p : batch) delete p;
      batch.clear();
    }
  }
  for (PlainLink* p : batch) delete p;
}
BENCHMARK(BM_NewDelete);

// A live heap of 100 000 objects; each step follows 64 KiB of new objects,
// one in eight of which is kept (replacing an old one). Reports the worst
// step and the mean.
void BM_CollectorStepPause(benchmark::State& state) {
  constexpr int kLive = 100000;
  constexpr int kStepBytes = 64 * 1024;
  gc_init1();
  gc_init2(MarkRoot);
  root = nullptr;
  for (int i = 0; i < kLive; ++i) {
    Link* l = new Link;
    gc_assign(l->next, root);
    gc_assign(root, l);
  }
  gc_collect_all();
  double worst = 0, total = 0;
  long steps = 0;
  for (auto _ : state) {
    for (int bytes = 0, k = 0; bytes < kStepBytes; bytes += static_cast<int>(sizeof(Link)), ++k) {
      Link* l = new Link;
      if (k % 8 == 0) {
        gc_assign(l->next, root->next ? root->next->next : nullptr);
        gc_assign(root->next, l);
      }
    }
    auto start = std::chrono::steady_clock::now();
    gc_collect();
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    worst = std::max(worst, seconds);
    total += seconds;
    ++steps;
  }
  state.counters["worst_step_ms"] = worst * 1e3;
  state.counters["mean_step_ms"] = total / static_cast<double>(steps) * 1e3;
}
BENCHMARK(BM_CollectorStepPause)->Iterations(2000);

}  // namespace
