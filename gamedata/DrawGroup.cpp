#include "gamedata/DrawGroup.h"

#include "gamedata/RecordBytes.h"

namespace tova {

void DrawGroup::Parse(std::span<const uint8_t> bytes) {
  ByteReader r(bytes);
  const int16_t version = r.I16();
  std::vector<DrawGroupImage> read;
  if (version < kFirstNewVersion) {
    const uint16_t imageCount = r.U16();
    r.RequireItems(imageCount, 4, "draw group images");
    read.resize(imageCount);
    for (DrawGroupImage& image : read) {
      const uint16_t spriteCount = r.U16();
      image.directionMask = r.U8();
      image.zoom = r.U8();
      r.RequireItems(spriteCount, version > 20000 ? 16 : 12, "draw group sprites");
      for (uint16_t i = 0; i < spriteCount; ++i) {
        const int16_t kind = r.I16();
        DrawGroupSprite s;
        s.spriteId = r.I16();
        s.frame = r.I16();
        s.flags = r.I16();
        s.x = r.I16();
        s.y = r.I16();
        if (version > 20000) s.vertical = r.F32();
        if (kind == kOldSpriteKind) image.sprites.push_back(s);
      }
    }
  } else {
    const uint32_t imageCount = r.U32();
    r.RequireItems(imageCount, 12, "draw group images");
    read.resize(imageCount);
    for (DrawGroupImage& image : read) {
      image.directionMask = r.U32();
      image.zoom = r.I32();
      const uint32_t spriteCount = r.U32();
      r.RequireItems(spriteCount, version > 20003 ? 32 : 24, "draw group sprites");
      image.sprites.resize(spriteCount);
      for (DrawGroupSprite& s : image.sprites) {
        s.spriteId = r.I32();
        s.frame = r.I32();
        s.x = r.I32();
        s.y = r.I32();
        s.vertical = r.F32();
        s.flags = r.I32();
        if (version > 20003) {
          s.planeA = r.F32();
          s.planeB = r.F32();
        }
      }
    }
  }
  images = std::move(read);
}

std::vector<uint8_t> DrawGroup::Serialize() const {
  ByteWriter w;
  w.I16(kWriteVersion);
  w.U32(static_cast<uint32_t>(images.size()));
  for (const DrawGroupImage& image : images) {
    w.U32(image.directionMask);
    w.I32(image.zoom);
    w.U32(static_cast<uint32_t>(image.sprites.size()));
    for (const DrawGroupSprite& s : image.sprites) {
      w.I32(s.spriteId);
      w.I32(s.frame);
      w.I32(s.x);
      w.I32(s.y);
      w.F32(s.vertical);
      w.I32(s.flags);
      w.F32(s.planeA);
      w.F32(s.planeB);
    }
  }
  return w.Take();
}

int DrawGroup::Load(ResourceSource& file, int16_t id) {
  int status = kResOK;
  auto bytes = file.GetResource(kTypeDGRP, id, nullptr, &status);
  if (!bytes) return status;
  try {
    Parse(*bytes);
  } catch (const RecordError&) {
    images.clear();
    return kResBadData;
  }
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
