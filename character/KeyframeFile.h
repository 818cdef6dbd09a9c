// The keyframes of a skill: a raw file (every translation as three floats,
// then every rotation as four) or a compressed one (".cfp"): seven value
// streams (translation x, y, z, rotation x, y, z, w), each value a step from
// the last one, a new float or a repeat. The decoder's current value and
// repeat count run through the translations' three streams and start again
// for the rotations.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tarn/Transform.h"

namespace tova {

// The steps of code bytes 0..253.
const std::array<float, 254>& KeyframeDeltaTable();

struct KeyframeCounters {
    int64_t filesLoaded = 0;
    int64_t compressedBytes = 0;
    int64_t decodedBytes = 0;
};
KeyframeCounters& GetKeyframeCounters();

// Decodes into arrays of the given sizes. Values past the end of the data
// stay as they were (the caller starts them at zero and identity). Answers
// the code bytes read (1 per code, plus 4 after 255 and 2 after 254).
int64_t DecodeCompressedKeyframes(std::string_view bytes, std::vector<Vector3>& translations,
                                  std::vector<Quaternion>& rotations);
// The compressed form that decodes to exactly these values.
std::string EncodeCompressedKeyframes(const std::vector<Vector3>& translations,
                                      const std::vector<Quaternion>& rotations);

// False when the file is shorter than the counts need.
bool ReadRawKeyframes(std::string_view bytes, std::vector<Vector3>& translations,
                      std::vector<Quaternion>& rotations);
std::string WriteRawKeyframes(const std::vector<Vector3>& translations, const std::vector<Quaternion>& rotations);

}  // namespace tova
