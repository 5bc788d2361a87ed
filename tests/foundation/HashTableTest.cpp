// HashTable and StringHashTable: buckets, order of equal keys, removal.
#include <gtest/gtest.h>

#include <cstdint>

#include "foundation/HashTable.h"

namespace {

TEST(HashTable, IntegerKeysLatestFirstAndRemove) {
  HashTable table;
  std::uint32_t keyA = 0x1234, keyB = 0x1234, other = 0x5534;
  EXPECT_EQ(table.find(&keyA), nullptr);
  HashNode a, b, c;
  a.key = &keyA;
  b.key = &keyB;
  c.key = &other;
  table.insert(&a);
  table.insert(&c);
  EXPECT_EQ(table.bucketOf(&other), 0x34);  // the low byte of the value
  EXPECT_EQ(table.find(&keyB), &a);
  table.insert(&b);
  EXPECT_EQ(table.find(&keyA), &b);  // later insertion first
  HashTable::remove(&b);
  EXPECT_EQ(b.next, &b);
  EXPECT_EQ(table.find(&keyA), &a);
  EXPECT_EQ(table.find(&other), &c);
  HashTable::remove(&a);
  HashTable::remove(&c);
  EXPECT_EQ(table.find(&other), nullptr);
  EXPECT_EQ(table.bucket(0x34).next, &table.bucket(0x34));
}

TEST(HashTable, StringKeysByLastByte) {
  StringHashTable table;
  EXPECT_EQ(table.bucketOf(""), 0);
  EXPECT_EQ(table.bucketOf("TQelTree"), 101);
  EXPECT_EQ(table.bucketOf("TQelVFrame"), 101);
  EXPECT_EQ(table.bucketOf("x\xe9"), 0xe9);  // bytes above 0x7F are unsigned
  HashNode tree, frame, vtree;
  tree.key = "TQelTree";
  frame.key = "TQelVFrame";
  vtree.key = "TQelVTree";
  table.insert(&tree);
  table.insert(&frame);
  table.insert(&vtree);
  char copy[] = "TQelTree";  // equal text at another address
  EXPECT_EQ(table.find(copy), &tree);
  EXPECT_EQ(table.find("TQelVFrame"), &frame);
  EXPECT_EQ(table.find("TQelVTree"), &vtree);
  EXPECT_EQ(table.find("tqeltree"), nullptr);
  EXPECT_EQ(table.find("QelTree"), nullptr);
  EXPECT_EQ(table.find(""), nullptr);
}

}  // namespace
