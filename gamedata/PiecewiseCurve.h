#pragma once
// A curve through a few points, straight between them and flat outside:
// how motive values become mood scores and how house figures are rated.

#include <string_view>
#include <vector>

namespace tova {

class PiecewiseCurve {
 public:
  struct Point {
    float x, y;
  };

  // Frees the points and makes room for n (n <= 0 leaves no room).
  void Allocate(int n);
  void Clear();
  // Ignored when the curve is full or holds a point with the same x.
  void AddPoint(float x, float y);
  // Adds every "(x;y)" group of integers in the text.
  void Parse(std::string_view text);
  float Evaluate(float x) const;

  int Count() const { return static_cast<int>(points_.size()); }
  int Capacity() const { return capacity_; }
  const std::vector<Point>& Points() const { return points_; }
  int motiveIndex = -1;

 private:
  void UpdateWidths();
  std::vector<Point> points_;
  std::vector<float> inverseWidths_;
  int capacity_ = 0;
};

}  // namespace tova
