// The saved-state parser on any text. Whatever it restores, the game saves
// again in a form that it loads back to the same tables.
#include <cstdlib>
#include <vector>

#include "game/core/my_app.h"
#include "runtime/startup.h"
#include "tools/fuzz/fuzz_host.h"

namespace {

std::vector<int> Tables(const c_MyApp& app) {
  std::vector<int> tables(app.options.begin(), app.options.end());
  tables.insert(tables.end(), app.badges.begin(), app.badges.end());
  tables.insert(tables.end(), app.scores.begin(), app.scores.end());
  return tables;
}

c_MyApp* NewApp() {
  vxMain();
  return static_cast<c_MyApp*>(vx_app__app);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzHost& host = vx_fuzz_case(".vorlixstate", data, size);
  static c_MyApp* app = NewApp();
  // Every case starts where a first run does: nothing restored yet.
  for (int& option : app->options) option = 0;
  for (bool& badge : app->badges) badge = false;
  for (int& score : app->scores) score = 0;

  host.state = String::Decode(data, size);
  app->p_Load();
  std::vector<int> loaded = Tables(*app);
  app->p_Save();
  app->p_Load();
  if (Tables(*app) != loaded) abort();
  return 0;
}
