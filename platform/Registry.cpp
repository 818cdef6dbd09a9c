#include "platform/Registry.h"

#include "platform/AtomicFile.h"
#include "platform/File.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <set>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

// The file format, one item per line ("\n" or "\r\n"):
//   Tova registry 1                               first line, exactly
//   ; comment                                     ignored, as are blank lines
//   [HKEY_LOCAL_MACHINE\Software\Orvel\Ziv Tova]  a key; its values follow
//   "TOVA_LANGUAGE"=sz:"USEnglish"                a text value
//   "Language"=dword:00000409                     a 32-bit value, 8 hex digits
// Quoted texts hold printable ASCII; '"', '\' and every other byte are written
// \", \\ and \xHH. Key names are printable ASCII without '\'.

namespace {

constexpr std::string_view kHeader = "Tova registry 1";
constexpr std::size_t kMaxKeyName = 255;      // Win32 limits
constexpr std::size_t kMaxValueName = 16383;

struct RootName {
    RegRoot root;
    std::string_view name;
};
constexpr RootName kRoots[] = {
    {RegRoot::kClassesRoot, "HKEY_CLASSES_ROOT"},
    {RegRoot::kCurrentUser, "HKEY_CURRENT_USER"},
    {RegRoot::kLocalMachine, "HKEY_LOCAL_MACHINE"},
};

std::string_view NameOf(RegRoot root) {
    for (const RootName& r : kRoots)
        if (r.root == root) return r.name;
    return "HKEY_LOCAL_MACHINE";
}

std::string MapKey(RegRoot root, std::string_view normalizedPath) {
    std::string key(NameOf(root));
    if (!normalizedPath.empty()) {
        key += '\\';
        key += normalizedPath;
    }
    return RegistryData::Fold(key);
}

bool IsPrintable(unsigned char c) { return c >= 0x20 && c < 0x7f; }

void AppendQuoted(std::string& out, std::string_view text) {
    static const char kHex[] = "0123456789ABCDEF";
    out += '"';
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (IsPrintable(c)) {
            out += static_cast<char>(c);
        } else {
            out += "\\x";
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    out += '"';
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Reads a quoted text at the start of `rest` and advances past it.
bool ReadQuoted(std::string_view& rest, std::string& out, std::string& why) {
    out.clear();
    if (rest.empty() || rest[0] != '"') {
        why = "expected '\"'";
        return false;
    }
    std::size_t i = 1;
    while (i < rest.size()) {
        unsigned char c = static_cast<unsigned char>(rest[i]);
        if (c == '"') {
            rest.remove_prefix(i + 1);
            return true;
        }
        if (c == '\\') {
            if (i + 1 >= rest.size()) break;
            char e = rest[i + 1];
            if (e == '"' || e == '\\') {
                out += e;
                i += 2;
            } else if (e == 'x' && i + 3 < rest.size() && HexDigit(rest[i + 2]) >= 0 &&
                       HexDigit(rest[i + 3]) >= 0) {
                out += static_cast<char>(HexDigit(rest[i + 2]) * 16 + HexDigit(rest[i + 3]));
                i += 4;
            } else {
                why = "bad escape in quoted text";
                return false;
            }
        } else if (IsPrintable(c)) {
            out += static_cast<char>(c);
            ++i;
        } else {
            why = "unescaped control byte in quoted text";
            return false;
        }
    }
    why = "unterminated quoted text";
    return false;
}

bool Consume(std::string_view& rest, std::string_view prefix) {
    if (rest.substr(0, prefix.size()) != prefix) return false;
    rest.remove_prefix(prefix.size());
    return true;
}

}  // namespace

// ---------------------------------------------------------------- RegistryData

RegistryData::RegistryData() {
    // The roots always exist and open with an empty path.
    for (const RootName& r : kRoots) Create(r.root, "");
}

std::string RegistryData::Fold(std::string_view name) {
    std::string folded(name);
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return folded;
}

bool RegistryData::NormalizePath(std::string_view path, std::string& normalized) {
    normalized.clear();
    // Win32 forgives one trailing separator.
    if (!path.empty() && path.back() == '\\') path.remove_suffix(1);
    if (path.empty()) return true;
    std::size_t start = 0;
    while (true) {
        std::size_t end = path.find('\\', start);
        std::string_view part = path.substr(start, end == std::string_view::npos ? path.npos : end - start);
        if (part.empty() || part.size() > kMaxKeyName) return false;
        for (unsigned char c : part)
            if (!IsPrintable(c)) return false;
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    normalized = path;
    return true;
}

RegistryData::Key* RegistryData::Find(RegRoot root, std::string_view normalizedPath) {
    auto it = mKeys.find(MapKey(root, normalizedPath));
    return it == mKeys.end() ? nullptr : &it->second;
}

RegistryData::Key& RegistryData::Create(RegRoot root, std::string_view normalizedPath, bool* created) {
    if (created) *created = false;
    // Every key above exists too, as in the real thing.
    std::size_t pos = 0;
    while (true) {
        std::size_t end = normalizedPath.find('\\', pos);
        std::string_view prefix = normalizedPath.substr(0, end);
        auto [it, isNew] = mKeys.try_emplace(MapKey(root, prefix));
        if (isNew) {
            it->second.root = root;
            it->second.path = prefix;
        }
        if (end == std::string_view::npos) {
            if (created) *created = isNew;
            return it->second;
        }
        pos = end + 1;
    }
}

bool RegistryData::operator==(const RegistryData& other) const {
    if (mKeys.size() != other.mKeys.size()) return false;
    for (auto a = mKeys.begin(), b = other.mKeys.begin(); a != mKeys.end(); ++a, ++b) {
        if (a->first != b->first || a->second.root != b->second.root || a->second.path != b->second.path ||
            a->second.values != b->second.values)
            return false;
    }
    return true;
}

std::string RegistryData::Format() const {
    std::string out(kHeader);
    out += '\n';
    for (const auto& [folded, key] : mKeys) {
        out += "\n[";
        out += NameOf(key.root);
        if (!key.path.empty()) {
            out += '\\';
            out += key.path;
        }
        out += "]\n";
        for (const auto& [foldedName, entry] : key.values) {
            AppendQuoted(out, entry.first);
            const RegValue& v = entry.second;
            if (v.type == RegType::kDword) {
                char hex[9];
                static const char kHex[] = "0123456789abcdef";
                for (int i = 0; i < 8; ++i) hex[i] = kHex[(v.number >> (28 - 4 * i)) & 15];
                hex[8] = 0;
                out += "=dword:";
                out += hex;
            } else {
                out += "=sz:";
                AppendQuoted(out, v.text);
            }
            out += '\n';
        }
    }
    return out;
}

bool RegistryData::Parse(std::string_view text, RegistryData& out, std::string& error) {
    out = RegistryData();
    RegistryData data;
    std::set<std::string> listed;
    Key* current = nullptr;
    std::size_t lineNo = 0;
    auto fail = [&](const std::string& why) {
        error = "line " + std::to_string(lineNo) + ": " + why;
        return false;
    };
    while (!text.empty()) {
        ++lineNo;
        std::size_t nl = text.find('\n');
        if (nl == std::string_view::npos) return fail("missing line end");
        std::string_view line = text.substr(0, nl);
        text.remove_prefix(nl + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

        if (lineNo == 1) {
            if (line != kHeader) return fail("not a Tova registry file (expected \"" + std::string(kHeader) + "\")");
            continue;
        }
        if (line.empty() || line[0] == ';') continue;

        if (line[0] == '[') {
            if (line.back() != ']' || line.size() < 2) return fail("key line without closing ']'");
            std::string_view full = line.substr(1, line.size() - 2);
            std::string_view rootName = full.substr(0, full.find('\\'));
            const RootName* root = nullptr;
            for (const RootName& r : kRoots)
                if (r.name == rootName) root = &r;
            if (!root) return fail("unknown root \"" + std::string(rootName) + "\"");
            std::string path;
            std::string_view rest = full.substr(rootName.size());
            if (!rest.empty()) {
                rest.remove_prefix(1);  // the separator after the root
                if (rest.empty() || !NormalizePath(rest, path) || path.size() != rest.size())
                    return fail("bad key path");
            }
            if (!listed.insert(MapKey(root->root, path)).second) return fail("key listed twice");
            current = &data.Create(root->root, path);
            current->path = path;  // a key implied by an earlier line takes its own line's spelling
            continue;
        }

        if (!current) return fail("value before any key");
        std::string_view rest = line;
        std::string name, why;
        if (!ReadQuoted(rest, name, why)) return fail(why);
        if (name.size() > kMaxValueName) return fail("value name too long");
        RegValue value;
        if (Consume(rest, "=sz:")) {
            value.type = RegType::kString;
            if (!ReadQuoted(rest, value.text, why)) return fail(why);
        } else if (Consume(rest, "=dword:")) {
            value.type = RegType::kDword;
            if (rest.size() < 8) return fail("dword needs 8 hex digits");
            for (int i = 0; i < 8; ++i) {
                int d = HexDigit(rest[static_cast<std::size_t>(i)]);
                if (d < 0) return fail("dword needs 8 hex digits");
                value.number = (value.number << 4) | static_cast<std::uint32_t>(d);
            }
            rest.remove_prefix(8);
        } else {
            return fail("expected =sz: or =dword:");
        }
        if (!rest.empty()) return fail("unexpected text after the value");
        auto [it, isNew] = current->values.try_emplace(Fold(name), name, value);
        if (!isNew) return fail("value \"" + name + "\" listed twice");
    }
    if (lineNo == 0) {
        error = "line 1: empty file (expected \"" + std::string(kHeader) + "\")";
        return false;
    }
    out = std::move(data);
    return true;
}

// ---------------------------------------------------------------- Registry

namespace {
std::mutex gDefaultMutex;
std::unique_ptr<Registry> gDefault;

// The identity of the file as read: a save renames a new file in (a new
// inode), and an edit in place changes its size or time.
std::string StampOf(const struct stat& st) {
    return std::to_string(st.st_dev) + ':' + std::to_string(st.st_ino) + ':' + std::to_string(st.st_size) + ':' +
           std::to_string(st.st_mtim.tv_sec) + '.' + std::to_string(st.st_mtim.tv_nsec);
}
}  // namespace

Registry::Registry(std::filesystem::path file) : mFile(std::move(file)) {}

std::filesystem::path Registry::DefaultFile() {
    // A host program or a test may hand the libraries a store of their own.
    if (const char* own = std::getenv("TOVA_REGISTRY"); own && own[0]) return own;
    std::filesystem::path base;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    // Relative XDG paths are to be ignored.
    if (xdg && xdg[0] == '/') base = xdg;
    else if (home && home[0]) base = std::filesystem::path(home) / ".config";
    else base = ".config";
    return base / "tova" / "registry.txt";
}

Registry& Registry::Default() {
    std::lock_guard lock(gDefaultMutex);
    if (!gDefault) gDefault = std::make_unique<Registry>(DefaultFile());
    return *gDefault;
}

void Registry::SetDefaultFile(const std::filesystem::path& file) {
    std::lock_guard lock(gDefaultMutex);
    gDefault = std::make_unique<Registry>(file);
}

std::string Registry::LastError() const {
    std::lock_guard lock(mMutex);
    return mLastError;
}

RegStatus Registry::Damaged(std::string message) {
    mLastError = "registry file \"" + mFile.string() + "\": " + message;
    mLoaded = false;
    mStamp.clear();
    mData = RegistryData();
    return kRegBadFile;
}

RegStatus Registry::Refresh() {
    struct stat st {};
    if (::stat(mFile.c_str(), &st) != 0) {
        if (errno != ENOENT && errno != ENOTDIR) {
            mLastError = "registry file \"" + mFile.string() + "\": " + std::strerror(errno);
            return kRegIoFailed;
        }
        // No file yet: an empty store.
        mData = RegistryData();
        mStamp = "none";
        mLoaded = true;
        return kRegSuccess;
    }
    std::string stamp = StampOf(st);
    if (mLoaded && stamp == mStamp) return kRegSuccess;

    int fd = ::open(mFile.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        mLastError = "registry file \"" + mFile.string() + "\": " + std::strerror(errno);
        return kRegIoFailed;
    }
    std::string text;
    const bool ok = ReadToEnd(fd, text);
    const int err = errno;
    ::close(fd);
    if (!ok) {
        mLastError = "registry file \"" + mFile.string() + "\": " + std::strerror(err);
        return kRegIoFailed;
    }

    std::string why;
    RegistryData data;
    if (!RegistryData::Parse(text, data, why)) return Damaged(why);
    mData = std::move(data);
    mStamp = std::move(stamp);
    mLoaded = true;
    return kRegSuccess;
}

RegStatus Registry::Save() {
    std::string error;
    if (!SaveFileAtomically(mFile, mData.Format(), &error)) {
        mLastError = error;
        return kRegCantWrite;
    }
    return kRegSuccess;
}

RegStatus Registry::OpenKey(RegRoot root, std::string_view path, RegAccess access, RegKey& out) {
    out.Close();
    std::string normalized;
    if (!RegistryData::NormalizePath(path, normalized)) return kRegInvalidParameter;
    std::lock_guard lock(mMutex);
    if (RegStatus s = Refresh(); s != kRegSuccess) return s;
    RegistryData::Key* key = mData.Find(root, normalized);
    if (!key) return kRegNotFound;
    out.mStore = this;
    out.mRoot = root;
    out.mAccess = access;
    out.mPath = key->path;
    return kRegSuccess;
}

RegStatus Registry::CreateKey(RegRoot root, std::string_view path, RegKey& out, bool* created) {
    out.Close();
    if (created) *created = false;
    std::string normalized;
    if (!RegistryData::NormalizePath(path, normalized)) return kRegInvalidParameter;
    RegKey handle;
    handle.mStore = this;
    handle.mRoot = root;
    handle.mAccess = RegAccess::kAll;
    bool isNew = false;
    RegStatus s = Change(handle, [&](RegistryData& data) {
        handle.mPath = data.Create(root, normalized, &isNew).path;
        return kRegSuccess;
    });
    if (s != kRegSuccess) return s;
    if (created) *created = isNew;
    out = handle;
    return kRegSuccess;
}

template <class Fn>
RegStatus Registry::Read(const RegKey& key, Fn&& fn) {
    std::lock_guard lock(mMutex);
    if (RegStatus s = Refresh(); s != kRegSuccess) return s;
    RegistryData::Key* k = mData.Find(key.mRoot, key.mPath);
    if (!k) return kRegKeyDeleted;
    return fn(*k);
}

// Changes run under the lock file, on the file's latest content, and reach
// memory only when the save succeeded.
template <class Fn>
RegStatus Registry::Change(const RegKey& key, Fn&& fn) {
    if (key.mAccess != RegAccess::kAll) return kRegAccessDenied;
    std::lock_guard lock(mMutex);
    std::error_code ec;
    if (mFile.has_parent_path()) std::filesystem::create_directories(mFile.parent_path(), ec);
    std::filesystem::path lockPath = mFile;
    lockPath += ".lock";
    int lockFd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (lockFd < 0) {
        mLastError = "registry lock \"" + lockPath.string() + "\": " + std::strerror(errno);
        return kRegCantWrite;
    }
    while (::flock(lockFd, LOCK_EX) != 0 && errno == EINTR) {
    }
    RegStatus s = Refresh();
    if (s == kRegSuccess) {
        RegistryData before = mData;
        s = fn(mData);
        if (s == kRegSuccess && !(before == mData)) {
            s = Save();
            if (s == kRegSuccess) {
                // Memory already holds what was saved: take the new file's
                // identity without reading it back.
                struct stat st {};
                mLoaded = ::stat(mFile.c_str(), &st) == 0;
                mStamp = mLoaded ? StampOf(st) : std::string();
            } else {
                mData = std::move(before);
            }
        }
    }
    ::close(lockFd);  // releases the lock
    return s;
}

// ---------------------------------------------------------------- RegKey

namespace {
bool ValidValueName(std::string_view name) { return name.size() <= kMaxValueName; }
}  // namespace

RegStatus RegKey::QueryValue(std::string_view name, RegValue& out) const {
    if (!mStore) return kRegInvalidHandle;
    return mStore->Read(*this, [&](RegistryData::Key& key) {
        auto it = key.values.find(RegistryData::Fold(name));
        if (it == key.values.end()) return kRegNotFound;
        out = it->second.second;
        return kRegSuccess;
    });
}

RegStatus RegKey::QueryString(std::string_view name, std::string& out, std::size_t bufferBytes) const {
    RegValue value;
    RegStatus s = QueryValue(name, value);
    if (s != kRegSuccess) return s;
    if (value.type != RegType::kString) return kRegUnsupportedType;
    if (bufferBytes != 0 && value.text.size() + 1 > bufferBytes) return kRegMoreData;
    out = std::move(value.text);
    return kRegSuccess;
}

RegStatus RegKey::QueryDword(std::string_view name, std::uint32_t& out) const {
    RegValue value;
    RegStatus s = QueryValue(name, value);
    if (s != kRegSuccess) return s;
    if (value.type != RegType::kDword) return kRegUnsupportedType;
    out = value.number;
    return kRegSuccess;
}

RegStatus RegKey::SetString(std::string_view name, std::string_view text) {
    RegValue value;
    value.type = RegType::kString;
    value.text = text;
    return Set(name, value);
}

RegStatus RegKey::SetDword(std::string_view name, std::uint32_t number) {
    RegValue value;
    value.type = RegType::kDword;
    value.number = number;
    return Set(name, value);
}

RegStatus RegKey::Set(std::string_view name, const RegValue& value) {
    if (!mStore) return kRegInvalidHandle;
    if (!ValidValueName(name)) return kRegInvalidParameter;
    return mStore->Change(*this, [&](RegistryData& data) {
        RegistryData::Key* key = data.Find(mRoot, mPath);
        if (!key) return kRegKeyDeleted;
        auto [it, isNew] = key->values.try_emplace(RegistryData::Fold(name), std::string(name), value);
        if (!isNew) it->second.second = value;  // keeps the name's first spelling
        return kRegSuccess;
    });
}

RegStatus RegKey::DeleteValue(std::string_view name) {
    if (!mStore) return kRegInvalidHandle;
    return mStore->Change(*this, [&](RegistryData& data) {
        RegistryData::Key* key = data.Find(mRoot, mPath);
        if (!key) return kRegKeyDeleted;
        return key->values.erase(RegistryData::Fold(name)) ? kRegSuccess : kRegNotFound;
    });
}

}  // namespace platform
