// Files and folders with the Windows meanings the game relies on, on a
// case-sensitive Linux disk:
//  - '\' and '/' both separate folders;
//  - names are found whatever their letter case ("GAMEDATA\objects\CHAIR.IFF"
//    opens GameData/Objects/chair.iff); each folder's names are cached and the
//    cache is dropped when the folder's change time moves or when we create,
//    delete or move something in it;
//  - a move never replaces an existing file, a copy can refuse to, and the
//    read-only attribute blocks writing and deleting even for root;
//  - listings take Win32 wildcards and never report "." or "..".
// Open files are in File.h; text-mode reading and writing in TextFile.h.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The path as it exists on disk: every part that exists under some letter
// case is replaced by its on-disk spelling; parts that do not exist (a file
// about to be created) are kept as given. Separators become '/'.
std::string ResolvePath(std::string_view path);

// Forgets every cached folder (tests; after outside changes that must be seen
// at once).
void ForgetCachedFolders();

struct FileStatus {
  bool isDirectory = false;
  bool readOnly = false;
  uint64_t size = 0;
  int64_t modifiedNs = 0;  // last change of the contents, ns since 1970
  // Which file this is, whatever path or link led to it: folder walks visit
  // each real folder once by these.
  uint64_t device = 0;
  uint64_t inode = 0;
};

std::optional<FileStatus> GetFileStatus(std::string_view path);

// True only for an existing regular file (a folder is not a file).
bool FileExists(std::string_view path);
bool DirectoryExists(std::string_view path);

// Creates one folder; fails when it exists or its parent does not.
bool CreateDirectory(std::string_view path);
// Creates the folder and any missing parents; true when it exists afterwards.
bool CreateDirectories(std::string_view path);
// Removes an empty folder.
bool RemoveDirectory(std::string_view path);

// Deletes a regular file; fails on read-only files, as Windows does.
bool DeleteFile(std::string_view path);

// Moves or renames a file or folder; fails, leaving both untouched, when the
// target exists. A change of letter case only is allowed.
bool MoveFile(std::string_view from, std::string_view to);

// Copies a regular file with its read-only attribute. With failIfExists an
// existing target is left alone and the copy fails; without, the target is
// replaced unless it is read-only.
bool CopyFile(std::string_view from, std::string_view to, bool failIfExists);

// The read-only attribute: all write permission bits clear.
bool SetReadOnly(std::string_view path, bool readOnly);
bool IsReadOnly(std::string_view path);
// There is no hidden attribute on Linux: true when the path exists.
bool SetHidden(std::string_view path, bool hidden);

struct DirectoryEntry {
  std::string name;
  bool isDirectory = false;
  bool readOnly = false;
  uint64_t size = 0;
};

// The entries of a folder whose names match a Win32 wildcard
// (case-insensitive), sorted by name without regard to case; "." and ".."
// never appear. An empty list when the folder does not exist.
std::vector<DirectoryEntry> ListDirectory(std::string_view folder, std::string_view pattern = "*");

// FindFirstFile form: the last part of the path is the pattern
// ("GameData\\Objects\\*.iff").
std::vector<DirectoryEntry> FindFiles(std::string_view patternPath);

// The working folder, with '/' separators.
std::string CurrentDirectory();
bool SetCurrentDirectory(std::string_view path);

// Tells the name cache that a folder's contents changed (used by File when it
// creates a file).
void NoteFolderChanged(std::string_view resolvedPath);

}  // namespace platform
