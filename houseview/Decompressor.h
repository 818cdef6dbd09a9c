// Row decoders with one interface, so that a draw loop can pair a
// run-length channel of an 'SPR#' frame with a raw pixel array (a wall or
// floor pattern) or a procedural depth ramp, one row at a time.
#pragma once

#include <cstdint>

namespace tova {

class Decompressor {
 public:
  virtual ~Decompressor();
  // The next row as display pixels; whether it holds any.
  virtual bool DecodeRow16(uint16_t* buffer, uint16_t*& rowStart) = 0;
  // The next row as bytes; rowStart is where they are (the buffer or the
  // decoder's own storage). Whether the row holds any.
  virtual bool DecodeRow8(uint8_t* buffer, const uint8_t*& rowStart) = 0;
  virtual void SkipRows(int32_t n) = 0;
  virtual void Reset() = 0;
};

// The rows of one 'SPR#' channel frame (`stream` = frame + 10, `size` its
// bytes). Output is clipped to `width` pixels; the stream is never read past
// its end (running out ends the frame).
class RLEDecompressor : public Decompressor {
 public:
  RLEDecompressor(const uint8_t* stream, int32_t size, const uint16_t* colourTable, int32_t width);
  bool DecodeRow16(uint16_t* buffer, uint16_t*& rowStart) override;
  bool DecodeRow8(uint8_t* buffer, const uint8_t*& rowStart) override;
  void SkipRows(int32_t n) override;
  void Reset() override;

  int32_t GetPendingRows() const { return mPending; }
  bool HasEnded() const { return mEnded; }
  // Bytes of the stream read so far.
  int32_t GetPosition() const { return mPosition; }

 private:
  template <typename Pixel, typename Map>
  bool DecodeRow(Pixel* buffer, Map map);

  const uint8_t* mStart;
  int32_t mSize;
  int32_t mPosition = 0;
  int32_t mPending = 0;
  bool mEnded = false;
  const uint16_t* mColours;
  int32_t mWidth;
};

// A raw 8-bit pixel array, row after row `stride` bytes apart.
class ArrayDecompressor : public Decompressor {
 public:
  ArrayDecompressor(const uint8_t* start, int32_t stride);
  bool DecodeRow16(uint16_t* buffer, uint16_t*& rowStart) override;
  bool DecodeRow8(uint8_t* buffer, const uint8_t*& rowStart) override;
  void SkipRows(int32_t n) override;
  void Reset() override;

 private:
  const uint8_t* mStart;
  int64_t mRow = 0;
  int32_t mStride;
};

// The depth ramp of a wall: rows of the zoom's sine table from a phase that
// moves by two per row, up or down.
class DummyDecompressor : public Decompressor {
 public:
  DummyDecompressor(int32_t zoom, bool direction, int32_t phase = 0);
  bool DecodeRow16(uint16_t* buffer, uint16_t*& rowStart) override;
  bool DecodeRow8(uint8_t* buffer, const uint8_t*& rowStart) override;
  void SkipRows(int32_t n) override;
  void Reset() override {}

  int32_t GetPhase() const { return mPhase; }
  // The 1024-byte ramp of a zoom (1..3).
  static const uint8_t* GetRampTable(int32_t zoom);

 private:
  void Step(int32_t rows);

  int32_t mPhase;
  int32_t mZoom;
  bool mDirection;
};

}  // namespace tova
