// Handles from text and back, for the resource-file tests.
#pragma once

#include <cstring>
#include <string>

#include "resfile/MemHandle.h"
#include "resfile/TypeCode.h"

// The resource types the tests store.
inline constexpr ResType kOBJD = TypeCode("OBJD");
inline constexpr ResType kSPR2 = TypeCode("SPR2");

inline MemHandle Bytes(const std::string& s) {
  MemHandle h = NewMemHandle(static_cast<int32_t>(s.size()));
  if (!s.empty()) std::memcpy(GetMemHandleData(h), s.data(), s.size());
  return h;
}

inline std::string Text(MemHandle h) {
  return h ? std::string(reinterpret_cast<char*>(GetMemHandleData(h)), static_cast<size_t>(GetMemHandleSize(h)))
           : std::string("<null>");
}
