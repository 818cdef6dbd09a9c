// Where the update library works: its settings key, the patch server, the
// installation folder and its download folder, file tests, free space,
// versions, and the replacement of files. Free functions; several keep a
// process-wide answer once found (ResetInstallCaches forgets them).
//
// Paths are the disk's: folders end with '/', and a file name is what follows
// the last '/'. Registry and file failures carry the system error number with
// the language string naming what failed; "not found" answers are not errors.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vek {

// The library's own settings key under HKEY_LOCAL_MACHINE.
inline constexpr const char* kVekPatchKey = "Software\\Halvard Works\\Vek Link Service\\VekPatch";

// Download folders tried after "PATCH/": "PATCH0/" up to this one.
inline constexpr int kLastPatchFolderNumber = 99;

// The "PatchServer" value, "host:port" split at its last ':'. False when the
// key or value is missing. A value over 128 bytes, without a ':' or whose port
// is not decimal digits in 1-65535 raises 0x1000000e.
bool GetPatchServer(std::string& host, uint16_t& port);

// The "InstallPath" value of a key with a '/' at its end; none when the key or
// value is missing. The answer for the last key asked is kept.
std::optional<std::string> GetInstallPath(const std::string& key);

// The installation folder of the library's key followed by "PATCH/", made on
// first use; when a file of that name is in the way "PATCH0/", "PATCH1/" and
// so on up to "PATCH99/". Raises 0x10000012 when none can be had.
std::string GetDownloadDir();

// Parts of the host program's own path: 0 the file name, 1 its folder (with a
// '/'), 2 the whole path. None for another kind.
std::optional<std::string> GetHostModulePart(int kind);

// Deletes a copy of the host program left in the download folder, after a
// pause that lets an old copy finish exiting.
void DeleteHostCopy();

// The class folder of a Java installation recorded in the registry: kind 0
// the Netscape one, kind 1 the Microsoft one. False when none is recorded.
bool GetJavaDirectory(int kind, std::string& dir);

// True for an existing file (not a folder).
bool FileExists(const std::string& path);

// Makes every missing folder of the path. False when a part of it exists as a
// file; raises (string 2) when a folder cannot be made.
bool CreateDirectoryPath(std::string path);

// KB missing on the volume of `path` for `neededKB` more (0 when there is
// room). A path shorter than 3 characters raises 0x10000004.
uint32_t GetDiskShortfallKB(const std::string& path, uint32_t neededKB);

// True when both files exist with the same bytes.
bool FilesIdentical(const std::string& a, const std::string& b);

// The MD5 digest of a whole file as 32 lowercase hexadecimal digits; false
// when the file cannot be read.
bool Md5Digest(const std::string& path, std::string& out);

// A 32-bit value of a key; 1033 when the key or value is missing.
uint32_t ReadRegistryDword(const std::string& key, const std::string& value);

// A version text value of a key (at most 16 characters; longer is a read
// failure); "0.0" when the key or value is missing.
std::string GetRegistryVersion(const std::string& key, const std::string& value);

// Program files here carry no version resource: always "0".
std::string GetFileProductVersion(const std::string& path);

// Replacing a file in use needs no restart on this system (a rename replaces
// it at once), so there is nothing to schedule: false with error 120.
bool ReplaceFileAtRestart(const std::string& source, const std::string& target);
// The error number left by the last failed call that sets one (120 above).
uint32_t LastInstallError();

// Forgets every kept answer (server, installation folder, download folder,
// host program, Java folders): at unload, and between tests.
void ResetInstallCaches();

}  // namespace vek
