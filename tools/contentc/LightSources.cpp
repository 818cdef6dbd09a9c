#include "tools/contentc/LightSources.h"

#include <cmath>
#include <filesystem>
#include <sstream>

#include "platform/AtomicFile.h"
#include "tools/contentc/KeywordLines.h"

namespace {

bool ReadFloats(std::istringstream& words, float* out, int n) {
    for (int i = 0; i < n; ++i)
        if (!(words >> out[i]) || !std::isfinite(out[i])) return false;
    return true;
}

}  // namespace

bool ParseLightSetSource(const std::string& name, const std::string& text, LightSetDescription& out,
                         std::string& error) {
    int number = 0;
    auto fail = [&](const std::string& why) {
        error = name + ":" + std::to_string(number) + ": " + why;
        return false;
    };
    const bool read = ForEachKeywordLine(name, text, number, error, [&](const std::string& key, std::istringstream& words) {
        bool ok = true;
        LightRecord* record = out.records.empty() ? nullptr : &out.records.back();
        if (key == "file") {
            ok = static_cast<bool>(words >> out.file) && out.file.find('/') == std::string::npos &&
                 out.file.size() > 4 && out.file.compare(out.file.size() - 4, 4, ".lgt") == 0;
        } else if (key == "version") {
            ok = static_cast<bool>(words >> out.version) && (out.version == 0 || out.version == 1);
        } else if (key == "light") {
            std::string kind;
            ok = static_cast<bool>(words >> kind);
            LightRecord fresh;
            if (kind == "point") fresh.type = static_cast<int32_t>(LightRecordType::Point);
            else if (kind == "spot") fresh.type = static_cast<int32_t>(LightRecordType::Spot);
            else if (kind == "directional") fresh.type = static_cast<int32_t>(LightRecordType::Directional);
            else if (kind == "ambient") fresh.type = static_cast<int32_t>(LightRecordType::Ambient);
            else ok = false;
            if (ok) out.records.push_back(fresh);
        } else if (key == "position" || key == "direction" || key == "colour" || key == "intensity" ||
                   key == "cone") {
            if (!record) return KeywordResult::kBadValue;  // no "light" line yet
            if (key == "position") ok = ReadFloats(words, record->position, 3);
            else if (key == "direction") ok = ReadFloats(words, record->direction, 3);
            else if (key == "colour") ok = ReadFloats(words, record->color, 3);
            else if (key == "intensity") ok = ReadFloats(words, &record->intensity, 1);
            else ok = ReadFloats(words, &record->innerAngle, 1) && ReadFloats(words, &record->outerAngle, 1);
        } else {
            return KeywordResult::kUnknown;
        }
        return ok ? KeywordResult::kTaken : KeywordResult::kBadValue;
    });
    if (!read) return false;
    if (out.file.empty()) return fail("no 'file' line");
    if (out.records.empty()) return fail("no 'light' line");
    return true;
}

bool WriteLightSetSource(const LightSetDescription& lights, const std::string& root, std::string& error) {
    const std::filesystem::path folder = std::filesystem::path(root) / "Lights";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    const std::string bytes = WriteLightSet(lights.records, lights.version);
    platform::AtomicFile file(folder / lights.file);
    if (!file.Begin() || !file.Write(bytes.data(), bytes.size()) || !file.Commit()) {
        error = file.Error();
        return false;
    }
    return true;
}
