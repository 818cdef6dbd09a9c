#include "houseview/PixelPipeline.h"

#include "gamedata/GlobalContext.h"
#include "houseview/BlendTables.h"
#include "houseview/LightMapSet.h"
#include "houseview/LightingSettings.h"
#include "world/RendererShading.h"

namespace tova {

namespace {

struct PixelPipelineState {
  int32_t kind = kPixelLayout565;
  AlphaBlendPair alphaBlend{BlendPixel565, BlendPixel565};
  PixelPipelineHooks hooks;
};

PixelPipelineState& Pipeline() {
  static PixelPipelineState state;
  return state;
}

// What every world asks of the renderer (the world lies below it).
void BuildShadingTablesForWorld() { BuildShadeTables(); }
float LampRangeForWorld() { return gLightingSettings.lightRange; }

}  // namespace

void SetPixelPipelineHooks(const PixelPipelineHooks& hooks) { Pipeline().hooks = hooks; }

void SetUpPixelPipeline(int32_t kind) {
  PixelPipelineState& state = Pipeline();
  state.kind = kind;
  const BlendPixelRoutine blend = kind == kPixelLayout555 ? BlendPixel555 : BlendPixel565;
  state.alphaBlend = AlphaBlendPair{blend, blend};
  SelectSpanRoutines();
  SelectAlphaMaskBlit();
  BuildBlendTable();
  InstallRendererShading(RendererShading{BuildShadingTablesForWorld, LampRangeForWorld});
}

int32_t PixelPipelineKind() { return Pipeline().kind; }
const AlphaBlendPair& GetAlphaBlendPair() { return Pipeline().alphaBlend; }

void SelectSpanRoutines() {
  const PixelPipelineState& state = Pipeline();
  if (state.hooks.selectSpanRoutines != nullptr) state.hooks.selectSpanRoutines(state.kind);
}

bool SelectAlphaMaskBlit() {
  const PixelPipelineState& state = Pipeline();
  return state.hooks.selectAlphaMaskBlit != nullptr && state.hooks.selectAlphaMaskBlit(state.kind);
}

void BuildShadeTables() { BuildShadeTables(Pipeline().kind); }

void BuildShadeTables(int32_t kind) {
  FillShadeTables(kind);
  LightMapSet& lights = GetLightMapSet();
  lights.Clear();
  lights.MakeTables();
}

}  // namespace tova
