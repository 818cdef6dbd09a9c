#include "gamedata/Careers.h"

#include <cstdlib>

#include "gamedata/TextTable.h"
#include "resfile/ReconStream.h"

namespace tova {

namespace {

std::string Bounded(const char* text, size_t capacity) {
  std::string s = text ? text : "";
  if (s.size() > capacity - 1) s.resize(capacity - 1);
  return s;
}

// Table numbers are kept well inside 32 bits so that the arithmetic on them
// cannot overflow.
int32_t Bounded32(long long v) {
  constexpr long long kLimit = 1000000000;
  return static_cast<int32_t>(v < -kLimit ? -kLimit : v > kLimit ? kLimit : v);
}

int32_t ParseHour(std::string_view part) {
  std::string s(part);
  int32_t n = Bounded32(std::strtoll(s.c_str(), nullptr, 10));
  size_t ap = s.find_first_of("apAP");
  if (n == 12) n = 0;
  if (ap != std::string::npos && (s[ap] == 'p' || s[ap] == 'P')) n += 12;
  return n;
}

// The ':'-separated hourly list; '/' stands for '-'.
void ReadHourly(const char* cell, int32_t workHours, int32_t (&out)[7]) {
  std::string text = cell ? cell : "";
  for (char& c : text) {
    if (c == '/') c = '-';
  }
  size_t pos = 0;
  for (int i = 0; i < 7 && pos <= text.size(); ++i) {
    size_t colon = text.find(':', pos);
    std::string item = text.substr(pos, colon == std::string::npos ? std::string::npos : colon - pos);
    int32_t v = Bounded32(std::strtoll(item.c_str(), nullptr, 10));
    // A level with no working hours has no hourly rate.
    out[i] = workHours != 0 ? v / workHours : 0;
    if (colon == std::string::npos) break;
    pos = colon + 1;
  }
}

}  // namespace

const std::string& CareerLevel::GetTitle(bool alternate) const {
  return alternate && !alternateTitle.empty() ? alternateTitle : title;
}

const std::string& CareerLevel::GetSecondTitle(bool alternate) const {
  return alternate && !secondAlternateTitle.empty() ? secondAlternateTitle : secondTitle;
}

const std::string& CareerLevel::GetText(bool alternate) const {
  return alternate && !text2.empty() ? text2 : text1;
}

const std::string& cCareer::GetText(bool alternate) const {
  return alternate && !alternateText.empty() ? alternateText : text;
}

namespace {

// A text kept in a fixed field of `capacity` bytes (the terminator included).
void SerializeBounded(ReconStream& s, std::string& text, size_t capacity) {
  if (!s.IsReading() && text.size() > capacity - 1) text.resize(capacity - 1);
  s.SerializeString(text);
  if (s.IsReading() && text.size() > capacity - 1) text.resize(capacity - 1);
}

}  // namespace

void cCareer::Reconstitute(ReconStream& s, int32_t /*version*/) {
  bool packed = true;
  s.SerializeBool(&packed);
  if (packed) s.SetPacked();
  SerializeBounded(s, name, kNameLength);
  int32_t count = static_cast<int32_t>(levels.size());
  s.SerializeLongs(&count, 1);
  if (s.IsReading()) {
    // Each level is at least 21 numbers; a damaged count fails before it allocates.
    if (!s.CheckCount(count, 21 * 4)) return;
    levels.assign(static_cast<size_t>(count), CareerLevel{});
  }
  for (CareerLevel& l : levels) {
    s.SerializeLongs(l.values, 10);
    s.SerializeLongs(l.hourly, 7);
    s.SerializeLongs(&l.pay, 1);
    s.SerializeLongs(&l.startHour, 1);
    s.SerializeLongs(&l.endHour, 1);
    s.SerializeLongs(&l.extra, 1);
    SerializeBounded(s, l.title, CareerLevel::kTitleLength);
    SerializeBounded(s, l.text1, CareerLevel::kTextLength);
    SerializeBounded(s, l.text2, CareerLevel::kTextLength);
    SerializeBounded(s, l.text3, CareerLevel::kTextLength);
    SerializeBounded(s, l.text4, CareerLevel::kTextLength);
    if (s.Failed()) return;
  }
}

bool ParseCareerHours(std::string_view text, int32_t& start, int32_t& end) {
  size_t dash = text.find('-');
  if (dash == std::string_view::npos) return false;
  start = ParseHour(text.substr(0, dash));
  end = ParseHour(text.substr(dash + 1));
  return true;
}

int32_t CareerWorkHours(int32_t start, int32_t end) {
  int32_t h = end - start;
  return h < 0 ? h + 24 : h;
}

bool ReadCareersTable(const TextTable& table, std::vector<cCareer>& out) {
  out.clear();
  int format = table.GetCellInt(1, 2);
  if (format != 0 && format != 1) return false;
  const int firstRow = format == 1 ? 5 : 4;
  const int stride = format == 1 ? 18 : 15;
  const int lastOffset = format == 1 ? 15 : 12;  // the lowest row a level reads
  std::vector<cCareer> careers;
  for (int col = 1; col <= 11; ++col) {
    cCareer career;
    career.id = col <= 10 ? col : -1;
    career.name = Bounded(table.GetCell(col, 0), cCareer::kNameLength);
    int levelCount = col <= 10 ? 10 : 1;
    for (int j = 0; j < levelCount; ++j) {
      int r = firstRow + j * stride;
      if (r + lastOffset >= table.GetRowCount()) return false;
      CareerLevel level;
      level.values[0] = table.GetCellInt(col, r + 6);
      for (int v = 1; v <= 6; ++v) level.values[v] = Bounded32(static_cast<long long>(table.GetCellInt(col, r + v - 1)) * 100);
      level.pay = table.GetCellInt(col, r + 7);
      if (table.HasText(col, r + 8)) ParseCareerHours(table.GetCell(col, r + 8), level.startHour, level.endHour);
      level.title = Bounded(table.GetCell(col, r - 1), CareerLevel::kTitleLength);
      if (format == 1) {
        ReadHourly(table.GetCell(col, r + 14), CareerWorkHours(level.startHour, level.endHour), level.hourly);
        level.extra = table.GetCellInt(col, r + 15);
        level.text1 = Bounded(table.GetCell(col, r + 10), CareerLevel::kTextLength);
        level.text2 = Bounded(table.GetCell(col, r + 11), CareerLevel::kTextLength);
        level.text3 = Bounded(table.GetCell(col, r + 12), CareerLevel::kTextLength);
        level.text4 = Bounded(table.GetCell(col, r + 13), CareerLevel::kTextLength);
      } else {
        level.text3 = Bounded(table.GetCell(col, r + 11), CareerLevel::kTextLength);
        level.text4 = Bounded(table.GetCell(col, r + 12), CareerLevel::kTextLength);
      }
      career.levels.push_back(std::move(level));
    }
    careers.push_back(std::move(career));
  }
  out = std::move(careers);
  return true;
}

bool GetCareerValue(const std::vector<CareerLevel>& levels, int index, int what, int32_t& out) {
  if (index < 0 || index >= static_cast<int>(levels.size())) return false;
  const CareerLevel& level = levels[static_cast<size_t>(index)];
  if (what == 0) {
    out = static_cast<int32_t>(levels.size());
  } else if (what == 1) {
    out = level.pay;
  } else if (what >= 2 && what <= 11) {
    out = level.values[what - 2];
  } else if (what == 12) {
    out = level.startHour;
  } else if (what == 13) {
    out = level.endHour;
  } else if (what >= 14 && what <= 20) {
    out = level.hourly[what - 14];
  } else if (what == 21) {
    out = level.extra;
  } else if (what == 22) {
    out = level.text1.empty() ? 0 : 1;
  } else {
    return false;
  }
  return true;
}

CareerList& CareerList::Instance() {
  static CareerList list;
  return list;
}

const cCareer* CareerList::FindCareer(int32_t id) const {
  for (const cCareer& c : careers_) {
    if (c.id == id) return &c;
  }
  return nullptr;
}

std::string CareerList::GetGradeName(int n) const {
  if (n < 0 || n + 1 > static_cast<int>(gradeNames_.size())) return {};
  return gradeNames_[static_cast<size_t>(n)];
}

std::string CareerList::GetScaleWord(int value) const {
  int entry = value < -60 ? 1 : value < -30 ? 2 : value < 30 ? 3 : value < 60 ? 4 : 5;
  if (entry > static_cast<int>(scaleWords_.size())) return {};
  return scaleWords_[static_cast<size_t>(entry - 1)];
}

void CareerList::Clear() {
  careers_.clear();
  gradeNames_.clear();
  scaleWords_.clear();
}

}  // namespace tova
