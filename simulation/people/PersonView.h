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
  virtual void DrawMesh(const BodyMesh& mesh, const PoseMatrix& transform) = 0;
};

PersonView* GetPersonView();
void SetPersonView(PersonView* view);
PoseDevice* GetPoseDevice();
void SetPoseDevice(PoseDevice* device);

}  // namespace tova
