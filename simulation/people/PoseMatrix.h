#pragma once
// A 4 by 4 transform for the person's 3D drawing (row vectors: a point is
// multiplied from the left, so a * b applies a first).

#include <cmath>

namespace tova {

struct PoseMatrix {
  float m[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};

  static PoseMatrix Scale(float s) {
    PoseMatrix r;
    r.m[0][0] = r.m[1][1] = r.m[2][2] = s;
    return r;
  }
  // A turn about the vertical (y) axis.
  static PoseMatrix TurnY(float radians) {
    PoseMatrix r;
    const float c = std::cos(radians), s = std::sin(radians);
    r.m[0][0] = c;
    r.m[0][2] = -s;
    r.m[2][0] = s;
    r.m[2][2] = c;
    return r;
  }
  static PoseMatrix Translate(float x, float y, float z) {
    PoseMatrix r;
    r.m[3][0] = x;
    r.m[3][1] = y;
    r.m[3][2] = z;
    return r;
  }
  friend PoseMatrix operator*(const PoseMatrix& a, const PoseMatrix& b) {
    PoseMatrix r;
    for (int i = 0; i < 4; ++i) {
      for (int j = 0; j < 4; ++j) {
        float sum = 0;
        for (int k = 0; k < 4; ++k) sum += a.m[i][k] * b.m[k][j];
        r.m[i][j] = sum;
      }
    }
    return r;
  }
  void Apply(const float in[3], float out[3]) const {
    for (int j = 0; j < 3; ++j) out[j] = in[0] * m[0][j] + in[1] * m[1][j] + in[2] * m[2][j] + m[3][j];
  }
};

// One mesh of a dressing worn by a body, with its own transform.
struct WornMesh {
  const void* mesh = nullptr;
  PoseMatrix transform;
};

}  // namespace tova
