// HashTable: a fixed table of 256 buckets holding caller-owned nodes. Each bucket is a ring
// whose head is a HashNode with a null key. No element count, no growth; the table never
// allocates or frees a node. Lookup: one hash call and a walk of one bucket, later
// insertions found first.
//   HashTable        keys point at 32-bit values; bucket = the value's low byte.
//   StringHashTable  keys are NUL-terminated byte strings; bucket = the last byte (0 for "").
#pragma once

#include <cstdint>

struct HashNode {
  const void* key = nullptr;  // not owned; never null once inserted
  void* value = nullptr;      // not owned: the payload
  HashNode* next = this;      // bucket ring
  HashNode* previous = this;

  HashNode() = default;
  HashNode(const HashNode&) = delete;  // a linked node must not be duplicated
  HashNode& operator=(const HashNode&) = delete;
};

class HashTable {
 public:
  static constexpr int kBucketCount = 256;

  HashTable();
  HashTable(const HashTable&) = delete;
  HashTable& operator=(const HashTable&) = delete;

  // Integer whose low 8 bits select the bucket.
  virtual std::uint32_t hash(const void* key) const;
  // Whether a node's key equals `key`.
  virtual bool equal(const void* nodeKey, const void* key) const;

  // Links the node at the head of its bucket. The node must not be in a table already.
  void insert(HashNode* node);
  // The most recently inserted node whose key equals `key`, or null.
  HashNode* find(const void* key) const;
  // Unlinks the node from its ring (the table itself is not consulted); the node is not freed.
  static void remove(HashNode* node);

  // Head of bucket `index` (0..255), for walks over the whole table.
  HashNode& bucket(int index) { return buckets[index]; }
  // Bucket number of `key`.
  int bucketOf(const void* key) const { return static_cast<int>(hash(key) & 0xFF); }

 private:
  HashNode buckets[kBucketCount];
};

// No virtual destructor (none is needed): delete a table through its own type.
class StringHashTable final : public HashTable {
 public:
  std::uint32_t hash(const void* key) const override;
  bool equal(const void* nodeKey, const void* key) const override;
};
