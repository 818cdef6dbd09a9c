// Facts about the running process and the disk it works on: its id, the path
// of its own program file, and the free space of a volume.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

uint32_t ProcessId();

// The absolute path of the running program's file ("" when the system cannot
// tell).
std::string ExecutablePath();

// The bytes an ordinary user may still write on the volume that holds `path`
// (any file or folder on it). 64-bit: volumes are far larger than 4 GiB.
// False when the path does not exist or the volume cannot be asked.
bool VolumeFreeBytes(std::string_view path, uint64_t& freeBytes);

}  // namespace platform
