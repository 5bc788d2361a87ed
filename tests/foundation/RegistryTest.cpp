// The class registry: the foundation's classes, lookups by exact name, duplicates, buckets.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "foundation/ClassRegistry.h"
#include "foundation/HashTable.h"
#include "foundation/TQelStringTree.h"
#include "foundation/TQelVFrame.h"
#include "foundation/TQelVMesh.h"
#include "foundation/TQelVTree.h"

namespace {

struct Expected {
  const char* name;
  const char* parent;
};

const Expected kFoundationClasses[] = {
    {"TQelVMesh", "TQelStringTree"}, {"TQelVFrame", "TQelStringTree"}, {"TQelLSObj", nullptr},
    {"TQelStringTree", "TQelTree"},  {"TQelClassTree", "TQelStringTree"}, {"TQelVTree", "TQelLSObj"},
    {"TQelTree", "TQelVTree"},       {"TQelTreeSentinel", "TQelVTree"},
};

TEST(ClassRegistry, FoundationClassesAreRegistered) {
  ASSERT_NE(ClassRegistry, nullptr);
  for (const Expected& c : kFoundationClasses) {
    ClassRecord* record = findClassRecord(c.name);
    ASSERT_NE(record, nullptr) << c.name;
    EXPECT_STREQ(record->className, c.name);
    if (c.parent)
      EXPECT_STREQ(record->parentClassName, c.parent);
    else
      EXPECT_EQ(record->parentClassName, nullptr);
    TQelLSObj* object = createObjectByName(c.name);
    ASSERT_NE(object, nullptr) << c.name;
    EXPECT_EQ(object->refCount, 1);
    EXPECT_EQ(object->classRecord, record);
    object->release();
  }
  EXPECT_EQ(findClassRecord("TQelVMesh"), &TQelVMesh::runtimeClass);
  EXPECT_EQ(findClassRecord("TQelTreeSentinel"), &TQelTreeSentinel::runtimeClass);
}

TEST(ClassRegistry, ObjectsAreOfTheirClass) {
  TQelLSObj* sentinel = createObjectByName("TQelTreeSentinel");
  EXPECT_NE(dynamic_cast<TQelTreeSentinel*>(sentinel), nullptr);
  EXPECT_STREQ(sentinel->className(), "TQelTreeSentinel");
  sentinel->release();
  TQelLSObj* frame = createObjectByName("TQelVFrame");
  EXPECT_NE(dynamic_cast<TQelVFrame*>(frame), nullptr);
  frame->release();
  TQelLSObj* classTree = createObjectByName("TQelClassTree");
  EXPECT_NE(dynamic_cast<TQelClassTree*>(classTree), nullptr);
  classTree->release();
}

TEST(ClassRegistry, UnknownNamesGiveNull) {
  for (const char* name : {"tqeltree", "TQELTREE", "", "TQelTre", "TQelTree ", "TQelXMeshX"})
    EXPECT_EQ(createObjectByName(name), nullptr) << name;
  EXPECT_EQ(createObjectByName(nullptr), nullptr);
}

TEST(ClassRegistry, NamesEndingAlikeShareABucket) {
  int bucket = ClassRegistry->bucketOf("TQelTree");
  EXPECT_EQ(bucket, 'e');
  EXPECT_EQ(ClassRegistry->bucketOf("TQelVTree"), bucket);
  EXPECT_EQ(ClassRegistry->bucketOf("TQelVFrame"), bucket);
  int inBucket = 0;
  HashNode& head = ClassRegistry->bucket(bucket);
  for (HashNode* n = head.next; n->key; n = n->next) ++inBucket;
  EXPECT_GE(inBucket, 5);  // ...Tree x4 and TQelVFrame
  for (const char* name : {"TQelTree", "TQelVTree", "TQelVFrame", "TQelStringTree", "TQelClassTree"})
    EXPECT_STREQ(findClassRecord(name)->className, name);
}

ClassRecord firstDuplicate;
ClassRecord secondDuplicate;
TQelLSObj* makeFirst() { return createObjectByName("TQelVTree"); }
TQelLSObj* makeSecond() { return createObjectByName("TQelTree"); }

TEST(ClassRegistry, LaterRegistrationHidesEarlier) {
  registerStaticClass<firstDuplicate>("DuplicateName", nullptr, &makeFirst);
  EXPECT_EQ(findClassRecord("DuplicateName"), &firstDuplicate);
  registerStaticClass<secondDuplicate>("DuplicateName", "TQelTree", &makeSecond);
  EXPECT_EQ(findClassRecord("DuplicateName"), &secondDuplicate);
  TQelLSObj* made = createObjectByName("DuplicateName");
  EXPECT_NE(dynamic_cast<TQelTree*>(made), nullptr);
  made->release();
  EXPECT_EQ(registerClass(nullptr), 0);
}

}  // namespace
