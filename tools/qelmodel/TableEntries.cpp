#include "tools/qelmodel/TableEntries.h"

#include <algorithm>
#include <cstring>

#include "graphics/Renderer.h"
#include "graphics/Texture.h"
#include "platform/ddraw/SurfaceAccess.h"

std::vector<Texture*> tableEntries(Renderer& renderer) {
  std::vector<Texture*> entries;
  for (int b = 0; b < HashTable::kBucketCount; ++b) {
    HashNode* head = &renderer.textures.bucket(b);
    for (HashNode* node = head->next; node != head; node = node->next) entries.push_back(static_cast<Texture*>(node->value));
  }
  // A bucket holds every entry of one name, newest first; the stable sort keeps that order.
  std::stable_sort(entries.begin(), entries.end(), [](const Texture* a, const Texture* b) {
    return std::strcmp(a->name.c_str(), b->name.c_str()) < 0;
  });
  return entries;
}

bool isImageEntry(const Texture* entry) { return entry != nullptr && entry->surface != nullptr; }

const Texture* imageOf(const Texture* entry) {
  if (entry != nullptr && !isImageEntry(entry)) entry = entry->boundTexture();
  return isImageEntry(entry) ? entry : nullptr;
}

bool imageSize(const Texture* entry, int& width, int& height) {
  width = height = 0;
  platform::SurfaceMemory memory;
  if (!isImageEntry(entry) || !platform::surfaceMemory(entry->surface, memory)) return false;
  width = memory.width;
  height = memory.height;
  return true;
}
