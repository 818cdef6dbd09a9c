#include "gamedata/Commander.h"

#include <mutex>

namespace tova {
namespace {

// A broadcast in progress: where it goes next. Unlinking a receiver moves
// every cursor that points at it, so a walk never reaches a dead receiver.
struct Cursor {
  Commander* next;
  Cursor* outer;
};

std::recursive_mutex& ListLock() {
  static std::recursive_mutex lock;
  return lock;
}

Commander* gHead = nullptr;
uint32_t gSerial = 0;
Cursor* gCursors = nullptr;

}  // namespace

Commander::Commander() {
  std::lock_guard guard(ListLock());
  serial_ = gSerial++;
  next_ = gHead;
  gHead = this;
}

Commander::~Commander() {
  std::lock_guard guard(ListLock());
  for (Cursor* c = gCursors; c; c = c->outer) {
    if (c->next == this) c->next = next_;
  }
  for (Commander** link = &gHead; *link; link = &(*link)->next_) {
    if (*link == this) {
      *link = next_;
      break;
    }
  }
}

int16_t Commander::DoCommand(int32_t, intptr_t) { return 0; }

bool Broadcast(int32_t command, intptr_t argument) {
  std::lock_guard guard(ListLock());
  Cursor cursor{gHead, gCursors};
  gCursors = &cursor;
  struct Pop {  // a throwing receiver must not leave a dangling cursor behind
    Cursor* c;
    ~Pop() { gCursors = c->outer; }
  } pop{&cursor};
  bool handled = false;
  while (Commander* receiver = cursor.next) {
    cursor.next = receiver->next_;
    handled |= receiver->DoCommand(command, argument) != 0;
  }
  return handled;
}

int CommanderCount() {
  std::lock_guard guard(ListLock());
  int n = 0;
  for (Commander* c = gHead; c; c = c->next_) ++n;
  return n;
}

}  // namespace tova
