// A posed body drawn alone: a 256 x 256 16-bit (565) target with depth, the
// standard light set, a camera that sees the body's box from above, in
// front and to the left, and one body per picture. The viewing tools and
// the picture tests share it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "character/AnimDevice.h"
#include "character/Device3D.h"
#include "character/LightSet.h"
#include "platform/PngFile.h"
#include "tarn/Transform.h"

class Viewport3D;

namespace tova {

class CharacterLibrary;

namespace chr {

class CharacterBody;

// A camera on the viewport that sees the whole box.
uint32_t LookAtBox(Viewport3D& viewport, const BoundingBox& box);

// The box a body's camera should see: the skeleton's box and every bone,
// with room for a limb's reach around them.
BoundingBox BodyViewBox(const CharacterBody& body);

class BodyPicture {
public:
    static constexpr int32_t kSide = 256;

    // Textures from `textureFolder`; lights from the records given.
    BodyPicture(const std::string& textureFolder, const std::vector<LightRecord>& lights);
    ~BodyPicture();
    BodyPicture(const BodyPicture&) = delete;
    BodyPicture& operator=(const BodyPicture&) = delete;

    // 0 when the device, viewport and lights are ready, else the layer's
    // code.
    uint32_t Status() const { return status_; }
    Device3D& Device() { return device_; }
    // Points the camera at the body (after its first update).
    uint32_t Frame(const CharacterBody& body);
    // Clears colour and depth, deforms and draws the body; the screen
    // rectangle it covered.
    cRZRect Draw(CharacterBody& body);
    platform::Image Picture() const;

private:
    AnimDevice anim_;
    Device3D device_;
    Viewport3D* viewport_ = nullptr;
    uint32_t status_ = 0;
};

}  // namespace chr
}  // namespace tova
