#include "gamedata/DrawGroup.h"

#include "gamedata/RecordIO.h"

namespace tova {

void DrawGroup::Reconstitute(ReconStream& s) {
  int16_t version = kWriteVersion;
  s.SerializeShorts(&version, 1);
  if (version < kFirstNewVersion) {
    // Only read: the old layout of 16-bit fields, with one byte each for the
    // direction mask and the zoom.
    uint16_t imageCount = 0;
    s.SerializeShorts(&imageCount, 1);
    if (!s.CheckCount(imageCount, 4)) return;
    images.assign(imageCount, DrawGroupImage{});
    for (DrawGroupImage& image : images) {
      uint16_t spriteCount = 0;
      uint8_t mask = 0, zoom = 0;
      s.SerializeShorts(&spriteCount, 1);
      s.SerializeBytes(&mask, 1);
      s.SerializeBytes(&zoom, 1);
      image.directionMask = mask;
      image.zoom = zoom;
      if (!s.CheckCount(spriteCount, version > 20000 ? 16 : 12)) return;
      for (uint16_t i = 0; i < spriteCount; ++i) {
        int16_t fields[6] = {};  // kind, sprite, frame, flags, x, y
        s.SerializeShorts(fields, 6);
        DrawGroupSprite sprite{fields[1], fields[2], fields[4], fields[5], 0, 0, 0, fields[3]};
        if (version > 20000) s.SerializeFloats(&sprite.vertical, 1);
        if (fields[0] == kOldSpriteKind) image.sprites.push_back(sprite);
      }
    }
    return;
  }
  uint32_t imageCount = static_cast<uint32_t>(images.size());
  s.SerializeLongs(&imageCount, 1);
  if (s.IsReading()) {
    if (!s.CheckCount(imageCount, 12)) return;
    images.assign(imageCount, DrawGroupImage{});
  }
  for (DrawGroupImage& image : images) {
    s.SerializeLongs(&image.directionMask, 1);
    s.SerializeLongs(&image.zoom, 1);
    uint32_t spriteCount = static_cast<uint32_t>(image.sprites.size());
    s.SerializeLongs(&spriteCount, 1);
    if (s.IsReading()) {
      if (!s.CheckCount(spriteCount, version > 20003 ? 32 : 24)) return;
      image.sprites.resize(spriteCount);
    }
    for (DrawGroupSprite& sprite : image.sprites) {
      s.SerializeLongs(&sprite.spriteId, 1);
      s.SerializeLongs(&sprite.frame, 1);
      s.SerializeLongs(&sprite.x, 1);
      s.SerializeLongs(&sprite.y, 1);
      s.SerializeFloats(&sprite.vertical, 1);
      s.SerializeLongs(&sprite.flags, 1);
      if (version > 20003) {
        s.SerializeFloats(&sprite.planeA, 1);
        s.SerializeFloats(&sprite.planeB, 1);
      }
    }
  }
}

std::vector<uint8_t> DrawGroup::Serialize() {
  return WritePlain([this](ReconStream& s) { Reconstitute(s); });
}

bool DrawGroup::Parse(std::span<const uint8_t> bytes) {
  DrawGroup read;
  if (!ReadPlain(bytes, [&read](ReconStream& s) { read.Reconstitute(s); })) {
    images.clear();
    return false;
  }
  images = std::move(read.images);
  return true;
}

int DrawGroup::Load(ResourceSource& file, int16_t id) {
  int status = kResOK;
  auto bytes = file.GetResource(kTypeDGRP, id, nullptr, &status);
  if (!bytes) return status;
  if (!Parse(*bytes)) return kResBadData;
  name = file.GetLabel(kTypeDGRP, id, nullptr).value_or("");
  if (name.size() > 63) name.resize(63);
  return kResOK;
}

const DrawGroupImage* DrawGroup::FindImage(int direction, int32_t zoom) const {
  const uint32_t bit = 1u << (direction & 31);
  for (const DrawGroupImage& image : images) {
    if ((image.directionMask & bit) && image.zoom == zoom) return &image;
  }
  return nullptr;
}

const DrawGroupSprite* DrawGroup::GetSprite(const DrawGroupImage& image, int i) const {
  if (i < 0 || i >= static_cast<int>(image.sprites.size())) return nullptr;
  return &image.sprites[static_cast<size_t>(i)];
}

}  // namespace tova
