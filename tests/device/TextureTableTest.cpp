// The renderer's table of textures and materials: loading once per name, case-sensitive names,
// the two failure messages, material-only entries, the device copy and upload, reloading and
// emptying the table, and the texture-format pick.
#include <cstring>

#include "graphics/LastResult.h"
#include "graphics/TextureFormat.h"
#include "tests/device/RendererTestSupport.h"

namespace renderertest {
namespace {

class TextureTable : public RendererTest {
 protected:
  void SetUp() override {
    RendererTest::SetUp();
    ASSERT_TRUE(writeChecker("checker.bmp", 0xF80000, 0x00FC00));
    renderer.fullScreen = 1;
    ASSERT_EQ(renderer.create(window, nullptr), 1);
  }
  void TearDown() override {
    renderer.releaseAll();
    RendererTest::TearDown();
  }
  Texture* material(const char* name, float diffuseRed = 0.25f, float power = 8.0f) {
    return renderer.createMaterial(name, diffuseRed, 0.5f, 0.75f, 1.0f, 0.1f, 0.2f, 0.3f, 1.0f, 1.0f, 1.0f, 1.0f,
                                   1.0f, 0.0f, 0.0f, 0.0f, 0.0f, power, 4);
  }

  Renderer renderer;
};

// The open-failure line, derived with iconv from the message's text.
const std::string kOpenFailedPrefix =
    "\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xcc\x83\x49\x81\x5b\x83\x76\x83\x93\x82\xc9\x8e\xb8\x94\x73"
    "\x82\xb5\x82\xdc\x82\xb5\x82\xbd\x20\x46\x69\x6c\x65\x4e\x61\x6d\x65\x81\x63\x20";
const std::string kSurfaceFailed =
    "\x54\x65\x78\x74\x75\x72\x65\x83\x54\x81\x5b\x83\x74\x83\x46\x83\x43\x83\x58\x82\xcc\x90\xb6\x90\xac"
    "\x82\xc9\x8e\xb8\x94\x73\x82\xb5\x82\xdc\x82\xb5\x82\xbd";

TEST_F(TextureTable, AskingTwiceLoadsOnceAndTheImageLandsInTheDisplayFormat) {
  Texture* first = renderer.getTexture("checker.bmp");
  ASSERT_NE(first, nullptr);
  std::remove("checker.bmp");  // a second load would now fail
  EXPECT_EQ(renderer.getTexture("checker.bmp"), first);
  EXPECT_EQ(renderer.findTexture("checker.bmp"), first);
  EXPECT_EQ(tableCount(renderer, first), 1);
  EXPECT_STREQ(first->name.c_str(), "checker.bmp");
  EXPECT_TRUE(logText().empty());

  EXPECT_EQ(pixel16(first->surface, 0, 0), rgb565(0x00FC00));
  EXPECT_EQ(pixel16(first->surface, 2, 0), rgb565(0xF80000));
  EXPECT_EQ(pixel16(first->surface, 3, 3), rgb565(0x00FC00));
  EXPECT_EQ(capsOf(first->surface), DWORD(DDSCAPS_TEXTURE | DDSCAPS_SYSTEMMEMORY));
  EXPECT_NE(first->materialHandle, 0u);
}

TEST_F(TextureTable, NamesDifferingInCaseAreDifferentEntries) {
  Texture* lower = renderer.getTexture("checker.bmp");
  Texture* upper = renderer.getTexture("CHECKER.BMP");  // the file is found whatever the case
  ASSERT_NE(lower, nullptr);
  ASSERT_NE(upper, nullptr);
  EXPECT_NE(lower, upper);
  EXPECT_EQ(renderer.findTexture("CHECKER.BMP"), upper);
  EXPECT_EQ(renderer.findTexture("Checker.bmp"), nullptr);
}

TEST_F(TextureTable, AMissingFileWritesExactlyOneLineAndGivesNull) {
  EXPECT_EQ(renderer.getTexture("missing.bmp"), nullptr);
  EXPECT_EQ(logText(), kOpenFailedPrefix + "\"missing.bmp\"\r\n");
  EXPECT_EQ(renderer.findTexture("missing.bmp"), nullptr);
  EXPECT_TRUE(tableEmpty(renderer));
  EXPECT_EQ(renderer.getTexture(nullptr), nullptr);
  EXPECT_EQ(renderer.findTexture(nullptr), nullptr);
}

TEST_F(TextureTable, WithoutACreatedRendererTheSurfaceFailureIsLogged) {
  Renderer empty;
  EXPECT_EQ(empty.getTexture("checker.bmp"), nullptr);
  EXPECT_EQ(logText(), kSurfaceFailed);
  EXPECT_TRUE(tableEmpty(empty));
  // A material still gets its colours for software lighting, but no device handle.
  Texture* paint = empty.createMaterial("paint", 1, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 1);
  EXPECT_EQ(empty.findTexture("paint"), paint);
  EXPECT_EQ(paint->material, nullptr);
  EXPECT_EQ(paint->materialHandle, 0u);
  EXPECT_EQ(paint->materialDesc.diffuse.r, 1.0f);
}

TEST_F(TextureTable, MaterialEntriesHaveNoSurfaceAValidHandleAndTheLaterNameWins) {
  Texture* red = material("paint", 1.0f, 5.0f);
  ASSERT_NE(red, nullptr);
  EXPECT_EQ(red->surface, nullptr);
  EXPECT_EQ(red->deviceTexture, nullptr);
  EXPECT_EQ(red->deviceSurface, nullptr);
  EXPECT_NE(red->materialHandle, 0u);
  EXPECT_EQ(renderer.device->SetLightState(D3DLIGHTSTATE_MATERIAL, red->materialHandle), D3D_OK);
  D3DMATERIAL onDevice{};
  onDevice.dwSize = sizeof onDevice;
  ASSERT_EQ(red->material->GetMaterial(&onDevice), D3D_OK);
  EXPECT_EQ(std::memcmp(&onDevice, &red->materialDesc, sizeof onDevice), 0);
  EXPECT_EQ(red->materialDesc.ambient.b, 0.3f);
  EXPECT_EQ(red->materialDesc.power, 5.0f);

  Texture* again = material("paint", 0.5f);  // a model loaded twice defines its materials again
  EXPECT_NE(again, red);
  EXPECT_EQ(renderer.findTexture("paint"), again);
  Texture* image = renderer.getTexture("checker.bmp");
  again->setBoundTexture(image);
  EXPECT_EQ(again->boundTexture(), image);
  EXPECT_EQ(red->boundTexture(), nullptr);

  Texture* nameless = material(nullptr);  // still a valid key: the empty name
  EXPECT_EQ(renderer.findTexture(""), nameless);
}

TEST_F(TextureTable, TheSoftwareDeviceDrawsFromTheSystemSurfaceAndUploadDoesNothing) {
  Texture* entry = renderer.getTexture("checker.bmp");
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->deviceSurface, entry->surface);
  ASSERT_NE(entry->deviceTexture, nullptr);
  EXPECT_EQ(entry->deviceTexture, entry->systemTexture);  // one texture object per surface
  lastResult = 0x1234;
  entry->upload();
  EXPECT_EQ(lastResult, HRESULT(0x1234));  // no call was made
  EXPECT_EQ(renderer.device->SetTexture(0, entry->deviceTexture), D3D_OK);
}

TEST_F(TextureTable, AHardwareDisplayGetsAVideoMemoryCopyFilledByUpload) {
  // A caller's display that asked for video memory keeps that flag through the fallback.
  renderer.releaseAll();  // one primary at a time
  DisplayDevice display;
  display.hardware = 1;
  ASSERT_EQ(display.create(window), 1);
  Surface target(&display);
  target.width = 64;
  target.height = 48;
  ASSERT_EQ(target.create(&display), 1);
  Renderer onHardware;
  ASSERT_EQ(onHardware.create(window, &target), 1);

  Texture* entry = onHardware.getTexture("checker.bmp");
  ASSERT_NE(entry, nullptr);
  ASSERT_NE(entry->deviceSurface, nullptr);
  EXPECT_NE(entry->deviceSurface, entry->surface);
  EXPECT_EQ(capsOf(entry->deviceSurface), DWORD(DDSCAPS_TEXTURE | DDSCAPS_VIDEOMEMORY | DDSCAPS_ALLOCONLOAD));
  EXPECT_NE(entry->deviceTexture, entry->systemTexture);
  EXPECT_EQ(pixel16(entry->deviceSurface, 2, 0), rgb565(0xF80000));
  EXPECT_EQ(pixel16(entry->deviceSurface, 7, 7), rgb565(0x00FC00));
}

TEST_F(TextureTable, ReloadingKeepsOneNodeAndReleaseAllEmptiesTheTableTwice) {
  Texture* image = renderer.getTexture("checker.bmp");
  ASSERT_NE(image, nullptr);
  ASSERT_EQ(image->loadImage("checker.bmp", &renderer), 1);
  EXPECT_EQ(tableCount(renderer, image), 1);
  Texture* paint = material("paint");
  ASSERT_EQ(paint->defineMaterial("paint", 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, &renderer), 1);
  EXPECT_EQ(tableCount(renderer, paint), 1);
  material("varnish");
  ASSERT_NE(renderer.getTexture("CHECKER.bmp"), nullptr);
  // Bound on the device: the device keeps its own reference past the entry's deletion.
  ASSERT_EQ(renderer.device->SetTexture(0, image->deviceTexture), D3D_OK);

  renderer.releaseAll();
  EXPECT_TRUE(tableEmpty(renderer));
  renderer.releaseAll();
  EXPECT_TRUE(tableEmpty(renderer));
}

TEST_F(TextureTable, ADeletedEntryLeavesTheTable) {
  Texture* paint = material("paint");
  delete paint;
  EXPECT_EQ(renderer.findTexture("paint"), nullptr);
  EXPECT_TRUE(tableEmpty(renderer));
}

TEST(TextureFormat, SkipsAlphaAndPrefersFormatsOfAtLeastSixteenBits) {
  auto rgb = [](DWORD bits, DWORD extraFlags = 0) {
    DDPIXELFORMAT f{};
    f.dwSize = sizeof f;
    f.dwFlags = DDPF_RGB | extraFlags;
    f.dwRGBBitCount = bits;
    return f;
  };
  auto pick = [](std::vector<DDPIXELFORMAT> formats) {
    DDPIXELFORMAT recorded{};
    for (DDPIXELFORMAT& f : formats) EXPECT_EQ(chooseTextureFormat(&f, &recorded), D3DENUMRET_OK);
    return recorded;
  };
  DDPIXELFORMAT indexed8 = rgb(8, DDPF_PALETTEINDEXED8);
  indexed8.dwFlags = DDPF_PALETTEINDEXED8;
  EXPECT_EQ(pick({rgb(16)}).dwRGBBitCount, 16u);
  EXPECT_EQ(pick({rgb(16), rgb(32, DDPF_ALPHAPIXELS)}).dwRGBBitCount, 16u);   // alpha skipped
  EXPECT_EQ(pick({rgb(16), rgb(24)}).dwRGBBitCount, 24u);                      // later, >= 16
  EXPECT_EQ(pick({rgb(24), rgb(16)}).dwRGBBitCount, 16u);                      // still >= 16
  EXPECT_EQ(pick({rgb(16), indexed8}).dwFlags, DWORD(DDPF_PALETTEINDEXED8));   // replaces a 16
  EXPECT_EQ(pick({rgb(24), indexed8}).dwRGBBitCount, 24u);                     // not a 24
  EXPECT_EQ(pick({rgb(8)}).dwRGBBitCount, 0u);                                 // 8-bit RGB is no candidate
}

}  // namespace
}  // namespace renderertest
