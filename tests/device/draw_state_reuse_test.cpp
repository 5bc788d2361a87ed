// What the device keeps from one draw call to the next (the viewport mapping, the matrix
// products) never serves a draw whose state changed: the same triangle drawn after each
// change of the world, view or projection matrix lands where a fresh device draws it.
#include "DeviceTestKit.h"

#include <gtest/gtest.h>

using namespace devicetest;

namespace {

D3DMATRIX translation(float x, float y, float z) {
  D3DMATRIX m{};
  m._11 = m._22 = m._33 = m._44 = 1;
  m._41 = x, m._42 = y, m._43 = z;
  return m;
}

D3DMATRIX zoomedOut(D3DMATRIX projection) {
  projection._11 *= 0.5f, projection._22 *= 0.5f;
  return projection;
}

// The triangle under world, view and projection on a fresh device.
std::vector<std::uint16_t> drawnAlone(const D3DMATRIX& world, const D3DMATRIX& view, const D3DMATRIX& projection) {
  TestDevice t(32, 32, false);
  t.device->setRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
  t.device->setTransform(D3DTRANSFORMSTATE_WORLD, world);
  t.device->setTransform(D3DTRANSFORMSTATE_VIEW, view);
  t.device->setTransform(D3DTRANSFORMSTATE_PROJECTION, projection);
  D3DLVERTEX v[3] = {lv(-1, -1, 4), lv(1, -1, 4), lv(0, 1, 4)};
  t.device->drawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_LVERTEX, v, 3, 0);
  return t.color;
}

}  // namespace

TEST(DrawStateReuse, EachMatrixChangeReachesTheNextDraw) {
  const D3DMATRIX one = translation(0, 0, 0), proj = defaultProjection();
  const struct {
    D3DMATRIX world, view, projection;
  } steps[] = {
      {one, one, proj},
      {one, one, proj},  // unchanged
      {translation(1.5f, 0, 0), one, proj},
      {translation(1.5f, 0, 0), translation(0, -1, 0), proj},
      {translation(1.5f, 0, 0), translation(0, -1, 0), zoomedOut(proj)},
      {one, one, proj},  // back to the first
  };
  TestDevice t(32, 32, false);
  t.device->setRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
  for (const auto& s : steps) {
    t.clear(0);
    t.device->setTransform(D3DTRANSFORMSTATE_WORLD, s.world);
    t.device->setTransform(D3DTRANSFORMSTATE_VIEW, s.view);
    t.device->setTransform(D3DTRANSFORMSTATE_PROJECTION, s.projection);
    D3DLVERTEX v[3] = {lv(-1, -1, 4), lv(1, -1, 4), lv(0, 1, 4)};
    ASSERT_EQ(D3D_OK, t.device->drawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_LVERTEX, v, 3, 0));
    const std::vector<std::uint16_t> expected = drawnAlone(s.world, s.view, s.projection);
    EXPECT_NE(0, t.countNot(0));
    EXPECT_TRUE(t.color == expected) << "step " << (&s - steps);
  }
}
