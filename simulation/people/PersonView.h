#pragma once
// What a person's drawing asks of the house view and of the 3D device,
// both above the simulation: the view's screen and depth buffers, zoom,
// rotation, the way back from the screen into the world, the camera and
// its light, finding and scaling content; the device's transform and
// light stacks, scenes and mesh drawing. The game installs them; tests
// install fakes.

#include <cstdint>
#include <memory>

#include "platform/Surface.h"
#include "simulation/people/PoseMatrix.h"

namespace tova {

class PersonView {
 public:
  virtual ~PersonView() = default;
  // Null when the view has none.
  virtual platform::Surface* ScreenBuffer() = 0;
  virtual platform::Surface* DepthBuffer() = 0;
  // 1 to 3.
  virtual int32_t Zoom() const = 0;
  // Quarter turns, 0 to 3.
  virtual int32_t Rotation() const = 0;
  // A screen point at a depth back into the world.
  virtual void ScreenToWorld(float x, float y, float depth, float out[3]) const = 0;
  virtual void CameraPosition(float out[3]) const = 0;
  // Whether the scene has a first light.
  virtual bool HasLight() const = 0;
  // Whether any pixel of the rectangle differs from the colour; content
  // is then the smallest rectangle holding them.
  virtual bool FindContentBounds(const platform::Surface& buffer, const platform::Rect& rect, uint32_t background,
                                 platform::Rect& content) const = 0;
  // A new buffer holding the rectangle scaled by the factors.
  virtual std::unique_ptr<platform::Surface> ScaleBuffer(float xFactor, float yFactor, const platform::Rect& rect,
                                                         const platform::Surface& buffer) const = 0;

  // ---- the person's draw step and the camera ----
  // A world point (3D units) to screen x, y and depth.
  virtual void WorldToScreen(const float world[3], float out[3]) const { out[0] = out[1] = out[2] = 0; }
  // The view rectangle on the screen.
  virtual platform::Rect ViewRect() const { return {}; }
  // The storey shown and the height of one storey in 3D units.
  virtual int32_t ViewLevel() const { return 1; }
  virtual float LevelHeight() const { return 0; }
  virtual void SetViewLevel(int32_t level) {}
  // The screen height of a tile and the zoom's shift of margins (pixels).
  virtual float TileHeight() const { return 0; }
  virtual int32_t ZoomShift() const { return 0; }
  // Centres the view on a screen point.
  virtual void ScrollTo(float x, float y) {}
  // The terrain altitude (altitude units) under a point in sixteenths.
  virtual float AltitudeAt(float x, float y) const { return 0; }
  // The cursor in the view's client coordinates when it is inside the
  // drawing device.
  virtual bool CursorInDevice(int32_t& x, int32_t& y) const { return false; }
  // The id of the object drawn under a screen point, -1 for none.
  virtual int32_t ObjectIdAt(int32_t x, int32_t y) const { return -1; }
};

// What the renderer hands a person to draw with: its render group's alpha
// wishes, and where an attached object should be drawn.
struct PersonDrawContext {
  bool hasGroup = false;
  bool fullOpacity = false;
  float alpha = 1.0f;
  // Set by the person's draw: the group's alpha and the body's transform.
  float groupAlpha = 1.0f;
  PoseMatrix groupTransform;
  // Whether there is anything to draw into, and the world position and
  // storey an attached object is drawn at.
  bool canDraw = true;
  float position[3] = {};
  int32_t level = 1;
};

class PoseDevice {
 public:
  virtual ~PoseDevice() = default;
  virtual void SetRenderState() = 0;
  virtual void PushTransform(const PoseMatrix& transform) = 0;
  virtual void PopTransform() = 0;
  virtual void PushLight(const float position[3]) = 0;
  virtual void PopLight() = 0;
  virtual void BeginScene() = 0;
  virtual void EndScene() = 0;
  virtual void DrawMesh(const WornMesh& mesh, const PoseMatrix& transform) = 0;
};

PersonView* GetPersonView();
void SetPersonView(PersonView* view);
PoseDevice* GetPoseDevice();
void SetPoseDevice(PoseDevice* device);

}  // namespace tova
