#include "houseview/LightMapImages.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace tova {

uint8_t FalloffByte(double distance, double nearDistance, double farDistance) {
  const double c = 1.0 / (farDistance * farDistance);
  const double s = 255.0 / (1.0 / (nearDistance * nearDistance) - c);
  const double v = s / (distance * distance) - s * c;
  // NaN fails both tests and gives 0.
  if (!(v >= 0.0)) return 0;
  if (v + 0.5 >= 256.0) return 255;
  return static_cast<uint8_t>(v + 0.5);
}

int32_t LightMapGeometry::DistanceCount(double range) {
  return static_cast<int32_t>(std::floor(range / 3.0 - 0.5)) + 1;
}

int32_t LightMapGeometry::WallTiles(double range, int32_t d) {
  const double across = 3.0 * (2 * d + 1);
  return static_cast<int32_t>(std::ceil((std::sqrt(4.0 * range * range - across * across) + 3.0) / 6.0));
}

double LightMapGeometry::FloorReach(double range) { return std::sqrt(range * range - kLampHeight * kLampHeight); }

int32_t LightMapGeometry::FloorTiles(double range) {
  return static_cast<int32_t>(std::ceil(FloorReach(range) / (3.0 * std::sqrt(2.0))));
}

void WallFalloffTable::Compute(double nearDistance, double farDistance) {
  bytes.assign(static_cast<size_t>(Size()), 0);
  // The lamp stands mid-tile 0 along the wall, d + 1/2 tiles in front of it.
  const double lampX = 1.5, lampY = -(3.0 * distance + 1.5), lampZ = LightMapGeometry::kLampHeight;
  for (int32_t r = 0; r < height; ++r) {
    const double z = (r + 1) * 0.03827;
    uint8_t* row = &bytes[static_cast<size_t>(height - 1 - r) * static_cast<size_t>(width)];
    for (int32_t j = 0; j < width; ++j) {
      const double x = (j + 1) * 0.046875;
      const double e = std::sqrt((x - lampX) * (x - lampX) + lampY * lampY + (z - lampZ) * (z - lampZ));
      row[j] = FalloffByte(e, nearDistance, farDistance);
    }
  }
}

void WallLightStrip::Cut(const WallFalloffTable& table) {
  images.assign(static_cast<size_t>(Size()), 0);
  const int32_t q = 3 - zoom;
  const int32_t step = 1 << q;
  const int32_t c0 = side == 0 ? (4 << zoom) - 1 : 0;
  for (int32_t o = -reach; o <= reach; ++o) {
    uint8_t* image = &images[static_cast<size_t>((o + reach) * ImageSize())];
    for (int32_t k = 0; k < width; ++k) {
      const int32_t across = k << q;
      // Left of the lamp's tile the tiles are mirrored: it stands mid-tile.
      const int32_t column = o >= 0 ? across + 64 * o : 64 * std::abs(o) + 63 - across;
      if (column < 0 || column >= table.width) continue;
      // Source row e = (j - c0) * step + lift climbs by step per image row;
      // only the rows whose source lies in the table are taken.
      const int32_t lift = side == 0 ? across / 2 : -((across + 1) / 2);
      const int32_t below = -lift;  // rows j < c0 + ceil(below / step) lie above the table
      const int32_t climb = below >= 0 ? (below + step - 1) / step : -(-below / step);
      const int32_t first = std::max(0, c0 + climb);
      for (int32_t j = first; j < rows; ++j) {
        const int32_t e = (j - c0) * step + lift;
        if (e < 0) continue;
        if (e >= table.height) break;
        image[j * width + k] =
            table.bytes[static_cast<size_t>(e) * static_cast<size_t>(table.width) + static_cast<size_t>(column)];
      }
    }
  }
}

void FloorLightImage::Compute(double range) {
  bytes.assign(static_cast<size_t>(Size()), 0);
  const double reach = LightMapGeometry::FloorReach(range);
  const double unitsPerPixel = 3.0 / ((8 << zoom) * std::sqrt(2.0));
  const double half = width / 2.0;
  for (int32_t i = 0; i < height; ++i) {
    // Rows count double to undo the 2:1 squash.
    const double dy = half - 2.0 * i;
    for (int32_t j = 0; j < width; ++j) {
      const double dx = j - half;
      const double m = std::sqrt(dy * dy + dx * dx) * unitsPerPixel;
      const double h = LightMapGeometry::kLampHeight;
      bytes[static_cast<size_t>(i) * static_cast<size_t>(width) + static_cast<size_t>(j)] =
          FalloffByte(std::sqrt(m * m + h * h), h, reach);
    }
  }
}

}  // namespace tova
