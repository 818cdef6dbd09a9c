#include "world/RendererShading.h"

namespace tova {

namespace {

RendererShading& InstalledRendererShading() {
  static RendererShading shading;
  return shading;
}

}  // namespace

void InstallRendererShading(const RendererShading& shading) { InstalledRendererShading() = shading; }

void BuildRendererShadingTables() {
  if (InstalledRendererShading().buildShadingTables != nullptr) InstalledRendererShading().buildShadingTables();
}

float RendererLampRange() {
  const RendererShading& shading = InstalledRendererShading();
  return shading.lampRange != nullptr ? shading.lampRange() : kDefaultLampRange;
}

}  // namespace tova
