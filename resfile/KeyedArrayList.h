// An ordered list of arrays of 32-bit integers, each keyed by an object id;
// live objects and the neighbourhood keep per-object values in it. A slot may
// be empty after reading. Lookups by id take the first array with that id.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

class ReconStream;

class KeyedArrayList {
 public:
  int GetCount() const { return static_cast<int>(mSlots.size()); }
  int32_t GetIdAt(int index) const;  // 0 when out of range or empty
  int GetSize(int32_t id) const;     // 0 when no array has the id
  void AddArray(int32_t id);
  void SetSize(int32_t id, int n);
  // A missing id or an index outside the array reads 0 and ignores writes.
  int32_t GetValue(int32_t id, int index) const;
  void SetValue(int32_t id, int index, int32_t value);
  void RemoveArray(int32_t id);
  void Clear() { mSlots.clear(); }
  bool IsSlotEmpty(int index) const;

  void Reconstitute(ReconStream& stream, int32_t version);

 private:
  struct Array {
    int32_t id = 0;
    std::vector<int32_t> values;
  };
  const Array* Find(int32_t id) const;
  Array* Find(int32_t id);
  static void SerializeValues(ReconStream& stream, Array& array);

  std::vector<std::optional<Array>> mSlots;
};
