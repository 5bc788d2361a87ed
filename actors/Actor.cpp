#include "actors/Actor.h"

namespace {

// Every real node of an actor tree is an Actor: SceneNode's constructor is protected and
// Actor is its only subclass.
Actor* asActor(SceneNode* node) { return static_cast<Actor*>(node); }

}  // namespace

void Actor::finishDraw(IDirect3DDevice3*) {}
void Actor::updateSelf() {}
void Actor::finishUpdate() {}

void Actor::draw(IDirect3DDevice3* device, const Matrix4& parentWorld) {
  Actor* last = this;
  for (Actor* node = this; node != nullptr; node = asActor(node->nextSibling())) {
    const Matrix4 world = node->drawSelf(device, parentWorld);
    if (SceneNode* first = node->firstChild()) asActor(first)->draw(device, world);
    last = node;
  }
  // Closing steps from the last node back to this one, as a recursive walk unwinds.
  for (Actor* node = last;;) {
    SceneLink* before = node->previous;
    node->finishDraw(device);
    if (node == this || !before->isNode) break;
    node = asActor(static_cast<SceneNode*>(before));
  }
}

void Actor::update() {
  Actor* last = this;
  for (Actor* node = this; node != nullptr; node = asActor(node->nextSibling())) {
    node->updateSelf();
    if (SceneNode* first = node->firstChild()) asActor(first)->update();
    last = node;
  }
  for (Actor* node = last;;) {
    SceneLink* before = node->previous;  // read first: the node may unlink itself
    node->finishUpdate();
    if (node == this || !before->isNode) break;
    node = asActor(static_cast<SceneNode*>(before));
  }
}
