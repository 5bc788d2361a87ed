// The engine's intrusive trees. Every node sits in one sibling ring (alone: next and previous
// point at itself). A real node (child non-null) owns the ring of its children, closed by a
// sentinel: the children of P are P.child->next, its next, ... up to the sentinel P.child.
// A parent owns its children outright: destroying it deletes them whatever their counts.
//   TQelVTree         the links, walks, tree load/save; alone it has no child ring
//   TQelTree          a TQelVTree with its own sentinel (created by name, "TQelTreeSentinel")
//   TQelTreeSentinel  closes a child ring; never passed to a walk function
// Walks, save, load and destruction iterate along sibling rings and recurse only into
// children, so their stack depth grows with the tree's depth only (stream-loaded trees are at
// most kMaxObjectNesting deep).
#pragma once

#include <cstdint>

#include "foundation/TQelLSObj.h"

class TQelVTree : public TQelLSObj {
 public:
  // A walk's visit; a null function visits nobody.
  using WalkFunction = void (*)(TQelVTree* node, std::uint32_t arg);

  static ClassRecord runtimeClass;

  TQelVTree() = default;
  // Leaves the parent's ring, then destroys the child ring and everything below it.
  ~TQelVTree() override;

  // The base load, then (for a real node) child records until the stored sentinel, each real
  // one inserted as the last child. 0 when a child record is refused.
  int load(Stream& stream) override;
  // The base save, then (for a real node) each child's save in order and the sentinel's save.
  int save(Stream& stream) override;

  // Children, then later siblings, then the node: for R{A{A1,A2},B}: A2 A1 B A R.
  virtual void walkChildrenSiblingsSelf(WalkFunction fn, std::uint32_t arg);
  // Children, then the node, then later siblings: A1 A2 A B R.
  virtual void walkChildrenSelfSiblings(WalkFunction fn, std::uint32_t arg);
  // The node, then children, then later siblings: R A A1 A2 B.
  virtual void walkSelfChildrenSiblings(WalkFunction fn, std::uint32_t arg);

  // Moves the real node `node` to the end of this real node's children; the tree takes over
  // the caller's reference. Refused (0) for a null or non-real node, a parent without a child
  // ring, or when `node` is this node or one of its ancestors.
  int insertChild(TQelVTree* node);
  // Leaves the sibling ring (which stays consistent); the node is not destroyed.
  void unlink();
  // Deletes `sentinel`, every node of its ring and all their descendants: the children's
  // descendants first (in ring order), then the children from last to first, the sentinel last.
  static void destroySubtree(TQelVTree* sentinel);

  bool isReal() const { return child != nullptr; }
  // First child, or null.
  TQelVTree* firstChild() const;
  // Next sibling in the parent's ring, or null at the last child (or for a node alone).
  TQelVTree* nextSibling() const;

  TQelVTree* parent = nullptr;    // node whose child ring holds this one; null when alone
  TQelVTree* next = this;         // sibling ring
  TQelVTree* child = nullptr;     // owned: the sentinel of the child ring
  TQelVTree* previous = this;     // sibling ring
};

class TQelTree : public TQelVTree {
 public:
  static ClassRecord runtimeClass;
  // Alone, with a fresh sentinel and no children.
  TQelTree();
};

class TQelTreeSentinel : public TQelVTree {
 public:
  static ClassRecord runtimeClass;
  // The walks forward to the first child of the ring, if any.
  void walkChildrenSiblingsSelf(WalkFunction fn, std::uint32_t arg) override;
  void walkChildrenSelfSiblings(WalkFunction fn, std::uint32_t arg) override;
  void walkSelfChildrenSiblings(WalkFunction fn, std::uint32_t arg) override;
};
