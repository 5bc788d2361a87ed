// The scene tree: linking, moving, unlinking, destruction order and the order of both walks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "actors/MeshActor.h"

namespace {

// An actor that records its steps and its deletion in a shared journal.
class Recorder : public MeshActor {
 public:
  Recorder(std::vector<std::string>& journal, std::string name) : journal_(journal), name_(std::move(name)) {}
  ~Recorder() override { journal_.push_back("delete " + name_); }

 protected:
  Matrix4 drawSelf(IDirect3DDevice3* device, const Matrix4& parentWorld) override {
    journal_.push_back("draw " + name_ + " at " + std::to_string(int(parentWorld._41)));
    return MeshActor::drawSelf(device, parentWorld);
  }
  void finishDraw(IDirect3DDevice3*) override { journal_.push_back("end " + name_); }
  void updateSelf() override { journal_.push_back("update " + name_); }
  void finishUpdate() override { journal_.push_back("finish " + name_); }

 private:
  std::vector<std::string>& journal_;
  std::string name_;
};

std::vector<std::string> childNames(const SceneNode& parent, const std::vector<Recorder*>& all,
                                    const std::vector<std::string>& names) {
  std::vector<std::string> out;
  for (SceneNode* n = parent.firstChild(); n != nullptr; n = n->nextSibling())
    for (std::size_t k = 0; k < all.size(); ++k)
      if (all[k] == n) out.push_back(names[k]);
  return out;
}

TEST(SceneTree, LinkMoveAndUnlink) {
  std::vector<std::string> journal;
  Recorder a(journal, "a"), b(journal, "b"), x(journal, "x"), y(journal, "y");
  const std::vector<Recorder*> all = {&x, &y};
  const std::vector<std::string> names = {"x", "y"};
  EXPECT_EQ(a.insertChild(&x), 1);
  EXPECT_EQ(a.insertChild(&y), 1);
  EXPECT_EQ(childNames(a, all, names), (std::vector<std::string>{"x", "y"}));
  EXPECT_EQ(x.parent, &a);
  // Inserting a child again moves it to the end.
  a.insertChild(&x);
  EXPECT_EQ(childNames(a, all, names), (std::vector<std::string>{"y", "x"}));
  // Inserting under another parent moves it away from the first.
  b.insertChild(&y);
  EXPECT_EQ(childNames(a, all, names), (std::vector<std::string>{"x"}));
  EXPECT_EQ(childNames(b, all, names), (std::vector<std::string>{"y"}));
  EXPECT_EQ(y.parent, &b);
  // A node cannot go below itself or its own descendants.
  EXPECT_EQ(x.insertChild(&a), 0);
  EXPECT_EQ(a.insertChild(&a), 0);
  EXPECT_EQ(a.insertChild(nullptr), 0);
  EXPECT_EQ(x.parent, &a);
  x.unlink();
  EXPECT_EQ(a.firstChild(), nullptr);
  EXPECT_EQ(x.parent, nullptr);
  x.unlink();  // alone: stays alone
  EXPECT_EQ(x.next, &x);
  EXPECT_EQ(x.previous, &x);
  EXPECT_EQ(x.parent, nullptr);
}

TEST(SceneTree, DestroyTreeDeletesChildrenFirstAndLaterSiblingsFirst) {
  std::vector<std::string> journal;
  auto* root = new Recorder(journal, "root");
  auto* p = new Recorder(journal, "P");
  auto* q = new Recorder(journal, "Q");
  auto* r = new Recorder(journal, "R");
  root->insertChild(p);
  root->insertChild(q);
  root->insertChild(r);
  p->insertChild(new Recorder(journal, "P1"));
  p->insertChild(new Recorder(journal, "P2"));
  q->insertChild(new Recorder(journal, "Q1"));
  Recorder outside(journal, "outside");  // a sibling of the root is left alone
  Recorder holder(journal, "holder");
  holder.insertChild(root);
  holder.insertChild(&outside);
  SceneNode::destroyTree(root);
  EXPECT_EQ(journal, (std::vector<std::string>{"delete P2", "delete P1", "delete Q1", "delete R", "delete Q",
                                                "delete P", "delete root"}));
  EXPECT_EQ(holder.firstChild(), &outside);
  EXPECT_EQ(outside.nextSibling(), nullptr);
  journal.clear();
}

TEST(SceneTree, DeletingALinkedNodeLeavesSoundRings) {
  std::vector<std::string> journal;
  Recorder parent(journal, "parent"), before(journal, "before"), after(journal, "after"), orphan(journal, "o");
  auto* middle = new Recorder(journal, "middle");
  parent.insertChild(&before);
  parent.insertChild(middle);
  parent.insertChild(&after);
  middle->insertChild(&orphan);
  delete middle;
  EXPECT_EQ(before.nextSibling(), &after);
  EXPECT_EQ(orphan.parent, nullptr);
  EXPECT_EQ(orphan.next, &orphan);
  journal.clear();
}

TEST(SceneTree, WalksVisitSelfChildrenSiblingsAndCloseInReverse) {
  std::vector<std::string> journal;
  Recorder root(journal, "root"), a(journal, "a"), b(journal, "b"), a1(journal, "a1"), a2(journal, "a2");
  root.insertChild(&a);
  root.insertChild(&b);
  a.insertChild(&a1);
  a.insertChild(&a2);
  a.localMatrix._41 = 5;
  root.update();
  EXPECT_EQ(journal, (std::vector<std::string>{"update root", "update a", "update a1", "update a2", "finish a2",
                                               "finish a1", "update b", "finish b", "finish a", "finish root"}));
  journal.clear();
  root.draw(nullptr, IdentityMatrix);
  // Children get the parent's world transform, siblings the same parent transform.
  EXPECT_EQ(journal, (std::vector<std::string>{"draw root at 0", "draw a at 0", "draw a1 at 5", "draw a2 at 5",
                                               "end a2", "end a1", "draw b at 0", "end b", "end a", "end root"}));
  journal.clear();
  // A root without children only takes its own step.
  Recorder lone(journal, "lone");
  lone.update();
  EXPECT_EQ(journal, (std::vector<std::string>{"update lone", "finish lone"}));
  journal.clear();
}

}  // namespace
