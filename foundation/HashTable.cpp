#include "foundation/HashTable.h"

#include <cstring>

HashTable::HashTable() = default;  // each bucket head is its own empty ring

std::uint32_t HashTable::hash(const void* key) const { return *static_cast<const std::uint8_t*>(key); }

bool HashTable::equal(const void* nodeKey, const void* key) const {
  std::uint32_t a, b;
  std::memcpy(&a, nodeKey, sizeof a);
  std::memcpy(&b, key, sizeof b);
  return a == b;
}

void HashTable::insert(HashNode* node) {
  HashNode& head = buckets[bucketOf(node->key)];
  node->next = head.next;
  node->previous = &head;
  head.next->previous = node;
  head.next = node;
}

HashNode* HashTable::find(const void* key) const {
  const HashNode& head = buckets[bucketOf(key)];
  for (HashNode* n = head.next; n->key; n = n->next)
    if (equal(n->key, key)) return n;
  return nullptr;
}

void HashTable::remove(HashNode* node) {
  node->next->previous = node->previous;
  node->previous->next = node->next;
  node->next = node->previous = node;
}

std::uint32_t StringHashTable::hash(const void* key) const {
  const char* text = static_cast<const char*>(key);
  std::size_t length = std::strlen(text);
  return length ? static_cast<std::uint8_t>(text[length - 1]) : 0u;
}

bool StringHashTable::equal(const void* nodeKey, const void* key) const {
  return std::strcmp(static_cast<const char*>(nodeKey), static_cast<const char*>(key)) == 0;
}
