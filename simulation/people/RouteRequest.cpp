#include "simulation/people/RouteRequest.h"

#include <algorithm>
#include <charconv>

namespace tova {

namespace {


void AppendRect(std::string& out, const CostRect& r) {
  for (int32_t v : {r.left, r.top, r.right, r.bottom, r.cost}) {
    out += std::to_string(v);
    out += ' ';
  }
  out += '\n';
}

void AppendOption(std::string& out, bool on, const int32_t* value) {
  out += on ? "1  " : "0  ";
  if (value) out += std::to_string(*value);
  out += '\n';
}

// Whitespace-separated decimal numbers, each checked to fit 32 bits.
class Tokens {
 public:
  explicit Tokens(std::string_view text) : text_(text) {}

  bool Next(int32_t& value) {
    SkipSpace();
    const char* begin = text_.data() + pos_;
    const char* end = text_.data() + text_.size();
    const char* stop = begin;
    while (stop < end && !IsSpace(*stop)) ++stop;
    if (stop == begin) return false;
    const auto [ptr, ec] = std::from_chars(begin, stop, value);
    if (ec != std::errc() || ptr != stop) return false;
    pos_ += static_cast<size_t>(stop - begin);
    return true;
  }
  bool AtEnd() {
    SkipSpace();
    return pos_ == text_.size();
  }
  size_t Remaining() const { return text_.size() - pos_; }

 private:
  static bool IsSpace(char c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t'; }
  void SkipSpace() {
    while (pos_ < text_.size() && IsSpace(text_[pos_])) ++pos_;
  }
  std::string_view text_;
  size_t pos_ = 0;
};

bool ReadFlag(Tokens& in, bool& flag) {
  int32_t v = 0;
  if (!in.Next(v) || (v != 0 && v != 1)) return false;
  flag = v == 1;
  return true;
}

// A rectangle holds five numbers and four separators at least.
constexpr size_t kMinRectBytes = 9;

bool ReadRects(Tokens& in, std::vector<CostRect>& rects, const char* what, std::string& error) {
  int32_t count = 0;
  if (!in.Next(count) || count < 0) {
    error = std::string("bad ") + what + " count";
    return false;
  }
  if (static_cast<size_t>(count) > in.Remaining() / kMinRectBytes) {
    error = std::string(what) + " count " + std::to_string(count) + " is more than the text holds";
    return false;
  }
  rects.resize(static_cast<size_t>(count));
  for (CostRect& r : rects) {
    if (!in.Next(r.left) || !in.Next(r.top) || !in.Next(r.right) || !in.Next(r.bottom) || !in.Next(r.cost)) {
      error = std::string("bad ") + what + " rectangle";
      return false;
    }
  }
  return true;
}

}  // namespace

CostRect CostRect::Grown(int32_t by) const {
  return {Clamp32(int64_t{left} - by), Clamp32(int64_t{top} - by), Clamp32(int64_t{right} + by),
          Clamp32(int64_t{bottom} + by), cost};
}

std::vector<CostRect> RouteRequest::AllObstacles() const {
  std::vector<CostRect> all = obstacles;
  all.insert(all.end(), obstacles2.begin(), obstacles2.end());
  return all;
}

std::string WriteRouteDump(const RouteRequest& r) {
  std::string out = "4\n";
  out += std::to_string(r.startX) + " " + std::to_string(r.startY) + "\n";
  AppendOption(out, r.alwaysOn, nullptr);
  AppendOption(out, r.smooth, nullptr);
  AppendOption(out, r.limitOn, &r.limit);
  AppendOption(out, r.centreOn, &r.aspectLimit);
  AppendOption(out, r.noGoalPointOn, &r.noGoalPointValue);
  out += std::to_string(r.goals.size()) + "\n";
  for (const CostRect& g : r.goals) AppendRect(out, g);
  out += std::to_string(r.obstacles.size() + r.obstacles2.size()) + "\n";
  for (const CostRect& o : r.obstacles) AppendRect(out, o);
  for (const CostRect& o : r.obstacles2) AppendRect(out, o);
  out += std::to_string(r.defaultCost);
  return out;
}

bool ReadRouteDump(std::string_view text, RouteRequest& request, std::string& error) {
  Tokens in(text);
  RouteRequest r;
  int32_t version = 0;
  if (!in.Next(version) || version != 4) {
    error = "not a route dump of version 4";
    return false;
  }
  if (!in.Next(r.startX) || !in.Next(r.startY)) {
    error = "bad start point";
    return false;
  }
  if (!ReadFlag(in, r.alwaysOn) || !ReadFlag(in, r.smooth) || !ReadFlag(in, r.limitOn) || !in.Next(r.limit) ||
      !ReadFlag(in, r.centreOn) || !in.Next(r.aspectLimit) || !ReadFlag(in, r.noGoalPointOn) ||
      !in.Next(r.noGoalPointValue)) {
    error = "bad options";
    return false;
  }
  if (!ReadRects(in, r.goals, "goal", error) || !ReadRects(in, r.obstacles, "obstacle", error)) return false;
  if (!in.Next(r.defaultCost)) {
    error = "bad default cost";
    return false;
  }
  if (!in.AtEnd()) {
    error = "text after the default cost";
    return false;
  }
  request = std::move(r);
  return true;
}

}  // namespace tova
