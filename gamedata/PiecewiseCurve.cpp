#include "gamedata/PiecewiseCurve.h"

#include <cctype>
#include <charconv>

namespace tova {

void PiecewiseCurve::Allocate(int n) {
  Clear();
  capacity_ = n > 0 ? n : 0;
  points_.reserve(static_cast<size_t>(capacity_));
}

void PiecewiseCurve::Clear() {
  points_.clear();
  inverseWidths_.clear();
}

void PiecewiseCurve::AddPoint(float x, float y) {
  if (Count() >= capacity_) return;
  size_t at = 0;
  for (; at < points_.size(); ++at) {
    if (points_[at].x == x) return;
    if (points_[at].x > x) break;
  }
  points_.insert(points_.begin() + static_cast<std::ptrdiff_t>(at), Point{x, y});
  UpdateWidths();
}

void PiecewiseCurve::UpdateWidths() {
  inverseWidths_.clear();
  for (size_t i = 0; i + 1 < points_.size(); ++i) inverseWidths_.push_back(1.0f / (points_[i + 1].x - points_[i].x));
}

namespace {

// One integer as "%d" reads it (blanks, an optional sign, digits) from `at`
// on; false when there is none or it does not fit an int.
bool ReadInt(std::string_view s, size_t& at, int& out) {
  while (at < s.size() && std::isspace(static_cast<unsigned char>(s[at]))) ++at;
  if (at + 1 < s.size() && s[at] == '+' && s[at + 1] != '-') ++at;
  auto [ptr, ec] = std::from_chars(s.data() + at, s.data() + s.size(), out);
  if (ec != std::errc()) return false;
  at = static_cast<size_t>(ptr - s.data());
  return true;
}

}  // namespace

void PiecewiseCurve::Parse(std::string_view text) {
  size_t pos = 0;
  while ((pos = text.find('(', pos)) != std::string_view::npos) {
    const size_t close = text.find(')', pos);
    if (close == std::string_view::npos) return;
    // "(x;y)"; text between y and ')' is ignored.
    const std::string_view group = text.substr(pos + 1, close - pos - 1);
    size_t at = 0;
    int x = 0, y = 0;
    if (ReadInt(group, at, x) && at < group.size() && group[at] == ';' && ReadInt(group, ++at, y)) {
      AddPoint(static_cast<float>(x), static_cast<float>(y));
    }
    pos = close + 1;
  }
}

float PiecewiseCurve::Evaluate(float x) const {
  if (points_.empty()) return 0;
  int last = -1;
  for (int i = 0; i < Count() && points_[i].x < x; ++i) last = i;
  if (last < 0) return points_.front().y;
  if (last == Count() - 1) return points_[last].y;
  const Point& a = points_[last];
  const Point& b = points_[last + 1];
  return a.y + (x - a.x) * inverseWidths_[last] * (b.y - a.y);
}

}  // namespace tova
