// Shared pieces of the update library's tests: a scratch installation with
// its own settings store and language texts, short time-outs, and a raw peer
// that writes and reads frames byte by byte.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

#include "platform/Registry.h"
#include "platform/Socket.h"
#include "support/TempFolder.h"
#include "vekpatch/Common/InstallOps.h"
#include "vekpatch/Common/LanguageResources.h"
#include "vekpatch/Common/VekException.h"
#include "vekpatch/Common/VekSettings.h"

namespace vek_test {

// The code of the library error `fn` raises; 0 when it raises none.
inline uint32_t CodeOf(const std::function<void()>& fn) {
  try {
    fn();
  } catch (const vek::VekException& e) {
    return e.Code();
  }
  return 0;
}

inline std::string EnglishTexts() { return std::string(TOVA_SOURCE_DIR) + "/vekpatch/lang/vekp0409.txt"; }

// Time-outs of milliseconds instead of seconds.
inline void ShrinkSettings(vek::VekSettings& s) {
  s.messageTimeoutMs = 2000;
  s.loopWaitMs = 40;
  s.sendPauseStepMs = 1;
  s.lockTimeoutMs = 2000;
  s.receiveRoundMs = 50;
  s.flushWaitMs = 200;
  s.abortPauseMs = 20;
  s.abortPollMs = 10;
  s.hostCopyPauseMs = 1;
}

class VekTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = vek::Settings();
    ShrinkSettings(vek::Settings());
    registry_ = dir_ / "registry.txt";
    platform::Registry::SetDefaultFile(registry_);
    vek::ResetInstallCaches();
    ASSERT_TRUE(vek::LoadLanguageResources(EnglishTexts().c_str()));
  }
  void TearDown() override {
    vek::FreeLanguageResources();
    vek::ResetInstallCaches();
    vek::Settings() = saved_;
  }

  void SetText(const std::string& key, const std::string& name, const std::string& text) {
    platform::RegKey k;
    ASSERT_EQ(platform::Registry::Default().CreateKey(platform::RegRoot::kLocalMachine, key, k), 0);
    ASSERT_EQ(k.SetString(name, text), 0);
  }
  void SetDword(const std::string& key, const std::string& name, uint32_t value) {
    platform::RegKey k;
    ASSERT_EQ(platform::Registry::Default().CreateKey(platform::RegRoot::kLocalMachine, key, k), 0);
    ASSERT_EQ(k.SetDword(name, value), 0);
  }
  // The library's installation folder: dir/install/.
  std::string Install() {
    const std::string path = dir_ / "install";
    dir_.Write("install/.keep", "");
    SetText(vek::kVekPatchKey, "InstallPath", path);
    return path + "/";
  }

  tova_test::TempFolder dir_;
  std::string registry_;
  vek::VekSettings saved_;
};

// A frame as bytes, with the length field taken from the bytes unless given.
inline std::string Frame(uint16_t id, const std::string& payload, uint32_t sequence = 1, int length = -1) {
  const size_t total = length >= 0 ? static_cast<size_t>(length) : payload.size() + 8;
  std::string f;
  f += static_cast<char>(id >> 8);
  f += static_cast<char>(id);
  f += static_cast<char>(total >> 8);
  f += static_cast<char>(total);
  for (int shift = 24; shift >= 0; shift -= 8) f += static_cast<char>(sequence >> shift);
  return f + payload;
}

inline std::string Word(uint16_t v) { return std::string{static_cast<char>(v >> 8), static_cast<char>(v)}; }
inline std::string Dword(uint32_t v) {
  return std::string{static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
                     static_cast<char>(v)};
}
inline std::string Text(const std::string& t) { return Word(static_cast<uint16_t>(t.size())) + t; }

// Reads exactly `n` bytes, waiting at most 5 s in all; "" on failure.
inline std::string ReadExactly(platform::TcpSocket& s, size_t n) {
  std::string out;
  for (int i = 0; i < 100 && out.size() < n; ++i) {
    if (s.WaitReadable(50) != 1) continue;
    std::string chunk(n - out.size(), '\0');
    const int64_t got = s.Receive(chunk.data(), chunk.size());
    if (got <= 0) return out;
    out.append(chunk.data(), static_cast<size_t>(got));
  }
  return out;
}

struct RawFrame {
  uint16_t id = 0;
  uint32_t sequence = 0;
  std::string payload;
};

// The next whole frame from the peer; id 0 when none came.
inline RawFrame ReadFrame(platform::TcpSocket& s) {
  RawFrame f;
  const std::string header = ReadExactly(s, 8);
  if (header.size() != 8) return f;
  const auto u = [&](size_t i) { return static_cast<uint8_t>(header[i]); };
  const size_t length = size_t(u(2)) << 8 | u(3);
  f.id = static_cast<uint16_t>(u(0) << 8 | u(1));
  f.sequence = uint32_t(u(4)) << 24 | uint32_t(u(5)) << 16 | uint32_t(u(6)) << 8 | u(7);
  if (length > 8) f.payload = ReadExactly(s, length - 8);
  return f;
}

}  // namespace vek_test
