#pragma once
// What the shell's console commands for people do on the current lot:
// "motives" freezes or frees every person's motives, "autonomy" sets every
// person's autonomy level, "dump_happy" writes the selected person's last
// autonomy decision, "vux_log begin" and "vux_log end" run the activity
// log.

#include <cstdint>

namespace tova {

class ObjectModule;

void SetMotivesFrozen(ObjectModule& module, bool frozen);
void SetAutonomyLevel(ObjectModule& module, int16_t level);
// False without a selected person or when the file could not be written.
bool DumpHappy(ObjectModule& module);
// begin: recording starts; otherwise the log is written (false when the
// file could not be opened: the recording then stays).
bool VuxLog(bool begin);

}  // namespace tova
