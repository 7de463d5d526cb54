#include "graphics/data_path.h"

String vx_data_FixDataPath(const String& path) {
  // A path that already has a scheme: its first "/" directly follows the first ":/".
  int scheme = path.Find(String(":/"));
  if (scheme != -1 && path.Find(String("/")) == scheme + 1) return path;
  if (path.StartsWith(String("./")) || path.StartsWith(String("/"))) return path;
  return String("vorlix://data/") + path;
}
