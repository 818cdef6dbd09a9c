// The renderer's part of every world. The renderer lies above the world, so
// it installs these once at start-up: how its shading tables are built when
// a world is made, and how far a lamp reaches (its lighting settings' range,
// in world units; a tile is 3). Before that nothing is built and a lamp
// reaches the settings' first value.
#pragma once

namespace tova {

struct RendererShading {
  void (*buildShadingTables)() = nullptr;
  float (*lampRange)() = nullptr;
};

constexpr float kDefaultLampRange = 12.0f;

void InstallRendererShading(const RendererShading& shading);
// Builds the renderer's tables when it installed its builder.
void BuildRendererShadingTables();
float RendererLampRange();

}  // namespace tova
