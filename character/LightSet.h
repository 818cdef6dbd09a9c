// Light records and light-set files. A record is the 72-byte element both of
// "LGT" files and of the house view's light lists; a light set is a file of
// such records found through the light search path.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

enum class LightRecordType : int32_t { Point = 0, Spot = 1, Directional = 2, Ambient = 3 };

struct LightRecord {
    float position[3] = {0, 0, 0};
    float direction[3] = {1, 0, 0};
    int32_t type = static_cast<int32_t>(LightRecordType::Ambient);
    float color[3] = {1, 1, 1};
    float intensity = 1.0f;  // for an ambient record, the fourth colour value
    float innerAngle = 0;    // spot cone, degrees
    uint32_t value48 = 1;    // the rest is carried, not interpreted here
    float value52 = 1.0f;
    float outerAngle = 0;  // spot cone, degrees
    uint32_t value60[3] = {0, 0, 0};
};
static_assert(sizeof(LightRecord) == 72);

inline constexpr uint32_t kLightSetMagic = 0xB0B0B0B0;
inline constexpr uint32_t kLightRecordMagicV0 = 0xB0B0B0B0;  // the first 56 bytes of a record
inline constexpr uint32_t kLightRecordMagicV1 = 0xB0B0B0B1;  // all 72
inline constexpr uint32_t kLightSetNotFound = 0x9B0D0010;
inline constexpr uint32_t kLightSetReadError = 0x9B0D0012;
inline constexpr uint32_t kLightSetBadMagic = 0x9B0D0017;

// Appends the records of a light-set file's bytes, one at a time against the
// bytes present; on a failure the records read so far stay in `out`.
uint32_t ReadLightSet(std::string_view bytes, std::vector<LightRecord>& out);
// The file form of the records; version 0 drops bytes 56-71 of each.
std::string WriteLightSet(const std::vector<LightRecord>& records, int version = 1);

// Reads the light set of that name ("LGT" files) from the light search path.
uint32_t LoadLightSet(const std::string& name, std::vector<LightRecord>& out);
// ';'-separated folders; "Lights; ../Lights" until changed.
void SetLightSearchPath(const std::string& path);
std::string GetLightSearchPath();
