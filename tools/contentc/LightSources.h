// Light-set descriptions: small text files that make the light sets of the
// data root (Lights/NAME.lgt). Each line is a keyword and its values; '#'
// starts a comment. "light KIND" starts a record; the lines after it set
// that record's fields, the rest keeping a new record's defaults.
//
//   file stdlight.lgt       output name
//   version 1               record version: 1 (72 bytes) or 0 (56 bytes)
//   light directional       a record: point, spot, directional or ambient
//   position 0 300 0        x y z
//   direction 1 -1 1        x y z
//   colour 0.9 0.85 0.8     r g b (0..1)
//   intensity 1             for an ambient record, the fourth colour value
//   cone 30 45              a spot's inner and outer angles, degrees
#pragma once

#include "character/LightSet.h"

#include <string>
#include <vector>

struct LightSetDescription {
    std::string file;
    int version = 1;
    std::vector<LightRecord> records;
};

// False, with "name:line: reason" in error, for a bad description.
bool ParseLightSetSource(const std::string& name, const std::string& text, LightSetDescription& out,
                         std::string& error);
// Writes root/Lights/<file> through the light-set writer.
bool WriteLightSetSource(const LightSetDescription& lights, const std::string& root, std::string& error);
