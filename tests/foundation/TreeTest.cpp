// Trees: rings and sentinels, insertion and moves, walk and destruction orders, stored bytes
// and round trips through readObject, long sibling rings and hostile nesting.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/ClassRegistry.h"
#include "foundation/MemoryStream.h"
#include "foundation/ObjectStream.h"
#include "foundation/TQelStringTree.h"
#include "foundation/TQelVTree.h"
#include "tests/foundation/ObjectTestSupport.h"

using namespace qeltest;

namespace {

std::vector<std::string> gEvents;

// A string tree that notes its destruction.
class NotedTree : public TQelStringTree {
 public:
  ~NotedTree() override { gEvents.push_back(std::string("~") + (name ? name : "?")); }
};

TQelStringTree* named(const char* text) {
  TQelStringTree* node = static_cast<TQelStringTree*>(createObjectByName("TQelStringTree"));
  node->setName(text);
  return node;
}

NotedTree* noted(const char* text) {
  NotedTree* node = new NotedTree;
  node->setName(text);
  return node;
}

void record(TQelVTree* node, std::uint32_t arg) {
  gEvents.push_back(std::string(static_cast<TQelStringTree*>(node)->name) + (arg == 7 ? "" : "!"));
}

std::vector<std::string> childNames(TQelVTree* parent) {
  std::vector<std::string> out;
  for (TQelVTree* c = parent->firstChild(); c; c = c->nextSibling())
    out.push_back(static_cast<TQelStringTree*>(c)->name);
  return out;
}

using Names = std::vector<std::string>;

// R{A{A1,A2},B}
TQelStringTree* sampleTree() {
  TQelStringTree* r = named("R");
  TQelStringTree* a = named("A");
  r->insertChild(a);
  a->insertChild(named("A1"));
  a->insertChild(named("A2"));
  r->insertChild(named("B"));
  return r;
}

TEST(Tree, NewTreeHasOnlyItsSentinel) {
  TQelLSObj* made = createObjectByName("TQelTree");
  TQelVTree* tree = static_cast<TQelVTree*>(made);
  ASSERT_NE(tree->child, nullptr);
  EXPECT_STREQ(tree->child->className(), "TQelTreeSentinel");
  EXPECT_EQ(tree->child->next, tree->child);
  EXPECT_EQ(tree->child->previous, tree->child);
  EXPECT_EQ(tree->child->child, nullptr);
  EXPECT_EQ(tree->firstChild(), nullptr);
  EXPECT_EQ(tree->next, tree);
  EXPECT_EQ(tree->parent, nullptr);
  tree->release();
}

TEST(Tree, InsertMovesAndUnlinks) {
  TQelStringTree* p = named("P");
  TQelStringTree* q = named("Q");
  TQelStringTree* a = named("A");
  TQelStringTree* b = named("B");
  EXPECT_EQ(p->insertChild(a), 1);
  EXPECT_EQ(p->insertChild(b), 1);
  EXPECT_EQ(childNames(p), (Names{"A", "B"}));
  EXPECT_EQ(a->parent, p);
  EXPECT_EQ(q->insertChild(a), 1);
  EXPECT_EQ(childNames(p), (Names{"B"}));
  EXPECT_EQ(childNames(q), (Names{"A"}));
  b->unlink();
  EXPECT_EQ(childNames(p), Names{});
  EXPECT_EQ(b->parent, nullptr);
  EXPECT_EQ(b->next, b);
  // Refusals: cycles, sentinels and parents without a child ring.
  EXPECT_EQ(a->insertChild(q), 0);
  EXPECT_EQ(a->insertChild(a), 0);
  EXPECT_EQ(p->insertChild(p->child), 0);
  EXPECT_EQ(p->insertChild(nullptr), 0);
  TQelVTree* plain = static_cast<TQelVTree*>(createObjectByName("TQelVTree"));
  EXPECT_EQ(plain->insertChild(b), 0);
  EXPECT_EQ(p->insertChild(plain), 0);
  plain->release();
  b->release();
  p->release();
  q->release();  // deletes A with it
}

TEST(Tree, WalkOrders) {
  TQelStringTree* r = sampleTree();
  gEvents.clear();
  r->walkSelfChildrenSiblings(&record, 7);
  EXPECT_EQ(gEvents, (Names{"R", "A", "A1", "A2", "B"}));
  gEvents.clear();
  r->walkChildrenSelfSiblings(&record, 7);
  EXPECT_EQ(gEvents, (Names{"A1", "A2", "A", "B", "R"}));
  gEvents.clear();
  r->walkChildrenSiblingsSelf(&record, 7);
  EXPECT_EQ(gEvents, (Names{"A2", "A1", "B", "A", "R"}));
  // Started on a child, a walk covers it and its later siblings only; the argument is passed.
  TQelVTree* a = r->firstChild();
  gEvents.clear();
  a->walkSelfChildrenSiblings(&record, 1);
  EXPECT_EQ(gEvents, (Names{"A!", "A1!", "A2!", "B!"}));
  gEvents.clear();
  a->nextSibling()->walkChildrenSiblingsSelf(&record, 7);
  EXPECT_EQ(gEvents, (Names{"B"}));
  // A sentinel forwards and is never visited; a null function visits nobody.
  gEvents.clear();
  a->child->walkChildrenSelfSiblings(&record, 7);
  EXPECT_EQ(gEvents, (Names{"A1", "A2"}));
  gEvents.clear();
  r->walkSelfChildrenSiblings(nullptr, 7);
  EXPECT_TRUE(gEvents.empty());
  r->release();
}

TEST(Tree, DestructionOrderAndDetachment) {
  NotedTree* p = noted("P");
  NotedTree* a = noted("A");
  NotedTree* b = noted("B");
  p->insertChild(a);
  a->insertChild(noted("A1"));
  a->insertChild(noted("A2"));
  p->insertChild(b);
  b->insertChild(noted("B1"));
  b->retain();  // a count above one does not keep a child alive
  gEvents.clear();
  delete noted("lone");
  EXPECT_EQ(gEvents, (Names{"~lone"}));
  gEvents.clear();
  a->release();  // deleting a child removes it from its parent's ring
  EXPECT_EQ(gEvents, (Names{"~A", "~A2", "~A1"}));
  EXPECT_EQ(childNames(p), (Names{"B"}));
  a = noted("A");
  p->insertChild(a);
  a->insertChild(noted("A1"));
  a->insertChild(noted("A2"));
  p->insertChild(b);  // order A, B again
  gEvents.clear();
  p->release();
  // The parent's own part first, then the children's descendants in ring order, then the
  // children from last to first.
  EXPECT_EQ(gEvents, (Names{"~P", "~A2", "~A1", "~B1", "~B", "~A"}));
}

TEST(Tree, StoredStringTreeBytes) {
  TQelStringTree* parent = named("Root");
  parent->insertChild(named("c"));
  std::string bytes = savedBytes(*parent);
  parent->release();
  std::string expected = emptyRecord("TQelStringTree", 0);
  expected += emptyRecord("TQelStringTree", 30);
  expected += emptyRecord("TQelTreeSentinel", 60);
  expected += int32Bytes(1) + "c";
  expected += emptyRecord("TQelTreeSentinel", 97);
  expected += int32Bytes(4) + "Root";
  EXPECT_EQ(bytes.size(), 137u);
  EXPECT_EQ(bytes, expected);
  // An unnamed tree stores its null name as one zero byte.
  TQelLSObj* unnamed = createObjectByName("TQelStringTree");
  EXPECT_EQ(savedBytes(*unnamed), emptyRecord("TQelStringTree", 0) + emptyRecord("TQelTreeSentinel", 30) +
                                      int32Bytes(1) + std::string(1, '\0'));
  unnamed->release();
}

TEST(Tree, RoundTripKeepsNamesOrderAndClasses) {
  TQelStringTree* r = sampleTree();
  TQelLSObj* classTree = createObjectByName("TQelClassTree");
  static_cast<TQelStringTree*>(classTree)->setName("C\x82\xa0");
  r->firstChild()->insertChild(static_cast<TQelVTree*>(classTree));
  TQelLSObj* plainTree = createObjectByName("TQelTree");
  r->insertChild(static_cast<TQelVTree*>(plainTree));
  std::string bytes = savedBytes(*r);
  ASSERT_FALSE(bytes.empty());

  MemoryStream stream;
  loadBytes(stream, bytes);
  TQelLSObj* read = readObject(stream);
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(stream.tell(), static_cast<std::int32_t>(bytes.size()));
  TQelStringTree* copy = dynamic_cast<TQelStringTree*>(read);
  ASSERT_NE(copy, nullptr);
  EXPECT_STREQ(copy->name, "R");
  TQelVTree* a = copy->firstChild();
  EXPECT_STREQ(static_cast<TQelStringTree*>(a)->name, "A");
  EXPECT_EQ(childNames(a).size(), 3u);
  EXPECT_STREQ(a->firstChild()->nextSibling()->nextSibling()->className(), "TQelClassTree");
  EXPECT_STREQ(static_cast<TQelStringTree*>(a->firstChild()->nextSibling()->nextSibling())->name, "C\x82\xa0");
  EXPECT_STREQ(a->nextSibling()->className(), "TQelStringTree");
  EXPECT_STREQ(a->nextSibling()->nextSibling()->className(), "TQelTree");
  EXPECT_EQ(a->nextSibling()->nextSibling()->nextSibling(), nullptr);
  // The copy saves to the same bytes.
  EXPECT_EQ(savedBytes(*copy), bytes);
  copy->release();
  r->release();
}

TEST(Tree, LongSiblingRings) {
  const int kCount = 5000;
  TQelStringTree* root = named("root");
  for (int i = 0; i < kCount; ++i) root->insertChild(static_cast<TQelVTree*>(createObjectByName("TQelTree")));
  int visits = 0;
  static int* counter = nullptr;
  counter = &visits;
  auto count = [](TQelVTree*, std::uint32_t) { ++*counter; };
  root->walkChildrenSiblingsSelf(count, 0);
  root->walkChildrenSelfSiblings(count, 0);
  root->walkSelfChildrenSiblings(count, 0);
  EXPECT_EQ(visits, 3 * (kCount + 1));
  std::string bytes = savedBytes(*root, 1 << 22);
  ASSERT_FALSE(bytes.empty());
  MemoryStream stream;
  loadBytes(stream, bytes);
  TQelLSObj* copy = readObject(stream);
  ASSERT_NE(copy, nullptr);
  visits = 0;
  static_cast<TQelVTree*>(copy)->walkSelfChildrenSiblings(count, 0);
  EXPECT_EQ(visits, kCount + 1);
  copy->release();
  root->release();
}

// A chain of `depth` string trees, each the only child of the one before.
std::string chainBytes(int depth) {
  TQelStringTree* root = named("0");
  TQelStringTree* last = root;
  for (int i = 1; i < depth; ++i) {
    TQelStringTree* node = named("n");
    last->insertChild(node);
    last = node;
  }
  std::string bytes = savedBytes(*root, 1 << 22);
  root->release();
  return bytes;
}

TEST(TreeBadInput, NestingIsBounded) {
  MemoryStream stream;
  // Each chain node holds a record one level deeper; the last holds its sentinel's record.
  loadBytes(stream, chainBytes(kMaxObjectNesting - 1));
  TQelLSObj* deepest = readObject(stream);
  EXPECT_NE(deepest, nullptr);
  if (deepest) deepest->release();
  loadBytes(stream, chainBytes(kMaxObjectNesting));
  EXPECT_EQ(readObject(stream), nullptr);
  // A hostile stream of a hundred thousand nested openings is refused without deep recursion.
  std::string opening = emptyRecord("TQelStringTree", 0);
  std::string hostile;
  for (int i = 0; i < 100000; ++i) hostile += opening;
  loadBytes(stream, hostile);
  EXPECT_EQ(readObject(stream), nullptr);
}

TEST(TreeBadInput, DamagedChildrenRefuseTheWholeRecord) {
  std::string bytes;
  {
    TQelStringTree* root = sampleTree();
    bytes = savedBytes(*root);
    root->release();
  }
  MemoryStream stream;
  // Every truncation fails cleanly (and leaks nothing).
  for (std::size_t cut = 0; cut < bytes.size(); cut += 7) {
    loadBytes(stream, bytes.substr(0, cut));
    EXPECT_EQ(readObject(stream), nullptr) << cut;
  }
  // An unregistered class among the children refuses the record instead of reading on.
  std::string renamed = bytes;
  std::size_t at = renamed.find("TQelStringTree", 10);
  renamed.replace(at, 14, "TQelStringTreX");
  loadBytes(stream, renamed);
  EXPECT_EQ(readObject(stream), nullptr);
  // A stored plain object where the sentinel belongs ends the list like a sentinel.
  std::string plainEnd = emptyRecord("TQelTree", 0) + emptyRecord("TQelLSObj", 24);
  loadBytes(stream, plainEnd);
  TQelLSObj* tree = readObject(stream);
  ASSERT_NE(tree, nullptr);
  EXPECT_EQ(static_cast<TQelVTree*>(tree)->firstChild(), nullptr);
  tree->release();
}

}  // namespace
