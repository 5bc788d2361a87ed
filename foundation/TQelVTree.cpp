#include "foundation/TQelVTree.h"

#include "foundation/ClassRegistry.h"
#include "foundation/ObjectStream.h"

ClassRecord TQelVTree::runtimeClass;
ClassRecord TQelTree::runtimeClass;
ClassRecord TQelTreeSentinel::runtimeClass;

TQelVTree::~TQelVTree() {
  unlink();
  if (child) destroySubtree(child);
  child = nullptr;
}

TQelVTree* TQelVTree::firstChild() const {
  return child && child->next->isReal() ? child->next : nullptr;
}

TQelVTree* TQelVTree::nextSibling() const {
  return next != this && next->isReal() ? next : nullptr;
}

void TQelVTree::unlink() {
  previous->next = next;
  next->previous = previous;
  parent = nullptr;
  next = previous = this;
}

int TQelVTree::insertChild(TQelVTree* node) {
  if (!node || !node->isReal() || !isReal() || node == this) return 0;
  for (TQelVTree* ancestor = parent; ancestor; ancestor = ancestor->parent)
    if (ancestor == node) return 0;  // would close a cycle
  node->unlink();
  node->parent = this;
  TQelVTree* sentinel = child;
  node->next = sentinel;
  node->previous = sentinel->previous;
  sentinel->previous->next = node;
  sentinel->previous = node;
  return 1;
}

void TQelVTree::destroySubtree(TQelVTree* sentinel) {
  if (!sentinel) return;
  // Every child's descendants first, in ring order (recursion goes down only).
  for (TQelVTree* node = sentinel->next; node != sentinel; node = node->next) {
    if (node->child) {
      TQelVTree* below = node->child;
      node->child = nullptr;
      destroySubtree(below);
    }
  }
  // Then the children from last to first: each destructor unlinks its node from the ring.
  while (sentinel->previous != sentinel) delete sentinel->previous;
  delete sentinel;
}

void TQelVTree::walkChildrenSiblingsSelf(WalkFunction fn, std::uint32_t arg) {
  if (!fn) return;
  TQelVTree* last = this;
  for (TQelVTree* node = this;;) {
    if (node->child) node->child->walkChildrenSiblingsSelf(fn, arg);
    last = node;
    TQelVTree* following = node->next;
    if (following == this || !following->isReal()) break;
    node = following;
  }
  // The visits run backwards, from the last sibling to this node.
  for (TQelVTree* node = last;;) {
    TQelVTree* before = node == this ? nullptr : node->previous;
    fn(node, arg);
    if (!before) break;
    node = before;
  }
}

void TQelVTree::walkChildrenSelfSiblings(WalkFunction fn, std::uint32_t arg) {
  if (!fn) return;
  for (TQelVTree* node = this;;) {
    if (node->child) node->child->walkChildrenSelfSiblings(fn, arg);
    fn(node, arg);
    node = node->next;
    if (node == this || !node->isReal()) break;
  }
}

void TQelVTree::walkSelfChildrenSiblings(WalkFunction fn, std::uint32_t arg) {
  if (!fn) return;
  for (TQelVTree* node = this;;) {
    fn(node, arg);
    if (node->child) node->child->walkSelfChildrenSiblings(fn, arg);
    node = node->next;
    if (node == this || !node->isReal()) break;
  }
}

int TQelVTree::save(Stream& stream) {
  if (!TQelLSObj::save(stream)) return 0;
  if (!child) return 1;
  TQelVTree* node = child->next;
  for (; node != child && node->isReal(); node = node->next)
    if (!node->save(stream)) return 0;
  return node->save(stream);  // the sentinel's record ends the list
}

int TQelVTree::load(Stream& stream) {
  if (!TQelLSObj::load(stream)) return 0;
  if (!child) return 1;
  for (;;) {
    TQelLSObj* object = readObject(stream);
    if (!object) return 0;  // an unknown class or a damaged record: the whole record is refused
    TQelVTree* node = dynamic_cast<TQelVTree*>(object);
    if (!node || !node->isReal()) {
      delete object;  // the stored sentinel ends the list
      return 1;
    }
    insertChild(node);
  }
}

TQelTree::TQelTree() {
  TQelLSObj* made = createObjectByName("TQelTreeSentinel");
  TQelVTree* sentinel = dynamic_cast<TQelVTree*>(made);
  if (!sentinel || sentinel->isReal()) {
    // Registry gone (after exit) or the name taken by something else: make one directly.
    delete made;
    sentinel = static_cast<TQelVTree*>(createRegisteredObject<TQelTreeSentinel>());
  }
  child = sentinel;
}

void TQelTreeSentinel::walkChildrenSiblingsSelf(WalkFunction fn, std::uint32_t arg) {
  if (next->isReal()) next->walkChildrenSiblingsSelf(fn, arg);
}

void TQelTreeSentinel::walkChildrenSelfSiblings(WalkFunction fn, std::uint32_t arg) {
  if (next->isReal()) next->walkChildrenSelfSiblings(fn, arg);
}

void TQelTreeSentinel::walkSelfChildrenSiblings(WalkFunction fn, std::uint32_t arg) {
  if (next->isReal()) next->walkSelfChildrenSiblings(fn, arg);
}
