// The binary-patch engine in place of the outside one the update library was
// built against: our own patch files, applied to an installation folder.
//
// A patch file names its targets and, for each, the zstd frame that turns the
// old file into the new one with the old file as its dictionary ("patch
// from"), so only the differences travel:
//
//   "VKPATCH1"                    8 bytes
//   target count                  u32 little-endian
//   per target:
//     name length, name           u16, bytes (a plain file name: no folders)
//     old size, new size          u64, u64
//     frame length, frame         u32, bytes
//
// Every length is checked against the bytes there are; a bad file is refused
// with a message, never half read.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct PatchTarget {
  std::string name;
  uint64_t oldSize = 0;
  uint64_t newSize = 0;
  std::string frame;
};

// True for a name that stays inside its folder: not empty, not "." or "..",
// no separators, ':', '"', ".." or control bytes.
bool IsPlainPatchName(std::string_view name);

std::string WritePatchFile(const std::vector<PatchTarget>& targets);
bool ReadPatchFile(std::string_view bytes, std::vector<PatchTarget>& targets, std::string& error);

// The frame turning `oldBytes` into `newBytes`.
bool MakePatchFrame(std::string_view oldBytes, std::string_view newBytes, std::string& frame, std::string& error);
// The new bytes of a target from its old bytes; refuses a target whose new
// size is above `maxOutput` or disagrees with its frame.
bool ApplyPatchFrame(std::string_view oldBytes, const PatchTarget& target, std::string& newBytes,
                     std::string& error, uint64_t maxOutput = uint64_t(1) << 31);

// The engine's progress callback: ids 6 (data: uint32_t* number of targets),
// 7 (the target's name), 5 (uint16_t* progress, 32768 = all), 8 (a target is
// made), 4 (a message, on failure).
using PatchCallback = void* (*)(int32_t id, void* data);

// Applies the patch file to the folder, as the command line
// "\"PATCH\" \"FOLDER\" " names them. Each new file is made beside its target
// and all are renamed over their targets only when every one was made, so a
// failure changes nothing. 0 on success.
int32_t ApplyPatchCommand(const char* commandLine, PatchCallback callback);

}  // namespace platform
