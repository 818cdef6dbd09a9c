#include "houseview/Decompressor.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace tova {

namespace {

enum : uint8_t { kRleSkip = 1, kRleFill = 2, kRleLiteral = 3, kRleRow = 4, kRleEnd = 5, kRleBlank = 9 };

}  // namespace

Decompressor::~Decompressor() = default;

RLEDecompressor::RLEDecompressor(const uint8_t* stream, int32_t size, const uint16_t* colourTable, int32_t width)
    : mStart(stream), mSize(stream == nullptr ? 0 : std::max(size, 0)), mColours(colourTable),
      mWidth(std::max(width, 0)) {}

void RLEDecompressor::Reset() {
  mPosition = 0;
  mPending = 0;
  mEnded = false;
}

template <typename Pixel, typename Map>
bool RLEDecompressor::DecodeRow(Pixel* buffer, Map map) {
  if (mEnded) return false;
  bool begun = false, any = false;
  int32_t x = 0;
  const auto put = [&](uint8_t value) {
    if (x >= 0 && x < mWidth && buffer != nullptr) buffer[x] = map(value);
    ++x;
  };
  for (;;) {
    if (mPosition + 2 > mSize) {
      mEnded = true;
      return any;
    }
    const uint8_t* p = mStart + mPosition;
    const uint8_t op = p[0], n = p[1];
    switch (op) {
      case kRleSkip:
        x += n;
        mPosition += 2;
        break;
      case kRleFill:
        if (mPosition + 4 > mSize) {
          mEnded = true;
          return any;
        }
        for (int i = 0; i < n; ++i) put(p[2]);
        any |= n > 0;
        mPosition += 4;
        break;
      case kRleLiteral:
        if (mPosition + 2 + n > mSize) {
          mEnded = true;
          return any;
        }
        for (int i = 0; i < n; ++i) put(p[2 + i]);
        any |= n > 0;
        mPosition += 2 + n;
        mPosition += mPosition & 1;
        break;
      case kRleRow:
        if (begun) return any;  // the next row's header: this row is complete
        begun = true;
        if (n == 2 && mPosition + 6 <= mSize && p[2] == kRleEnd && p[3] == 255)
          mPosition += 6;
        else
          mPosition += 2;
        break;
      case kRleEnd:
        mEnded = true;
        return any;
      case kRleBlank:
        if (mPending == 0 && begun) {
          mPending = n;
          return any;
        }
        if (mPending == 0) mPending = n;
        mPending = std::max(mPending - 1, 0);
        // Stay on the command until its last blank row has been given.
        if (mPending == 0) mPosition += 2;
        return any;
      default:
        return any;  // an unknown operation ends the row
    }
  }
}

bool RLEDecompressor::DecodeRow16(uint16_t* buffer, uint16_t*& rowStart) {
  rowStart = buffer;
  const uint16_t* colours = mColours;
  return DecodeRow(buffer, [colours](uint8_t v) { return colours != nullptr ? colours[v] : uint16_t{v}; });
}

bool RLEDecompressor::DecodeRow8(uint8_t* buffer, const uint8_t*& rowStart) {
  rowStart = buffer;
  return DecodeRow(buffer, [](uint8_t v) { return v; });
}

void RLEDecompressor::SkipRows(int32_t n) {
  if (n <= 0 || mEnded) return;
  if (mPending > 0) {
    if (mPending > n) {
      mPending -= n;
      return;
    }
    n -= mPending;
    mPending = 0;
    mPosition += 2;  // past the blank-row command
    if (n == 0) return;
  }
  while (n > 0) {
    if (mPosition + 2 > mSize) {
      mEnded = true;
      return;
    }
    const uint8_t* p = mStart + mPosition;
    switch (p[0]) {
      case kRleRow: {
        int32_t length = p[1];
        if (p[1] == 2 && mPosition + 6 <= mSize && p[2] == kRleEnd && p[3] == 255) length = p[4] << 8 | p[5];
        // A row shorter than its own header would never move on; one
        // longer than the stream has no end.
        if (length < 2 || length > mSize - mPosition) {
          mEnded = true;
          return;
        }
        mPosition += length;
        --n;
        break;
      }
      case kRleBlank:
        if (p[1] > n) {
          mPending = p[1] - n;
          return;
        }
        n -= p[1];
        mPosition += 2;
        break;
      default:
        // The end, or an operation no row starts with: the frame is over.
        mEnded = true;
        return;
    }
  }
}

ArrayDecompressor::ArrayDecompressor(const uint8_t* start, int32_t stride) : mStart(start), mStride(stride) {}

bool ArrayDecompressor::DecodeRow16(uint16_t*, uint16_t*&) { return false; }

bool ArrayDecompressor::DecodeRow8(uint8_t*, const uint8_t*& rowStart) {
  rowStart = mStart + mRow * mStride;
  ++mRow;
  return true;
}

void ArrayDecompressor::SkipRows(int32_t n) { mRow += n; }
void ArrayDecompressor::Reset() { mRow = 0; }

const uint8_t* DummyDecompressor::GetRampTable(int32_t zoom) {
  static const auto* tables = [] {
    static uint8_t built[3][1024];
    const float pi = 3.1415927f;
    for (int z = 1; z <= 3; ++z) {
      const float period = static_cast<float>(256 << (z - 1));
      for (int k = 0; k < 1024; ++k) {
        const float s = std::sin(2.0f * pi * static_cast<float>(k) / period);
        built[z - 1][k] = static_cast<uint8_t>(std::abs(static_cast<int>(s * 255.0f + 0.5f)));
      }
    }
    return built;
  }();
  return tables[std::clamp(zoom, 1, 3) - 1];
}

DummyDecompressor::DummyDecompressor(int32_t zoom, bool direction, int32_t phase)
    : mPhase(((phase % 512) + 512) % 512), mZoom(std::clamp(zoom, 1, 3)), mDirection(direction) {
  GetRampTable(mZoom);
}

bool DummyDecompressor::DecodeRow16(uint16_t*, uint16_t*&) { return false; }

bool DummyDecompressor::DecodeRow8(uint8_t*, const uint8_t*& rowStart) {
  rowStart = GetRampTable(mZoom) + mPhase;
  Step(1);
  return true;
}

void DummyDecompressor::SkipRows(int32_t n) { Step(n); }

void DummyDecompressor::Step(int32_t rows) {
  const int64_t move = 2 * static_cast<int64_t>(rows) % 512;
  mPhase = static_cast<int32_t>(((mPhase + (mDirection ? move : -move)) % 512 + 512) % 512);
}

}  // namespace tova
