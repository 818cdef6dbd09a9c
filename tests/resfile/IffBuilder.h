// A tiny generator of container bytes for tests that need files our writers
// would never produce (damaged chains, stale maps, other versions).
#pragma once

#include <cstdint>
#include <string>

#include "resfile/ResUtil.h"
#include "resfile/TypeCode.h"

struct IffBuilder {
  std::string bytes;

  // A 2.x header with the given version digits and map offset.
  static IffBuilder V2(char major = '2', char minor = '5', uint32_t mapOffset = 0) {
    IffBuilder b;
    b.bytes.assign("IFF FILE 2.5:TYPE FOLLOWED BY SIZE\0 HOLLIS VANTREK & ORVEL 1", 60);
    b.bytes[9] = major;
    b.bytes[11] = minor;
    b.Word32(mapOffset);
    return b;
  }
  static IffBuilder V1() {
    IffBuilder b;
    b.bytes.assign("IFF FILE 1.0:TYPE FOLLOWED BY SIZE\0 HOLLIS VANTREK & ORVEL 1996\0", 64);
    return b;
  }

  void Word32(uint32_t v) {
    uint8_t p[4];
    WriteU32BE(p, v);
    bytes.append(reinterpret_cast<char*>(p), 4);
  }
  void Word16(uint16_t v) {
    uint8_t p[2];
    WriteU16BE(p, v);
    bytes.append(reinterpret_cast<char*>(p), 2);
  }
  // A 2.x chunk; a negative size means the true size. Returns its offset.
  int32_t Chunk(ResType type, int16_t id, uint16_t flags, const std::string& data,
                const std::string& label = "", int64_t size = -1) {
    auto at = static_cast<int32_t>(bytes.size());
    Word32(type);
    Word32(size >= 0 ? static_cast<uint32_t>(size) : static_cast<uint32_t>(76 + data.size()));
    Word16(static_cast<uint16_t>(id));
    Word16(flags);
    std::string l = label;
    l.resize(64, '\0');
    bytes += l + data;
    return at;
  }
  int32_t FreeChunk(uint32_t size) {
    int32_t at = Chunk(TypeCode("XXXX"), 0, 0x04, std::string(size - 76, '\0'));
    return at;
  }
  // A 1.0 chunk with a name-list index.
  int32_t Chunk1(ResType type, int16_t id, uint16_t flags, const std::string& data, int32_t labelIndex = -1) {
    auto at = static_cast<int32_t>(bytes.size());
    Word32(type);
    Word32(static_cast<uint32_t>(16 + data.size()));
    Word16(static_cast<uint16_t>(id));
    Word16(flags);
    Word32(static_cast<uint32_t>(labelIndex));
    bytes += data;
    return at;
  }
  void SetWord32(size_t at, uint32_t v) {
    uint8_t p[4];
    WriteU32BE(p, v);
    bytes.replace(at, 4, reinterpret_cast<char*>(p), 4);
  }
};
