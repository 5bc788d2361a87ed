// RefCounted: root of the engine's registered classes: a virtual destructor and a plain
// (non-atomic) reference count that starts at 1. Objects live on the heap; the last
// release deletes them.
#pragma once

#include <cstdint>

class RefCounted {
 public:
  RefCounted() = default;
  RefCounted(const RefCounted&) = delete;
  RefCounted& operator=(const RefCounted&) = delete;
  virtual ~RefCounted() = default;

  // One more holder.
  void retain() { ++refCount; }
  // One holder less; at zero or below the object is deleted. Returns the new count.
  std::int32_t release() {
    std::int32_t count = --refCount;
    if (count <= 0) delete this;
    return count;
  }

  std::int32_t refCount = 1;
};
