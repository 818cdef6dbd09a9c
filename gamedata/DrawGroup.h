#pragma once
// Draw groups ('DGRP'): which sprite frames make up one picture of an object
// for every view direction and zoom level.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "gamedata/ResourceSource.h"
#include "resfile/ReconStream.h"

namespace tova {

struct DrawGroupSprite {
  int32_t spriteId = 0;
  int32_t frame = 0;
  int32_t x = 0;  // pixel offsets
  int32_t y = 0;
  float vertical = 0;  // world offsets
  float planeA = 0;
  float planeB = 0;
  int32_t flags = 0;  // the low byte goes to the sprite drawing
  bool operator==(const DrawGroupSprite&) const = default;
};

struct DrawGroupImage {
  uint32_t directionMask = 0;  // bit d: serves direction d
  int32_t zoom = 0;
  std::vector<DrawGroupSprite> sprites;
  bool operator==(const DrawGroupImage&) const = default;
};

class DrawGroup {
 public:
  static constexpr int16_t kFirstNewVersion = 20003;
  static constexpr int16_t kWriteVersion = 20004;
  static constexpr int16_t kOldSpriteKind = -3;  // the only kind the old layout draws

  // Reads 'DGRP' id and its label: the file's status when it is missing,
  // kResBadData when damaged, else 0.
  int Load(ResourceSource& file, int16_t id);
  // Reads every version, writes the current one (the version is the stream's
  // first word). On damaged data the stream fails.
  void Reconstitute(ReconStream& s);
  // The resource bytes; Parse is false for damaged data (the group is then empty).
  std::vector<uint8_t> Serialize();
  bool Parse(std::span<const uint8_t> bytes);

  const DrawGroupImage* FindImage(int direction, int32_t zoom) const;
  const DrawGroupSprite* GetSprite(const DrawGroupImage& image, int i) const;

  std::vector<DrawGroupImage> images;
  std::string name;
};

}  // namespace tova
