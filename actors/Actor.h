// Actor: a node of the scene tree that draws and updates itself. `draw` and `update` on a node
// reach the node, its subtree and its later siblings, in this order per node: its own step, its
// children's ring, then the next sibling; a node's closing step (finishDraw, finishUpdate) runs
// only after everything after it in its ring is done. Rings are walked as loops, recursion goes
// only into children, so rings of any length (1025 particles) are fine; a node's `next` is read
// after its own step and subtree, so a node may unlink itself in its closing step.
#pragma once

#include "actors/SceneLink.h"
#include "geometry/math/Matrix4.h"

struct IDirect3DDevice3;

class Actor : public SceneNode {
 public:
  // Draws this node, its subtree and its later siblings; parentWorld is the parent's world
  // transform (IdentityMatrix for a root).
  void draw(IDirect3DDevice3* device, const Matrix4& parentWorld);
  // One simulation step of this node, its subtree and its later siblings.
  void update();

 protected:
  Actor() = default;

  // The node's own drawing; returns the world transform its children are drawn under.
  virtual Matrix4 drawSelf(IDirect3DDevice3* device, const Matrix4& parentWorld) = 0;
  // Runs after the node's later siblings have been drawn. Default: nothing.
  virtual void finishDraw(IDirect3DDevice3* device);
  // The node's own simulation step, before its children. Default: nothing.
  virtual void updateSelf();
  // Runs after the node's later siblings have been updated. Default: nothing.
  virtual void finishUpdate();
};
