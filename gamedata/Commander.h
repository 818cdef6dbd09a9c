#pragma once
// The broadcast list: every object that wants to hear about changes elsewhere
// derives from Commander; construction puts it at the head of one global list
// and Broadcast hands a command number and one argument to every receiver,
// newest first. The list is locked, since the loading thread builds
// receivers while the main thread may broadcast, and a broadcast survives
// receivers that are destroyed or created by the receivers it calls.
// A receiver is on the list from the moment its Commander part is built
// until that part is destroyed: a class built on another thread while
// broadcasts run must be able to take commands from its first member on,
// or announce itself only once complete.

#include <cstdint>

#include "gamedata/CommandIds.h"

namespace tova {

class Commander {
 public:
  Commander();
  virtual ~Commander();
  Commander(const Commander&) = delete;
  Commander& operator=(const Commander&) = delete;

  // `command` is a signed 16-bit id in a wider slot (receivers compare the
  // low 16 bits); the argument may carry a pointer. Non-zero means handled.
  virtual int16_t DoCommand(int32_t command, intptr_t argument);

  uint32_t SerialNumber() const { return serial_; }

 private:
  friend bool Broadcast(int32_t command, intptr_t argument);
  friend int CommanderCount();
  Commander* next_ = nullptr;
  uint32_t serial_;
};

// Calls DoCommand of every receiver on the list (no short-circuit); true when
// any of them handled the command. Receivers created during the broadcast are
// not called; receivers destroyed during it are skipped.
bool Broadcast(int32_t command, intptr_t argument);

// Receivers on the list (for tests and diagnostics).
int CommanderCount();

}  // namespace tova
