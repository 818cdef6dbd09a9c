#include "houseview/ZBufferLookup.h"

#include <algorithm>
#include <cmath>

#include "houseview/SpriteDrawInfo.h"
#include "platform/Clock.h"
#include "simulation/WorldVectors.h"

namespace tova {

namespace {

int16_t gSpriteDepthTable[256];

int32_t ZTruncate(double v) { return static_cast<int32_t>(v); }

}  // namespace

int32_t ZTableSetOfZoom(int32_t zoom) { return 3 - std::clamp(zoom, 1, 3); }

bool ZTableSet::HasRow(int32_t row) const {
  return row >= rowFirst && row - rowFirst < static_cast<int32_t>(rowDepths.size());
}

int32_t ZTableSet::RowDepth(int32_t row) const { return HasRow(row) ? rowDepths[static_cast<size_t>(row - rowFirst)] : 0; }

int32_t ZTableSet::HeightDepth(float units) const {
  if (heightDepths.size() < 2) return 0;
  const int32_t last = static_cast<int32_t>(heightDepths.size()) - 2;
  const float held = std::clamp(units, 0.0f, static_cast<float>(last) + 1.0f);
  const int32_t k = std::min(static_cast<int32_t>(held), last);
  const float fraction = held - static_cast<float>(k);
  const float a = heightDepths[static_cast<size_t>(k)], b = heightDepths[static_cast<size_t>(k) + 1];
  return static_cast<int32_t>(a + (b - a) * fraction + (a + (b - a) * fraction >= 0 ? 0.5f : -0.5f));
}

ZBufferLookup::ZBufferLookup() = default;
ZBufferLookup::~ZBufferLookup() = default;

float ZBufferLookup::DepthCentre() {
  return static_cast<float>((std::sqrt(3.0) * std::sqrt(2.0) * 3 * 64) / 2 + (PixelsToAltitude(255) * 3 + 68) / 2);
}

float ZBufferLookup::NearValue() { return DepthCentre() - 12.5f; }

void ZBufferLookup::Build(int32_t zoom, int32_t width, int32_t height) {
  Build(zoom, width, height, DepthCentre(), NearValue());
}

void ZBufferLookup::Build(int32_t zoom, int32_t width, int32_t height, float depthCentre, float nearValue) {
  zoom = std::clamp(zoom, 1, 3);
  width = std::max(width, 1);
  height = std::max(height, 1);
  ZTableSet& set = mSets[ZTableSetOfZoom(zoom)];
  const double d = depthCentre, n = nearValue;
  set.zoom = zoom;
  set.extentX = static_cast<float>(3 * std::sqrt(2.0) * width / (16 << zoom));
  set.extentY = set.extentX / (static_cast<float>(width) / static_cast<float>(height));

  const int32_t h = 8 << zoom;
  const double q = set.extentY * (2 / std::sqrt(3.0)) / height * 0.5 * 65535 / d;
  set.heightDepths.assign(static_cast<size_t>(2 * (404 >> (3 - zoom))), 0);
  for (size_t k = 0; k < set.heightDepths.size(); ++k)
    set.heightDepths[k] = static_cast<int16_t>(ZTruncate(-q * (static_cast<double>(k) - h) + 0.5));
  set.heightDepths[0] = static_cast<int16_t>(set.heightDepths[0] + 65);

  set.rowFirst = -((8 << zoom) * 256 + 1);
  const int32_t rowLast = 12 * height - 1;
  set.rowDepths.resize(static_cast<size_t>(rowLast - set.rowFirst + 1));
  const double perRow = 3 * std::sqrt(2.0) / (8 << zoom) * std::sqrt(3.0) / 2;
  for (int32_t r = set.rowFirst; r <= rowLast; ++r)
    set.rowDepths[static_cast<size_t>(r - set.rowFirst)] = ZTruncate((n - r * perRow) * 65535 / d);

  const double c = std::sqrt(6.0) / d * 65535;
  const int32_t a = 16 << zoom, e = 8 << zoom;
  set.tileProfile.assign(static_cast<size_t>(a * 2 + 2), 0);
  for (int32_t j = 0; j <= a; ++j) set.tileProfile[static_cast<size_t>(j)] = static_cast<int16_t>(ZTruncate(c * (e - std::abs(j - e)) / e));
  for (int32_t j = 0; j < a; ++j) set.tileProfile[static_cast<size_t>(a + j)] = set.tileProfile[static_cast<size_t>(j)];
  set.tileProfile[static_cast<size_t>(2 * a)] = set.tileProfile[static_cast<size_t>(2 * a - 1)];
  set.tileProfile[static_cast<size_t>(2 * a + 1)] = set.tileProfile[static_cast<size_t>(2 * a - 1)];
  const auto raise = [&](int32_t j) { ++set.tileProfile[static_cast<size_t>(j)]; };
  if (zoom == 2) {
    raise(a - 1);
    raise(2 * a - 1);
  } else if (zoom == 3) {
    raise(a - 2);
    raise(a - 1);
    raise(2 * a - 2);
    raise(2 * a - 1);
  }
  set.profileDepth = ZTruncate(c + 0.5);

  set.storeyHeight = GetStoreyHeight(zoom);
  set.secondHeight = zoom == 3 ? 23 : zoom == 2 ? 12 : 6;
  set.levelDepthStep = set.heightDepths[static_cast<size_t>(std::min<size_t>(set.storeyHeight, set.heightDepths.size() - 1))] -
                       set.heightDepths[0] - 65;
  if (mShared.empty()) mShared.assign(512, 0);
  mViewportHeight = height;
  set.built = true;
}

void ZBufferLookup::PlaceSprite(SpriteDrawInfo& draw, float height) const {
  const ZTableSet& set = GetSet(draw.zoom);
  const int32_t zoom = std::clamp(draw.zoom, 1, 3);
  const int32_t levels = draw.Level() - 1;
  const int32_t row = draw.screenY + (4 << zoom) + levels * set.storeyHeight;
  draw.groundRow = row;
  draw.depthOffset = 0;
  if (set.HasRow(row)) {
    draw.depthOffset = levels * set.levelDepthStep;
    if (std::fabs(height) >= 1e-6f) {
      const float v = AltitudeToScreenUnits(height / 3);
      draw.depthOffset += set.HeightDepth(v);
      draw.screenY -= static_cast<int32_t>(static_cast<float>(1 << (zoom + 1)) * v + 0.5f);
    }
  }
  // ZLookupBase reads the ground row's depth at the draw's own row.
  draw.baseRow = draw.screenY;
}

int32_t ZBufferLookup::GetStoreyHeight(int32_t zoom) { return 58 << (std::clamp(zoom, 1, 3) - 1); }

void ZBufferLookup::SetSpriteDepthScale(float depthCentre) {
  const double r = 1.0 / depthCentre, a = 12 * r;
  const double b = (3 * std::sqrt(2.0) * r * std::sqrt(3.0) + a) * 16383.75;
  for (int i = 0; i < 255; ++i) gSpriteDepthTable[i] = static_cast<int16_t>(ZTruncate(-16383.75 * a - b + i * b / 127 + 0.5));
  gSpriteDepthTable[255] = 0;
}

const int16_t* ZBufferLookup::GetSpriteDepthTable() {
  static const bool filled = [] {
    SetSpriteDepthScale(DepthCentre());
    return true;
  }();
  (void)filled;
  return gSpriteDepthTable;
}

ViewMotion::ViewMotion(Clock clock) : mClock(clock != nullptr ? clock : platform::TimeMs) {}

float ViewMotion::Ramp::ValueAt(uint32_t now, bool& over) const {
  const uint32_t elapsed = now - begin;
  over = elapsed >= length;
  if (over) return target;
  return start + (target - start) * static_cast<float>(elapsed) / static_cast<float>(length);
}

void ViewMotion::Start(float x0, float x1, float y0, float y1, bool smooth) {
  const uint32_t now = mClock();
  const float distance = std::sqrt((x1 - x0) * (x1 - x0) + (y1 - y0) * (y1 - y0));
  uint32_t length = 1;
  if (!smooth) {
    x0 = x1;
    y0 = y1;
    mLength = 1;
  } else if (mBySpeed) {
    mLength = distance / static_cast<float>(mSpeed);
    length = static_cast<uint32_t>(mSpeed);
  } else {
    mLength = std::round(distance / mDuration + 0.5f);
    length = static_cast<uint32_t>(std::max(mLength, 1.0f));
  }
  mX = Ramp{x0, x1, now, length};
  mY = Ramp{y0, y1, now, length};
  mActive = true;
}

int32_t ViewMotion::Current(const Ramp& ramp) {
  bool over = false;
  const float v = ramp.ValueAt(mClock(), over);
  if (over) mActive = false;
  return static_cast<int32_t>(std::round(v));
}

int32_t ViewMotion::CurrentX() { return Current(mX); }
int32_t ViewMotion::CurrentY() { return Current(mY); }
int32_t ViewMotion::TargetX() const { return static_cast<int32_t>(std::round(mX.target)); }
int32_t ViewMotion::TargetY() const { return static_cast<int32_t>(std::round(mY.target)); }

void ViewMotion::SetSpeed(int32_t speed) {
  mSpeed = speed;
  mBySpeed = speed > 0;
}

}  // namespace tova
