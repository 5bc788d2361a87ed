// The generic frame and mesh, and attachment lists.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "foundation/AttachmentList.h"
#include "foundation/ClassRegistry.h"
#include "foundation/MemoryStream.h"
#include "foundation/ObjectStream.h"
#include "foundation/TQelVFrame.h"
#include "foundation/TQelVMesh.h"
#include "tests/foundation/ObjectTestSupport.h"

using namespace qeltest;

namespace {

TQelVFrame* newFrame() { return static_cast<TQelVFrame*>(createObjectByName("TQelVFrame")); }

TEST(VFrame, NewFrameState) {
  TQelVFrame* frame = newFrame();
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(std::memcmp(&frame->firstMatrix, &IdentityMatrix, sizeof(Matrix4)), 0);
  EXPECT_EQ(std::memcmp(&frame->secondMatrix, &IdentityMatrix, sizeof(Matrix4)), 0);
  EXPECT_TRUE(frame->attachments.empty());
  EXPECT_EQ(frame->firstChild(), nullptr);
  EXPECT_EQ(frame->name, nullptr);
  frame->extension1(1);
  frame->extension2(1, 2);
  frame->extension3(3, 4);
  EXPECT_TRUE(frame->attachments.empty());
  frame->release();
}

TEST(VFrame, AttachmentsAreReleasedWithTheFrame) {
  TQelVFrame* frame = newFrame();
  TQelLSObj* onlyHere = createObjectByName("TQelVMesh");  // its one reference goes to the list
  TQelLSObj* shared = createObjectByName("TQelVMesh");
  shared->retain();
  ASSERT_EQ(frame->attachments.append(onlyHere), 1);
  ASSERT_EQ(frame->attachments.append(shared), 1);
  EXPECT_EQ(frame->attachments.count(), 2);
  EXPECT_EQ(frame->attachments.first()->object, onlyHere);
  EXPECT_EQ(frame->attachments.after(frame->attachments.first())->object, shared);
  EXPECT_EQ(frame->attachments.after(frame->attachments.after(frame->attachments.first())), nullptr);
  frame->release();  // onlyHere is destroyed (ASan reports a leak otherwise)
  EXPECT_EQ(shared->refCount, 1);
  shared->release();
}

TEST(VFrame, StoresAsAStringTreeUnderItsOwnName) {
  TQelVFrame* frame = newFrame();
  frame->setName("F");
  frame->firstMatrix._41 = 9;  // not part of the stored form
  TQelLSObj* mesh = createObjectByName("TQelVMesh");
  static_cast<TQelVMesh*>(mesh)->setName("m");
  frame->insertChild(static_cast<TQelVTree*>(mesh));
  std::string bytes = savedBytes(*frame);
  std::string expected = emptyRecord("TQelVFrame", 0) + emptyRecord("TQelVMesh", 26) +
                         emptyRecord("TQelTreeSentinel", 51) + int32Bytes(1) + "m" +
                         emptyRecord("TQelTreeSentinel", 88) + int32Bytes(1) + "F";
  EXPECT_EQ(bytes, expected);
  frame->release();

  MemoryStream stream;
  loadBytes(stream, bytes);
  TQelVFrame* copy = dynamic_cast<TQelVFrame*>(readObject(stream));
  ASSERT_NE(copy, nullptr);
  EXPECT_STREQ(copy->name, "F");
  EXPECT_EQ(std::memcmp(&copy->firstMatrix, &IdentityMatrix, sizeof(Matrix4)), 0);
  EXPECT_TRUE(copy->attachments.empty());
  EXPECT_NE(dynamic_cast<TQelVMesh*>(copy->firstChild()), nullptr);
  copy->release();
}

TEST(AttachmentList, DestroyReleasesInOrderAndEmpties) {
  AttachmentList list;
  EXPECT_EQ(list.first(), nullptr);
  TQelLSObj* a = createObjectByName("TQelLSObj");
  TQelLSObj* b = createObjectByName("TQelLSObj");
  a->retain();
  b->retain();
  list.append(a);
  list.append(b);
  list.append(nullptr);  // an empty entry is skipped when releasing
  list.destroy();
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(a->refCount, 1);
  EXPECT_EQ(b->refCount, 1);
  a->release();
  b->release();
}

}  // namespace
