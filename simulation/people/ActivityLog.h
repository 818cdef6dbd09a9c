#pragma once
// A developer log of how people spend their time. While it records, every
// tick of every person counts against the interaction the person runs;
// when the interaction changes, one sample (ticks, of them animating and
// routing, success, motive changes) is filed under the object and the
// interaction. Written as a tab-separated text file.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tova {

class cXPerson;

class ActivityLog {
 public:
  static constexpr int32_t kMotiveColumns = 9;
  static constexpr int32_t kMotives[kMotiveColumns] = {3, 5, 6, 7, 8, 9, 13, 14, 15};
  static constexpr uint16_t kAnimateOpcode = 44;

  struct Snapshot {
    uint32_t guid = 0;
    std::array<float, kMotiveColumns> motives{};
  };
  struct Sample {
    Snapshot changes;
    int32_t start = 0;
    int32_t totalTicks = 0;
    int32_t animTicks = 0;
    int32_t routingTicks = 0;
    uint8_t result = 0;
  };
  struct Group {
    int32_t guid = -1;
    int32_t entryKey = -1;
    std::string objectName;
    std::string interactionName;
    std::vector<Sample> samples;
  };
  struct Tracker {
    uint32_t personGuid = 0;
    int16_t personId = 0;
    int32_t targetGuid = -1;
    int16_t targetId = 0;
    int32_t entryKey = -1;
    Snapshot start;
    int32_t totalTicks = 0;
    int32_t animTicks = 0;
    int32_t routingTicks = 0;
    int32_t startTime = 0;
    std::array<int16_t, 80> personData{};
  };

  static ActivityLog& Instance();

  void Start() { recording_ = true; }
  bool IsRecording() const { return recording_; }
  void Sample(cXPerson& person);
  // Writes "./VuxLog.txt" (or path), says how it went in a message box and,
  // when written, empties the log and stops recording. When the file cannot
  // be opened everything stays, so writing can be tried again.
  bool Write(const std::string& path = "./VuxLog.txt");
  void Clear();

  const std::vector<Group>& Groups() const { return groups_; }
  const std::vector<Tracker>& Trackers() const { return trackers_; }

 private:
  Group& FindGroup(int32_t guid, int32_t entryKey, cXPerson& person, int16_t targetId);

  bool recording_ = false;
  std::vector<Group> groups_;
  std::vector<Tracker> trackers_;
};

// The console's "vux_log end".
bool WriteActivityLog();

}  // namespace tova
