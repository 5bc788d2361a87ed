// SceneLink and SceneNode: the intrusive scene tree. Siblings form a circular doubly linked
// ring closed by their parent's ring head (a link that is not a node); a link that belongs to no
// ring is alone (next and previous are itself). Linking gives no ownership: nodes are deleted
// explicitly or with destroyTree. Every node of a tree is an Actor (see Actor.h).
#pragma once

class SceneNode;

class SceneLink {
 public:
  SceneLink() = default;
  virtual ~SceneLink() = default;
  SceneLink(const SceneLink&) = delete;
  SceneLink& operator=(const SceneLink&) = delete;

  // Takes this link out of its ring: parent null, alone. Harmless on a link that is alone.
  void unlink();

  bool isNode = false;           // true for a real node, false for a ring head
  SceneNode* parent = nullptr;   // whose child ring holds this link; null when unlinked
  SceneLink* next = this;        // next link of the ring; itself when alone
  SceneLink* child = nullptr;    // a node's own ring head; null for a ring head
  SceneLink* previous = this;    // previous link of the ring; itself when alone
};

class SceneNode : public SceneLink {
 public:
  // Unlinks itself and detaches its children (each left alone), so no ring keeps a pointer to it.
  ~SceneNode() override;

  // Unlinks `node` wherever it is and appends it to this node's children (moving it to the end
  // when it is already a child here). Refused (0) for null, this node itself or one of its
  // ancestors, which would close a cycle; 1 otherwise.
  int insertChild(SceneNode* node);
  // The first child, or null when there is none.
  SceneNode* firstChild() const;
  // The next sibling, or null at the end of the ring or when alone.
  SceneNode* nextSibling() const;

  // Deletes `node`, all its descendants and all its later siblings: children before parents,
  // later siblings before earlier ones. Null does nothing.
  static void destroySubtree(SceneNode* node);
  // Deletes every descendant of `root`, then `root`; its own siblings are left alone.
  static void destroyTree(SceneNode* root);

  SceneLink childRing;  // head of the ring of children; its parent is this node

 protected:
  SceneNode();
};
