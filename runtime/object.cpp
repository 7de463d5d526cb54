#include "runtime/object.h"

#include <cstdint>

int Object::Compare(Object* other) {
  // The difference of the two addresses, as an int.
  return static_cast<int>(reinterpret_cast<intptr_t>(this) - reinterpret_cast<intptr_t>(other));
}
