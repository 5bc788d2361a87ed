// The device calls of the draws: a mesh actor's exact sequence, the sky's states around its
// later siblings, the particle's screen square and fading colour.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "actors/ParticleActor.h"
#include "actors/SkyActor.h"
#include "tests/actors/RecordingDevice.h"

namespace {

using Calls = std::vector<std::string>;

// The mesh draw of one actor whose world translation x is `x`, with `vertices`/`indices` counts.
Calls meshDraw(int x, int vertices, int indices, bool textured) {
  return {"state 27=0",  // ALPHABLENDENABLE off
          "state 21=7",  // TEXTUREMAPBLEND = COPY
          "stage 0 2=2",  // COLORARG1 = TEXTURE
          "stage 0 1=2",  // COLOROP = SELECTARG1
          "transform 1 x=" + std::to_string(x),
          std::string("texture 0 ") + (textured ? "set" : "null"),
          "indexed 4 fvf 274 v " + std::to_string(vertices) + " i " + std::to_string(indices) + " flags 1"};
}

void append(Calls& to, const Calls& more) { to.insert(to.end(), more.begin(), more.end()); }

IDirect3DTexture2* fakeTexture() { return reinterpret_cast<IDirect3DTexture2*>(0x1000); }

TEST(ActorDraw, MeshActorIssuesTheDeviceCallsInOrder) {
  RecordingDevice device;
  MeshActor root, ball, child, empty;
  ball.buildSphere(3, 3);
  ball.texture = fakeTexture();
  ball.localMatrix._41 = 2;
  child.buildSphere(3, 3);
  child.localMatrix._41 = 3;
  root.insertChild(&ball);
  root.insertChild(&empty);  // no mesh: nothing of its own
  ball.insertChild(&child);
  Matrix4 parent = IdentityMatrix;
  parent._41 = 10;
  root.draw(&device, parent);
  Calls expected = meshDraw(12, 12, 36, true);
  append(expected, meshDraw(15, 12, 36, false));  // the child under the ball's world transform
  EXPECT_EQ(device.calls, expected);
  EXPECT_EQ(device.lastWorld._41, 15.0f);
}

TEST(ActorDraw, SkyStatesStayOffForItsLaterSiblings) {
  RecordingDevice device;
  MeshActor root, before, after;
  SkyActor sky;
  for (MeshActor* a : {&before, static_cast<MeshActor*>(&sky), &after}) {
    a->buildSphere(3, 3);
    root.insertChild(a);
  }
  Matrix4 camera = IdentityMatrix;
  camera._41 = 7;
  sky.followMatrix = &camera;
  root.draw(&device, IdentityMatrix);
  Calls expected = meshDraw(0, 12, 36, false);
  append(expected, {"state 29=0", "state 137=0"});
  append(expected, meshDraw(7, 12, 36, false));
  append(expected, meshDraw(0, 12, 36, false));
  append(expected, {"state 137=1", "state 29=1"});
  EXPECT_EQ(device.calls, expected);
}

TEST(ActorDraw, ParticleSquareAtDepthTen) {
  D3DTLVERTEX corners[4];
  ParticleActor::screenSquare(Vector3(0, 0, 10), 0xFF7F7F7Fu, corners);
  const float expected[4][4] = {{294.4f, 265.6f, 0, 0}, {294.4f, 214.4f, 1, 0}, {345.6f, 265.6f, 0, 1},
                                {345.6f, 214.4f, 1, 1}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_NEAR(corners[i].sx, expected[i][0], 1e-3f) << i;
    EXPECT_NEAR(corners[i].sy, expected[i][1], 1e-3f) << i;
    EXPECT_FLOAT_EQ(corners[i].sz, 0.9f);
    EXPECT_EQ(corners[i].rhw, 1.0f);
    EXPECT_EQ(corners[i].color, 0xFF7F7F7Fu);
    EXPECT_EQ(corners[i].specular, 0u);
    EXPECT_EQ(corners[i].tu, expected[i][2]);
    EXPECT_EQ(corners[i].tv, expected[i][3]);
  }
}

TEST(ActorDraw, ParticlesDrawInViewSpaceAndSkipNearOrUntextured) {
  RecordingDevice device;
  device.view._43 = 4;  // the camera 4 units behind the origin
  MeshActor root;
  ParticleActor lit, near, bare;
  lit.resetParticle(0, 0, 6);
  lit.life = 256;
  lit.texture = fakeTexture();
  near.resetParticle(0, 0, -3.95f);  // view depth 0.05
  near.texture = fakeTexture();
  bare.resetParticle(0, 0, 6);
  for (ParticleActor* p : {&lit, &near, &bare}) root.insertChild(p);
  root.draw(&device, IdentityMatrix);
  EXPECT_EQ(device.calls, (Calls{"draw 5 fvf 452 n 4 flags 1"}));  // strip of TL vertices
  ASSERT_EQ(device.lastStrip.size(), 4u);
  EXPECT_NEAR(device.lastStrip[0].sx, 294.4f, 1e-3f);
  EXPECT_EQ(device.lastStrip[0].color, 0xFF7F7F7Fu);
  // A particle at the end of its life is unlinked by its update and not drawn that frame.
  device.calls.clear();
  lit.life = 1;
  root.update();
  root.draw(&device, IdentityMatrix);
  EXPECT_TRUE(device.calls.empty());
  EXPECT_EQ(lit.parent, nullptr);
}

}  // namespace
