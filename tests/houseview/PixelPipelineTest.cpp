// The pipeline's start-up choices, the antialiasing switch and the shade
// tables built for the world with the light map after them.
#include <gtest/gtest.h>

#include <filesystem>

#include "houseview/BlendTables.h"
#include "houseview/LightMapSet.h"
#include "houseview/LightingSettings.h"
#include "houseview/PixelPipeline.h"
#include "support/ScratchDir.h"
#include "world/RendererShading.h"

namespace {

using namespace tova;

struct PipelineRecord {
  int spans = 0;
  int masks = 0;
  int lastKind = -1;
};
PipelineRecord gPipelineRecord;

class Pipeline : public ::testing::Test {
 protected:
  void SetUp() override {
    gPipelineRecord = {};
    PixelPipelineHooks hooks;
    hooks.selectSpanRoutines = [](int32_t kind) {
      ++gPipelineRecord.spans;
      gPipelineRecord.lastKind = kind;
    };
    hooks.selectAlphaMaskBlit = [](int32_t kind) {
      ++gPipelineRecord.masks;
      return kind == 1 || kind == 2;
    };
    SetPixelPipelineHooks(hooks);
  }
  void TearDown() override {
    SetPixelPipelineHooks({});
    SetUpPixelPipeline(kPixelLayout565);
    // Worlds made by later tests build no light map in the working folder.
    InstallRendererShading({});
    SetSpriteAntialias(true);
  }
};

TEST_F(Pipeline, ChoosesTheRoutinesOfTheKind) {
  SetUpPixelPipeline(kPixelLayout555);
  EXPECT_EQ(GetAlphaBlendPair().normal, &BlendPixel555);
  EXPECT_EQ(GetAlphaBlendPair().mirrored, &BlendPixel555);
  EXPECT_EQ(gPipelineRecord.spans, 1);
  EXPECT_EQ(gPipelineRecord.masks, 1);
  EXPECT_EQ(gPipelineRecord.lastKind, kPixelLayout555);
  EXPECT_TRUE(IsBlendTableBuilt());
  EXPECT_TRUE(SelectAlphaMaskBlit());
  // Every other kind blends as 565; kind 0 has no cross-fade routine.
  for (int32_t kind : {kPixelLayoutNone, kPixelLayout565, kPixelLayout556, kPixelLayout655}) {
    SetUpPixelPipeline(kind);
    EXPECT_EQ(GetAlphaBlendPair().normal, &BlendPixel565) << kind;
    EXPECT_EQ(PixelPipelineKind(), kind);
  }
  SetUpPixelPipeline(kPixelLayoutNone);
  EXPECT_FALSE(SelectAlphaMaskBlit());
}

TEST_F(Pipeline, AChangeOfTheAntialiasSwitchChoosesTheSpansAgain) {
  SetUpPixelPipeline(kPixelLayout565);
  ASSERT_EQ(gPipelineRecord.spans, 1);
  SetSpriteAntialias(true);
  EXPECT_EQ(gPipelineRecord.spans, 1) << "no change, no new choice";
  SetSpriteAntialias(false);
  EXPECT_EQ(gSpriteAntialias, 0);
  EXPECT_EQ(gPipelineRecord.spans, 2);
  SetSpriteAntialias(true);
  EXPECT_EQ(gSpriteAntialias, 1);
  EXPECT_EQ(gPipelineRecord.spans, 3);
}

TEST(LightingSettingsRecord, StartsWithItsFirstValues) {
  const LightingSettings s;
  EXPECT_EQ(s.nightAmbient, 0.0f);
  EXPECT_EQ(s.dayAmbient, 1.0f);
  EXPECT_EQ(s.tuning3, 0.494f);
  EXPECT_EQ(s.tuning5, 0.09f);
  EXPECT_EQ(s.lightRange, 12.0f);
  EXPECT_EQ(s.falloffNear, 3.2f);
  EXPECT_EQ(s.falloffFar, 12.0f);
  EXPECT_EQ(s.shadeFloor, 0.8f);
  EXPECT_EQ(s.tuning8, 0);
  EXPECT_EQ(gObjectShadows, 1);
  EXPECT_EQ(gSpriteAntialias, 1);
  EXPECT_EQ(gLampEffects, 1);
  EXPECT_EQ(&gObjectShadows, &gLightingSettings.objectShadows);
}

TEST_F(Pipeline, TheWorldsShadingBuildsTheShadeTablesAndTheLightMap) {
  tova_test::ScratchDir dir;
  LightMapSet& lights = GetLightMapSet();
  lights.SetCachePath((dir / "lightmap.dat").string());
  SetUpPixelPipeline(kPixelLayout555);
  FillShadeTables(kPixelLayout565);
  lights.Clear();
  // What a world calls when it is made.
  BuildRendererShadingTables();
  EXPECT_EQ(gGreenShift, 3) << "built for the pipeline's kind";
  EXPECT_EQ(RedPixel[31], 0x7C00);
  EXPECT_EQ(lights.DistanceCount(), 4);
  EXPECT_TRUE(std::filesystem::exists(dir / "lightmap.dat"));
  EXPECT_EQ(RendererLampRange(), gLightingSettings.lightRange);
  lights.Clear();
  lights.SetCachePath("");
  FillShadeTables(kPixelLayout565);
}

}  // namespace
