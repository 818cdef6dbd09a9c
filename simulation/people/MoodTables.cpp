#include "simulation/people/MoodTables.h"

#include <charconv>
#include <string>

#include "gamedata/ResourceSource.h"

namespace tova {

namespace {

// Strings past this many are not read: a table names each motive once.
constexpr int kMaxEntries = 64;

}  // namespace

MoodTables& MoodTables::Instance() {
  static MoodTables instance;
  return instance;
}

void MoodTables::LoadOnce(ResourceSource* file) {
  if (loaded_ || file == nullptr) return;
  Load(*file);
}

void MoodTables::Load(ResourceSource& file) {
  everyone_ = Read(file, kEveryoneTable);
  child_ = Read(file, kChildTable);
  loaded_ = true;
}

MoodTables::Table MoodTables::Read(ResourceSource& file, int16_t id) {
  Table table;
  for (int i = 1; i <= kMaxEntries; ++i) {
    const std::optional<std::string> text = file.GetString(id, i);
    if (!text) break;
    const size_t start = text->find_first_not_of(' ');
    if (start == std::string::npos) continue;
    int motive = -1;
    const char* first = text->data() + start;
    const auto [end, ec] = std::from_chars(first, text->data() + text->size(), motive);
    if (ec != std::errc() || motive < 0 || motive > 15) continue;
    PiecewiseCurve curve;
    curve.Allocate(kPointsPerCurve);
    curve.motiveIndex = motive;
    curve.Parse(std::string_view(end, static_cast<size_t>(text->data() + text->size() - end)));
    table.push_back(std::move(curve));
  }
  return table;
}

}  // namespace tova
