#include "resfile/SpriteWriter.h"

#include <algorithm>

namespace tova {

namespace {

void SpriteWriterPut32(std::vector<uint8_t>& out, uint32_t v, bool big) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (big ? 24 - 8 * i : 8 * i)));
}
void SpriteWriterPut16(std::vector<uint8_t>& out, uint16_t v, bool big) {
  out.push_back(static_cast<uint8_t>(big ? v >> 8 : v));
  out.push_back(static_cast<uint8_t>(big ? v : v >> 8));
}
void SpriteWriterSet32(std::vector<uint8_t>& out, size_t at, uint32_t v, bool big) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(v >> (big ? 24 - 8 * i : 8 * i));
}

bool SpritePictureOk(const SpritePicture& p, std::string& error) {
  const size_t n = static_cast<size_t>(std::max(p.width, 0)) * static_cast<size_t>(std::max(p.height, 0));
  if (p.width <= 0 || p.height <= 0 || p.width > 4096 || p.height > 4096) {
    error = "a frame must be 1 to 4096 pixels wide and high";
    return false;
  }
  if (p.indices.size() != n || (!p.depth.empty() && p.depth.size() != n) || (!p.alpha.empty() && p.alpha.size() != n)) {
    error = "a frame's channels must each hold width * height bytes";
    return false;
  }
  for (uint8_t a : p.alpha)
    if (a > 31) {
      error = "alpha levels run 0 to 31";
      return false;
    }
  return true;
}

// One 'SPR#' frame: rectangle, two unused bytes, rows.
std::vector<uint8_t> SpriteWriterFrame(const SpritePicture& p, const std::vector<uint8_t>& values,
                                       const std::vector<uint8_t>& present, bool big) {
  std::vector<uint8_t> out;
  const auto top = static_cast<int16_t>(-p.y), left = static_cast<int16_t>(-p.x);
  SpriteWriterPut16(out, static_cast<uint16_t>(top), big);
  SpriteWriterPut16(out, static_cast<uint16_t>(left), big);
  SpriteWriterPut16(out, static_cast<uint16_t>(top + p.height), big);
  SpriteWriterPut16(out, static_cast<uint16_t>(left + p.width), big);
  out.push_back(0);
  out.push_back(0);
  const std::vector<uint8_t> rows = EncodeSpriteRows(values, present, p.width, p.height);
  out.insert(out.end(), rows.begin(), rows.end());
  return out;
}

}  // namespace

std::vector<uint8_t> WritePaletteResource(const std::vector<uint32_t>& colours) {
  const size_t count = std::min<size_t>(colours.size(), 256);
  std::vector<uint8_t> out;
  SpriteWriterPut32(out, 1, false);
  SpriteWriterPut32(out, static_cast<uint32_t>(count), false);
  out.resize(16, 0);
  for (size_t i = 0; i < count; ++i) {
    out.push_back(static_cast<uint8_t>(colours[i] >> 16));
    out.push_back(static_cast<uint8_t>(colours[i] >> 8));
    out.push_back(static_cast<uint8_t>(colours[i]));
  }
  return out;
}

std::vector<uint8_t> EncodeSpriteRows(const std::vector<uint8_t>& values, const std::vector<uint8_t>& present,
                                      int32_t width, int32_t height) {
  std::vector<uint8_t> out;
  int32_t blank = 0;
  for (int32_t y = 0; y < height; ++y) {
    const uint8_t* v = values.data() + static_cast<size_t>(y) * width;
    const uint8_t* on = present.data() + static_cast<size_t>(y) * width;
    if (std::none_of(on, on + width, [](uint8_t b) { return b != 0; })) {
      ++blank;
      continue;
    }
    for (; blank > 0; blank -= std::min(blank, 255)) {
      out.push_back(9);
      out.push_back(static_cast<uint8_t>(std::min(blank, 255)));
    }
    std::vector<uint8_t> row;
    int32_t x = 0;
    while (x < width) {
      int32_t run = 0;
      while (x + run < width && !on[x + run] && run < 255) ++run;
      if (run > 0) {
        // A skip at the row's end says nothing.
        if (x + run < width) row.insert(row.end(), {1, static_cast<uint8_t>(run)});
        x += run;
        continue;
      }
      while (x + run < width && on[x + run] && v[x + run] == v[x] && run < 255) ++run;
      if (run >= 3) {
        row.insert(row.end(), {2, static_cast<uint8_t>(run), v[x], 0});
        x += run;
        continue;
      }
      // Literals up to the next skip or run of three alike.
      run = 0;
      while (x + run < width && on[x + run] && run < 255) {
        const int32_t at = x + run;
        if (at + 2 < width && on[at + 1] && on[at + 2] && v[at] == v[at + 1] && v[at] == v[at + 2]) break;
        ++run;
      }
      row.insert(row.end(), {3, static_cast<uint8_t>(run)});
      row.insert(row.end(), v + x, v + x + run);
      if (run % 2 != 0) row.push_back(0);
      x += run;
    }
    const size_t length = row.size() + 2;
    if (length <= 255) {
      out.insert(out.end(), {4, static_cast<uint8_t>(length)});
    } else {
      const size_t longLength = row.size() + 6;
      out.insert(out.end(), {4, 2, 5, 255, static_cast<uint8_t>(longLength >> 8), static_cast<uint8_t>(longLength)});
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  out.insert(out.end(), {5, 0});
  return out;
}

bool WriteSpriteResource(int32_t version, int32_t paletteId, const std::vector<SpritePicture>& frames,
                         bool big, std::vector<uint8_t>& out, std::string& error) {
  if (version != 500 && version != 502 && version != 503 && version != 506) {
    error = "an 'SPR#' version is 500, 502, 503 or 506";
    return false;
  }
  for (const SpritePicture& p : frames)
    if (!SpritePictureOk(p, error)) return false;
  const int channels = version == 503 ? 2 : version == 506 ? 5 : 1;
  // Channel by channel, every frame's block.
  std::vector<std::vector<uint8_t>> blocks;
  for (int c = 0; c < channels; ++c)
    for (const SpritePicture& p : frames) {
      const size_t n = p.indices.size();
      std::vector<uint8_t> present(n), values(n);
      for (size_t i = 0; i < n; ++i) {
        const bool shown = static_cast<int32_t>(p.indices[i]) != p.transparent;
        const uint8_t level = p.alpha.empty() ? 31 : p.alpha[i];
        const uint8_t depth = p.depth.empty() ? 0 : p.depth[i];
        const bool opaque = shown && level >= 16 && depth != 255;
        const bool layered = shown && level > 0 && depth != 255;
        switch (c) {
          case 0: present[i] = opaque; values[i] = p.indices[i]; break;
          case 1: present[i] = opaque; values[i] = depth; break;
          case 2: present[i] = layered; values[i] = p.indices[i]; break;
          case 3: present[i] = layered; values[i] = depth; break;
          default: present[i] = layered; values[i] = level; break;
        }
        if (channels == 1) present[i] = shown;
      }
      blocks.push_back(SpriteWriterFrame(p, values, present, big));
    }
  out.clear();
  SpriteWriterPut32(out, static_cast<uint32_t>(version), big);
  SpriteWriterPut32(out, static_cast<uint32_t>(blocks.size()), big);
  if (version >= 502) SpriteWriterPut32(out, static_cast<uint32_t>(paletteId), big);
  const size_t table = out.size();
  out.resize(table + 4 * blocks.size());
  for (size_t i = 0; i < blocks.size(); ++i) {
    SpriteWriterSet32(out, table + 4 * i, static_cast<uint32_t>(out.size()), big);
    out.insert(out.end(), blocks[i].begin(), blocks[i].end());
  }
  return true;
}

bool WriteSprite2Resource(int32_t version, int32_t paletteId, const std::vector<SpritePicture>& frames,
                          std::vector<uint8_t>& out, std::string& error) {
  if (version < 1000) {
    error = "an 'SPR2' version is 1000 or more";
    return false;
  }
  out.clear();
  SpriteWriterPut32(out, static_cast<uint32_t>(version), false);
  SpriteWriterPut32(out, static_cast<uint32_t>(frames.size()), false);
  SpriteWriterPut32(out, static_cast<uint32_t>(paletteId), false);
  const size_t table = out.size();
  out.resize(table + 4 * frames.size());
  for (size_t f = 0; f < frames.size(); ++f) {
    const SpritePicture& p = frames[f];
    if (!SpritePictureOk(p, error)) return false;
    SpriteWriterSet32(out, table + 4 * f, static_cast<uint32_t>(out.size()), false);
    SpriteWriterPut16(out, static_cast<uint16_t>(p.width), false);
    SpriteWriterPut16(out, static_cast<uint16_t>(p.height), false);
    out.insert(out.end(), 6, 0);
    out.push_back(static_cast<uint8_t>(p.transparent >= 0 && p.transparent < 256 ? p.transparent : 255));
    out.push_back(0);
    SpriteWriterPut16(out, static_cast<uint16_t>(p.y), false);
    SpriteWriterPut16(out, static_cast<uint16_t>(p.x), false);
    const bool withDepth = !p.depth.empty();
    int32_t row = -1;
    for (int32_t y = 0; y < p.height; ++y) {
      const size_t base = static_cast<size_t>(y) * p.width;
      auto shown = [&](int32_t x) {
        const size_t i = base + x;
        return static_cast<int32_t>(p.indices[i]) != p.transparent && (p.alpha.empty() || p.alpha[i] > 0) &&
               (!withDepth || p.depth[i] != 255);
      };
      bool any = false;
      for (int32_t x = 0; x < p.width && !any; ++x) any = shown(x);
      if (!any) continue;
      if (y - row > 1) SpriteWriterPut16(out, static_cast<uint16_t>(0x8000 | (y - row - 1)), false);
      SpriteWriterPut16(out, 0x0000, false);
      row = y;
      int32_t x = 0;
      while (x < p.width) {
        int32_t run = 0;
        while (x + run < p.width && !shown(x + run) && run < 0x1FFF) ++run;
        if (run > 0) {
          if (x + run < p.width) SpriteWriterPut16(out, static_cast<uint16_t>(0x6000 | run), false);
          x += run;
          continue;
        }
        auto partial = [&](int32_t at) { return !p.alpha.empty() && p.alpha[base + at] < 31; };
        const bool blended = withDepth && partial(x);
        while (x + run < p.width && shown(x + run) && (!withDepth || partial(x + run) == blended) && run < 0x1FFF)
          ++run;
        const uint16_t op = !withDepth ? 0xC000 : blended ? 0x4000 : 0x2000;
        SpriteWriterPut16(out, static_cast<uint16_t>(op | run), false);
        for (int32_t i = x; i < x + run; ++i) {
          if (withDepth) out.push_back(p.depth[base + i]);
          out.push_back(p.indices[base + i]);
          if (blended) out.push_back(p.alpha[base + i]);
        }
        if (out.size() % 2 != 0) out.push_back(0);
        x += run;
      }
    }
    SpriteWriterPut16(out, 0xA000, false);
  }
  return true;
}

}  // namespace tova
