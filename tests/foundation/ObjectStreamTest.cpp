// The persistable object: reference counts, the stored bytes, chunks, stored strings, and
// the refusal of damaged or hostile records.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "foundation/ClassRegistry.h"
#include "foundation/MemoryStream.h"
#include "foundation/ObjectStream.h"
#include "foundation/TQelLSObj.h"
#include "tests/foundation/ObjectTestSupport.h"

using namespace qeltest;

namespace {

// Writes two chunks (tags 1 and 2, each 8 bytes of data); reads only 4 bytes of chunk 1.
class ChunkedObject : public TQelLSObj {
 public:
  static ClassRecord runtimeClass;
  int saveChunks(Stream& stream, ChunkHeader& header) override {
    for (std::uint32_t tag : {1u, 2u}) {
      if (!beginChunk(stream, header, tag)) return 0;
      if (!writeInt32(stream, static_cast<std::int32_t>(tag * 100)) || !writeInt32(stream, 7)) return 0;
      if (!endChunk(stream, header)) return 0;
    }
    return 1;
  }
  int loadChunk(Stream& stream, ChunkHeader& header, std::uint32_t tag) override {
    seen.push_back(tag);
    ends.push_back(header.end);
    if (tag == 1) return readInt32(stream, value);  // leaves 4 bytes unread
    return 1;
  }
  std::vector<std::uint32_t> seen;
  std::vector<std::int32_t> ends;
  std::int32_t value = 0;
};
ClassRecord ChunkedObject::runtimeClass;
const bool chunkedRegistered =
    (registerStaticClass<ChunkedObject::runtimeClass>("ChunkedObject", "TQelLSObj",
                                                      &createRegisteredObject<ChunkedObject>),
     true);

const std::string kSavedLSObj = nameBytes("TQelLSObj") + std::string("\x0d\0\0\0\x19\0\0\0\x44\x4e\x45\x54", 12);

TEST(RefCounted, RetainAndRelease) {
  TQelLSObj* object = createObjectByName("TQelLSObj");
  ASSERT_NE(object, nullptr);
  EXPECT_EQ(object->refCount, 1);
  object->retain();
  EXPECT_EQ(object->release(), 1);
  EXPECT_EQ(object->refCount, 1);
  EXPECT_EQ(object->release(), 0);  // destroyed (ASan would report a leak otherwise)
}

TEST(ObjectStream, SavedLSObjBytesAndReadBack) {
  TQelLSObj* object = createObjectByName("TQelLSObj");
  ASSERT_NE(object, nullptr);
  EXPECT_EQ(savedBytes(*object), kSavedLSObj);
  object->release();

  MemoryStream stream;
  loadBytes(stream, kSavedLSObj + "tail");
  TQelLSObj* read = readObject(stream);
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->refCount, 1);
  EXPECT_STREQ(read->className(), "TQelLSObj");
  EXPECT_EQ(stream.tell(), 25);
  read->release();
}

TEST(ObjectStream, SaveFailsWhenTheStreamIsFullOrTheClassUnknown) {
  TQelLSObj* object = createObjectByName("TQelLSObj");
  MemoryStream small;
  small.allocate(24);  // one byte short
  EXPECT_EQ(object->save(small), 0);
  small.allocate(25);  // exactly enough: the last write ends at the end of the data
  EXPECT_EQ(object->save(small), 1);
  object->release();
  TQelLSObj plain;  // not made by a factory: no class record to store
  EXPECT_EQ(savedBytes(plain), "");
}

TEST(ObjectStream, ChunksAreSkippedWholeAtTheirEnd) {
  ChunkedObject* object = static_cast<ChunkedObject*>(createObjectByName("ChunkedObject"));
  ASSERT_NE(object, nullptr);
  std::string bytes = savedBytes(*object);
  object->release();
  // name (4 + 13), chunk 1 at 17..37, chunk 2 at 37..57, terminator 57..69.
  ASSERT_EQ(bytes.size(), 69u);
  EXPECT_EQ(bytes.substr(17, 12), headerBytes(17, 37, 1));
  EXPECT_EQ(bytes.substr(37, 12), headerBytes(37, 57, 2));
  EXPECT_EQ(bytes.substr(57, 12), headerBytes(57, 69, kChunkListEndTag));

  MemoryStream stream;
  loadBytes(stream, bytes);
  ChunkedObject* read = static_cast<ChunkedObject*>(readObject(stream));
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->seen, (std::vector<std::uint32_t>{1, 2}));
  EXPECT_EQ(read->ends, (std::vector<std::int32_t>{37, 57}));
  EXPECT_EQ(read->value, 100);
  EXPECT_EQ(stream.tell(), 69);
  read->release();

  // A chunk of a tag nobody knows is skipped by the base class.
  std::string unknown = nameBytes("TQelLSObj") + headerBytes(13, 29, 0xABCD) + "junk" +
                        headerBytes(29, 41, kChunkListEndTag);
  loadBytes(stream, unknown);
  TQelLSObj* plain = readObject(stream);
  ASSERT_NE(plain, nullptr);
  EXPECT_EQ(stream.tell(), 41);
  plain->release();
}

TEST(ObjectStream, StoredStrings) {
  MemoryStream stream;
  stream.allocate(64);
  ASSERT_EQ(writeString(stream, nullptr), 1);
  EXPECT_EQ(stream.tell(), 5);
  ASSERT_EQ(writeString(stream, ""), 1);
  EXPECT_EQ(stream.tell(), 9);
  ASSERT_EQ(writeString(stream, "Box\x82\xa0"), 1);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(stream.bytes()), 9), std::string("\1\0\0\0\0\0\0\0\0", 9));
  stream.seek(0);
  for (const char* expected : {"", "", "Box\x82\xa0"}) {
    char* text = nullptr;
    ASSERT_EQ(readString(stream, text), 1);
    EXPECT_STREQ(text, expected);
    delete[] text;
  }
}

TEST(ObjectStreamBadInput, StringLengthsBeyondTheStreamAreRefused) {
  MemoryStream stream;
  for (std::int32_t length : {-1, INT32_MIN, 5, 0x7fffffff}) {
    loadBytes(stream, int32Bytes(length) + "abcd");
    char* text = nullptr;
    EXPECT_EQ(readString(stream, text), 0) << length;
    EXPECT_EQ(text, nullptr);  // untouched; nothing allocated
  }
  loadBytes(stream, int32Bytes(4) + "abcd");  // exactly the rest of the stream is fine
  char* text = nullptr;
  ASSERT_EQ(readString(stream, text), 1);
  EXPECT_STREQ(text, "abcd");
  delete[] text;
  loadBytes(stream, "ab");  // no room for the length
  EXPECT_EQ(readString(stream, text), 0);
}

TEST(ObjectStreamBadInput, ClassNameLengths) {
  MemoryStream stream;
  std::string tail = headerBytes(0, 12, kChunkListEndTag);
  for (std::int32_t length : {-1, -100, 256, 100000}) {
    loadBytes(stream, int32Bytes(length) + std::string(300, 'A') + tail);
    EXPECT_EQ(readObject(stream), nullptr) << length;
  }
  loadBytes(stream, int32Bytes(9) + "TQelLS");  // short read of the name
  EXPECT_EQ(readObject(stream), nullptr);
  loadBytes(stream, int32Bytes(255) + std::string(255, 'A') + tail);  // fits, but is unknown
  EXPECT_EQ(readObject(stream), nullptr);
  EXPECT_EQ(stream.tell(), 259);  // just after the name
  loadBytes(stream, nameBytes("tqellsobj") + tail);  // names are case-sensitive
  EXPECT_EQ(readObject(stream), nullptr);
  loadBytes(stream, "");
  EXPECT_EQ(readObject(stream), nullptr);
}

TEST(ObjectStreamBadInput, DamagedChunkListsEndTheRead) {
  MemoryStream stream;
  std::string name = nameBytes("TQelLSObj");
  const std::string cases[] = {
      name,                                                        // no header at all
      name + "\x0d\0\0",                                           // a short header
      name + headerBytes(13, 13, 1) + headerBytes(13, 25, kChunkListEndTag),  // end at its own start
      name + headerBytes(13, 20, 1) + headerBytes(13, 25, kChunkListEndTag),  // end inside the header
      name + headerBytes(13, 0, 1),                                // end before the start
      name + headerBytes(13, -5, 1),
      name + headerBytes(13, 1000, 1) + headerBytes(25, 37, kChunkListEndTag),  // end past the stream
      name + headerBytes(13, 25, 1),                               // a chunk, then nothing
  };
  for (const std::string& bytes : cases) {
    loadBytes(stream, bytes);
    EXPECT_EQ(readObject(stream), nullptr) << bytes.size();
  }
  // A chunk that ends exactly at the end of the data is valid; the list still needs its end.
  loadBytes(stream, name + headerBytes(13, 25, 1) + headerBytes(25, 37, kChunkListEndTag));
  TQelLSObj* object = readObject(stream);
  EXPECT_NE(object, nullptr);
  if (object) object->release();
}

}  // namespace
