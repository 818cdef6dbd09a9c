// A lot for the object primitives: the interpreter fixture on a fake world,
// a way to run one primitive node on an object, and operand packing.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "FakeLot.h"
#include "SimFixture.h"

namespace tova_test {

// Four operand words from eight operand bytes (low byte first).
inline std::string Bytes(std::initializer_list<int> bytes) {
  int b[8] = {};
  int i = 0;
  for (int v : bytes) b[i++] = v & 0xFF;
  std::string s;
  for (int w = 0; w < 4; ++w) s += " " + std::to_string(static_cast<int16_t>(b[2 * w] | (b[2 * w + 1] << 8)));
  return s;
}
inline std::string Words(int w0, int w1 = 0, int w2 = 0, int w3 = 0) {
  return " " + std::to_string(static_cast<int16_t>(w0)) + " " + std::to_string(static_cast<int16_t>(w1)) + " " +
         std::to_string(static_cast<int16_t>(w2)) + " " + std::to_string(static_cast<int16_t>(w3));
}

class PrimitiveFixture : public SimFixture {
 protected:
  void SetUp() override {
    SimFixture::SetUp();
    module.SetLot(&world, &view);
  }
  // An object as a reset leaves it: its data word 11 holds its id.
  template <class T = cXObject>
  T* Obj() {
    T* o = Make<T>();
    o->SetData(kDataOwnId, o->GetId());
    return o;
  }
  // An object that may stand on the bare ground of level 1.
  template <class T = cXObject>
  T* Ground() {
    T* o = Obj<T>();
    o->SetData(kDataPlacement, kPlaceOnGround);
    o->SetData(kDataSlotKinds, 1);
    o->SetData(kDataMovement, kMovePickUp | kMoveDelete);
    return o;
  }
  static FinePoint At(int x, int y) { return TileLocation::At(x, y, 1).GetCenterPoint(); }

  // Runs "name operands" synchronously on o with the stack object and the
  // parameters given; local 0 is set to parameter 3 first. 1 true, 0 false,
  // 1000 + the code of an error raised.
  int32_t Prim(cXObject& o, const std::string& node, int16_t stackObject, int16_t p0 = 0, int16_t p1 = 0,
               int16_t p2 = 0, int16_t p3 = 0) {
    own.Add(kTypeBHAV, 4097,
            AssembleTrees("tree 4097 \"P\"\n params 4\n locals 2\n"
                          "n0: " + Expr(kOwnerLocal, 0, 5, kOwnerParam, 3) + " -> n1 n1\n"
                          "n1: " + node + " -> true false\nend\n")[0]
                .bytes,
            "P");
    const int16_t params[4] = {p0, p1, p2, p3};
    o.SetErrorCode(0);
    const bool result = o.RunTree(behavior(), stackObject, 4097, params);
    const int16_t error = o.GetErrorCode();
    o.SetErrorCode(0);
    return error != 0 ? 1000 + error : result ? 1 : 0;
  }

  FakeWorld world;
  FakeView view;
};

}  // namespace tova_test
