// The settings store that stands in for the Windows registry.
//
// Keys are backslash-separated paths ("Software\Orvel\Ziv Tova") under a root
// such as HKEY_LOCAL_MACHINE; each key holds named values that are texts or
// 32-bit numbers. The callers were written against the Win32 calls, so the
// answers keep their meanings and their Win32 status numbers: opening a missing
// key fails with 2, and so does querying a missing value of an open key; key and
// value names ignore letter case but keep the case they were created with.
//
// Everything lives in one text file, by default $XDG_CONFIG_HOME/tova/registry.txt
// (~/.config/tova/registry.txt without XDG_CONFIG_HOME). It is re-read when another
// process changed it, and every change is written whole through AtomicFile under
// a lock file, so the game, the launcher and the update library can share it.
// A damaged file is refused (status 1009 and a message naming the line), never
// guessed at and never overwritten.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <mutex>
#include <string>
#include <string_view>

namespace platform {

// Win32 status numbers, as the callers report them.
using RegStatus = std::int32_t;
inline constexpr RegStatus kRegSuccess = 0;
inline constexpr RegStatus kRegNotFound = 2;          // missing key or value
inline constexpr RegStatus kRegAccessDenied = 5;      // change through a read-only key
inline constexpr RegStatus kRegInvalidHandle = 6;     // a key that is not open
inline constexpr RegStatus kRegInvalidParameter = 87; // a malformed key path
inline constexpr RegStatus kRegMoreData = 234;        // text longer than the caller's buffer
inline constexpr RegStatus kRegBadFile = 1009;        // the store's file is damaged
inline constexpr RegStatus kRegCantWrite = 1013;      // the store's file could not be saved
inline constexpr RegStatus kRegIoFailed = 1016;       // the store's file could not be read
inline constexpr RegStatus kRegKeyDeleted = 1018;     // an open key vanished from the file
inline constexpr RegStatus kRegUnsupportedType = 1630;// typed query of a value of another type

enum class RegRoot { kClassesRoot, kCurrentUser, kLocalMachine };
enum class RegAccess { kRead, kAll };
// Numbered as REG_SZ and REG_DWORD.
enum class RegType : std::uint32_t { kString = 1, kDword = 4 };

struct RegValue {
    RegType type = RegType::kString;
    std::string text;          // kString: raw bytes of the language's code page
    std::uint32_t number = 0;  // kDword
    bool operator==(const RegValue&) const = default;
};

class Registry;

// An open key. Cheap to copy; it stays usable while its store lives.
class RegKey {
public:
    RegKey() = default;
    bool IsOpen() const { return mStore != nullptr; }
    void Close() { mStore = nullptr; }
    // The key's path as first created, without its root.
    const std::string& Path() const { return mPath; }
    RegRoot Root() const { return mRoot; }

    RegStatus QueryValue(std::string_view name, RegValue& out) const;
    // `bufferBytes` is the caller's buffer with room for the terminating zero: a
    // longer text answers kRegMoreData and leaves `out` alone. 0 = no limit.
    RegStatus QueryString(std::string_view name, std::string& out, std::size_t bufferBytes = 0) const;
    RegStatus QueryDword(std::string_view name, std::uint32_t& out) const;
    RegStatus SetString(std::string_view name, std::string_view text);
    RegStatus SetDword(std::string_view name, std::uint32_t number);
    RegStatus DeleteValue(std::string_view name);

private:
    friend class Registry;
    RegStatus Set(std::string_view name, const RegValue& value);
    Registry* mStore = nullptr;
    RegRoot mRoot = RegRoot::kLocalMachine;
    RegAccess mAccess = RegAccess::kRead;
    std::string mPath;
};

// The in-memory tree and its file format, apart from any file.
class RegistryData {
public:
    struct Key {
        RegRoot root = RegRoot::kLocalMachine;
        std::string path;  // as created
        std::map<std::string, std::pair<std::string, RegValue>> values;  // folded name -> (name, value)
    };

    RegistryData();

    // Strict: anything that is not exactly the format fails with a message
    // naming the line; `out` is then left empty.
    static bool Parse(std::string_view text, RegistryData& out, std::string& error);
    std::string Format() const;

    // Key paths are checked and split here; false for an empty component.
    static bool NormalizePath(std::string_view path, std::string& normalized);
    static std::string Fold(std::string_view name);

    Key* Find(RegRoot root, std::string_view normalizedPath);
    // Creates the key and every key above it; `created` tells whether it was new.
    Key& Create(RegRoot root, std::string_view normalizedPath, bool* created = nullptr);
    bool operator==(const RegistryData&) const;

private:
    // folded "ROOT\path" -> key
    std::map<std::string, Key> mKeys;
};

class Registry {
public:
    explicit Registry(std::filesystem::path file);
    Registry(const Registry&) = delete;
    Registry& operator=(const Registry&) = delete;

    // $TOVA_REGISTRY when set, else $XDG_CONFIG_HOME/tova/registry.txt, or
    // ~/.config/tova/registry.txt.
    static std::filesystem::path DefaultFile();
    // The process-wide store the game's code uses; tests point it elsewhere
    // with SetDefaultFile before first use (or at any time; open keys of the
    // previous store must not be used afterwards).
    static Registry& Default();
    static void SetDefaultFile(const std::filesystem::path& file);

    const std::filesystem::path& File() const { return mFile; }

    RegStatus OpenKey(RegRoot root, std::string_view path, RegAccess access, RegKey& out);
    RegStatus CreateKey(RegRoot root, std::string_view path, RegKey& out, bool* created = nullptr);

    // The message of the last failure (damaged file, failed save), for reports.
    std::string LastError() const;

private:
    friend class RegKey;
    template <class Fn> RegStatus Read(const RegKey& key, Fn&& fn);
    template <class Fn> RegStatus Change(const RegKey& key, Fn&& fn);
    // Re-reads the file when it changed since the last read; caller holds mMutex.
    RegStatus Refresh();
    RegStatus Save();
    RegStatus Damaged(std::string message);

    std::filesystem::path mFile;
    mutable std::mutex mMutex;
    RegistryData mData;
    std::string mLastError;
    bool mLoaded = false;
    std::string mStamp;  // identity of the file as last read
};

}  // namespace platform
