#pragma once
// A request of a live object to ask the player something, queued on the
// object module until it is finished. The dialog code fills and shows it;
// the module only walks the queue once a tick: a new request (state 0) is
// shown, a finished one (state 5) is dropped, the rest wait.

#include <cstdint>

namespace tova {

class cXObject;

class ObjectDialogRecord {
 public:
  enum : int32_t { kStateNew = 0, kStateFinished = 5 };

  explicit ObjectDialogRecord(cXObject* asker) : asker_(asker) {}
  virtual ~ObjectDialogRecord() = default;

  cXObject* GetAsker() const { return asker_; }
  int32_t GetState() const { return state_; }
  void SetState(int32_t state) { state_ = state; }
  // Puts the dialog on screen; it moves the record out of state 0.
  virtual void Show() { state_ = 1; }
  // Takes a shown dialog down and finishes the record.
  virtual void Close() { state_ = kStateFinished; }

 private:
  cXObject* asker_;
  int32_t state_ = kStateNew;
};

}  // namespace tova
