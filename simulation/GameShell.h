#pragma once
// The game shell's switches the live objects consult. The shell implements
// it; until one is installed every switch is off, and tests set their own.

#include <cstdint>

namespace tova {

class iGameShell {
 public:
  virtual ~iGameShell() = default;
  // Placement passes the world's checks (a console switch of the builders).
  virtual bool FreePlacement() const { return false; }
  // Objects whose definition changed since the lot was saved are reset after
  // a load.
  virtual bool ResetChangedDefinitions() const { return false; }
  // Any person of the lot may be selected, not only the house's family.
  virtual bool FreeMode() const { return false; }
  // The game is in live mode (not build or buy mode).
  virtual bool LiveMode() const { return false; }
  // The family's funds, which a purchase on the cursor may not pass (no
  // limit until a shell says).
  virtual int32_t FamilyFunds() const { return INT32_MAX; }
  // Object errors are written to a report file and shown in a dialog
  // ("debug_objects"); off, the object is only reset.
  virtual bool DebugObjects() const { return false; }
};

}  // namespace tova
