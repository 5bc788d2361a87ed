#include "foundation/ClassRegistry.h"

#include <new>

#include "foundation/HashTable.h"
#include "foundation/HeapString.h"

StringHashTable* ClassRegistry = nullptr;

namespace {
// Runs the foundation's registration list before the program's entry function. It lives in
// this file so that every program that looks classes up links it.
[[maybe_unused]] const bool gFoundationRegistered = (registerFoundationClasses(), true);
}  // namespace

int registerClass(ClassRecord* record) {
  if (!record || !record->className) return 0;
  HashNode* node = new (std::nothrow) HashNode;
  if (!node) return 0;
  node->key = record->className;
  node->value = record;
  if (!ClassRegistry) {
    ClassRegistry = new (std::nothrow) StringHashTable;
    if (!ClassRegistry) {
      delete node;
      return 0;
    }
  }
  ClassRegistry->insert(node);
  return 1;
}

ClassRecord* findClassRecord(const char* name) {
  registerFoundationClasses();  // in case a lookup comes from another file's static initialiser
  if (!name || !ClassRegistry) return nullptr;
  HashNode* node = ClassRegistry->find(name);
  return node ? static_cast<ClassRecord*>(node->value) : nullptr;
}

TQelLSObj* createObjectByName(const char* name) {
  ClassRecord* record = findClassRecord(name);
  if (!record || !record->factory) return nullptr;
  return record->factory();
}

void destroyClassRegistry() {
  if (!ClassRegistry) return;
  for (int b = 0; b < HashTable::kBucketCount; ++b) {
    HashNode& head = ClassRegistry->bucket(b);
    HashNode* node = head.next;
    while (node->key) {
      HashNode* next = node->next;
      delete node;
      node = next;
    }
    head.next = head.previous = &head;
  }
  delete ClassRegistry;
  ClassRegistry = nullptr;
}

void fillClassRecord(ClassRecord& record, const char* name, const char* parentName, ClassFactory factory) {
  record.className = copyText(name);
  record.parentClassName = copyText(parentName);
  record.factory = factory;
}

void freeClassRecordNames(ClassRecord& record) {
  delete[] record.className;
  delete[] record.parentClassName;
  record.className = nullptr;
  record.parentClassName = nullptr;
}
