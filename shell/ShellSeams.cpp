#include "shell/iLotView.h"
#include "shell/iShellSound.h"

namespace {
tova::iShellSound* gShellSound = nullptr;
shell::iLotView* gShellLotView = nullptr;
}  // namespace

tova::iShellSound* tova::GetShellSound() { return gShellSound; }
void tova::SetShellSound(iShellSound* sound) { gShellSound = sound; }
shell::iLotView* shell::GetLotView() { return gShellLotView; }
void shell::SetLotView(iLotView* view) { gShellLotView = view; }
