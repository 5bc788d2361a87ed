// The span pipeline sets up its chunk stages only when a draw call's first triangle needs
// them: draws alternating between states the fused kernels serve and states only the
// chunk stages serve (texture factor, specular) give the same picture as a device that
// draws everything with the chunk stages, so no draw runs with an earlier draw's stages
// or constants.
#include "DeviceTestKit.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace devicetest;

TEST(SpanPipelinePrepare, StagesAndConstantsFollowEachDraw) {
  TestDevice fast(40, 30, false), stages(40, 30, false);  // no depth: later draws cover earlier ones
  stages.device->useSpanKernels(false);
  for (TestDevice* t : {&fast, &stages}) {
    t->clear(0x203040, 1.0f);
    auto* d = t->device.get();
    d->setRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
    auto tri = [&](float x, float y, D3DCOLOR c, D3DCOLOR specular) {
      D3DTLVERTEX v[3] = {tl(x, y, 0.5f, c, 0, 0, 1, specular), tl(x + 18, y + 2, 0.4f, c, 0, 0, 1, specular),
                          tl(x + 4, y + 16, 0.3f, c, 0, 0, 1, specular)};
      ASSERT_EQ(D3D_OK, d->drawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_TLVERTEX, v, 3, 0));
    };
    tri(1, 1, 0xFF808080, 0xFF000000);                          // diffuse only: a kernel
    d->setTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    d->setTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TFACTOR);
    d->setTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    d->setRenderState(D3DRENDERSTATE_TEXTUREFACTOR, 0xFFFF4000);
    tri(20, 1, 0xFFFFFFFF, 0xFF000000);                         // texture factor: chunk stages
    d->setRenderState(D3DRENDERSTATE_TEXTUREFACTOR, 0xFF00C0FF);
    tri(1, 13, 0xFFFFFFFF, 0xFF000000);                         // a new factor
    d->setTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    d->setTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
    d->setRenderState(D3DRENDERSTATE_SPECULARENABLE, TRUE);
    tri(20, 13, 0xFF204060, 0xFF402010);                        // specular add: chunk stages
    d->setRenderState(D3DRENDERSTATE_SPECULARENABLE, FALSE);
    tri(10, 8, 0xFF10F010, 0xFF000000);                         // back to a kernel
  }
  int differing = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) differing += !near(fast.rgb(x, y), stages.rgb(x, y), 8);
  EXPECT_EQ(0, differing);
  EXPECT_TRUE(near(0xFF4000, fast.rgb(26, 4), 8));   // the first factor
  EXPECT_TRUE(near(0x00C0FF, fast.rgb(5, 16), 8));   // the second one
  EXPECT_TRUE(near(0x606070, fast.rgb(26, 16), 8));  // diffuse plus specular
}
