#include "actors/SceneLink.h"

void SceneLink::unlink() {
  previous->next = next;
  next->previous = previous;
  parent = nullptr;
  next = previous = this;
}

SceneNode::SceneNode() {
  child = &childRing;
  isNode = true;
  childRing.parent = this;
}

SceneNode::~SceneNode() {
  unlink();
  while (childRing.next != &childRing) childRing.next->unlink();
}

int SceneNode::insertChild(SceneNode* node) {
  if (node == nullptr) return 0;
  for (SceneNode* up = this; up != nullptr; up = up->parent)
    if (up == node) return 0;  // the node would become its own descendant
  node->unlink();
  node->parent = this;
  node->next = child;
  node->previous = child->previous;
  child->previous->next = node;
  child->previous = node;
  return 1;
}

SceneNode* SceneNode::firstChild() const {
  SceneLink* first = child->next;
  return first->isNode ? static_cast<SceneNode*>(first) : nullptr;
}

SceneNode* SceneNode::nextSibling() const {
  return next->isNode && next != this ? static_cast<SceneNode*>(next) : nullptr;
}

void SceneNode::destroySubtree(SceneNode* node) {
  if (node == nullptr) return;
  // Children first, ring by ring; the ring itself is walked as a loop (rings may be long).
  SceneNode* last = node;
  for (SceneNode* n = node; n != nullptr; n = n->nextSibling()) {
    destroySubtree(n->firstChild());
    last = n;
  }
  // Then the nodes of the ring from the last back to `node`. Each deletion unlinks the node.
  for (SceneNode* n = last;;) {
    SceneLink* before = n->previous;
    const bool done = n == node;
    delete n;
    if (done || !before->isNode) break;
    n = static_cast<SceneNode*>(before);
  }
}

void SceneNode::destroyTree(SceneNode* root) {
  if (root == nullptr) return;
  destroySubtree(root->firstChild());
  delete root;
}
