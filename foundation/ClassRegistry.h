// The class registry: one program-wide StringHashTable that maps a class name (compared byte
// for byte) to the ClassRecord of a class that can be created by name, by code or from an
// object stream. Lookups cost one hash of the name's last byte and a walk of one bucket.
//
// Static registration must survive static-library linking, so it is never left to a static
// object in the class's own file: the foundation's classes are registered by a list that runs
// from the static initialiser of the registry's own source file, so any program that creates
// objects by name has them. Another module registers its classes the same way, from the
// static initialiser of a source file that its users are sure to link (for the .x classes:
// the file that defines loadModel). Two lines per class:
//
//   ClassRecord TQelXMesh::runtimeClass;  // in the class's own source file
//   static const bool xMeshRegistered = (registerStaticClass<TQelXMesh::runtimeClass>(
//       "TQelXMesh", "TQelStringTree", &createRegisteredObject<TQelXMesh>), true);
//
// At exit the registry's nodes and table are freed (destroyClassRegistry), then each record's
// own exit handler frees its name copies.
#pragma once

#include <cstdlib>
#include <new>

class TQelLSObj;
class StringHashTable;

// Creates one object of a class (reference count 1, classRecord set); null when out of memory.
using ClassFactory = TQelLSObj* (*)();

struct ClassRecord {
  char* className = nullptr;        // owned copy of the class name
  char* parentClassName = nullptr;  // owned copy of the parent's name; null without a parent
  ClassFactory factory = nullptr;
};

// The registry; null until the first registration and after destroyClassRegistry.
extern StringHashTable* ClassRegistry;

// Adds the record under its className (a later record of an equal name hides the earlier).
// Creates the registry on first use. 0 when out of memory.
int registerClass(ClassRecord* record);
// The record registered under `name`, or null.
ClassRecord* findClassRecord(const char* name);
// A new object of the class registered under `name` (case-sensitive), or null.
TQelLSObj* createObjectByName(const char* name);
// Frees the registry's nodes and table (not the records); lookups afterwards find nothing.
void destroyClassRegistry();

// Copies the names into the record and stores the factory; freeClassRecordNames undoes it.
void fillClassRecord(ClassRecord& record, const char* name, const char* parentName, ClassFactory factory);
void freeClassRecordNames(ClassRecord& record);

template <ClassRecord& record>
void freeNamesAtExit() {
  freeClassRecordNames(record);
}

// One class's static registration: name copies, factory, registerClass, and an exit handler
// that frees the copies. Call once per record, during static initialisation.
template <ClassRecord& record>
void registerStaticClass(const char* name, const char* parentName, ClassFactory factory) {
  fillClassRecord(record, name, parentName, factory);
  registerClass(&record);
  std::atexit(&freeNamesAtExit<record>);
}

// The factory of class T: a new T whose classRecord is T::runtimeClass.
template <class T>
TQelLSObj* createRegisteredObject() {
  T* object = new (std::nothrow) T();
  if (object) object->classRecord = &T::runtimeClass;
  return object;
}

// Registers the foundation's eight classes and empties the debug log, once; this runs by
// itself during static initialisation and before any lookup.
void registerFoundationClasses();
