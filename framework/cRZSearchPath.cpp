#include "framework/cRZSearchPath.h"

#include <algorithm>
#include <cctype>

#include "framework/cDataFileCatalog.h"
#include "platform/FileSystem.h"

namespace {

// A piece of the text is at most 259 characters; longer ones are cut.
constexpr size_t kMaxPiece = 259;

// An empty entry stands for the working folder.
std::string ListingFolder(const cRZString& directory) { return directory.empty() ? "." : std::string(directory); }

}  // namespace

cRZSearchPath::cRZSearchPath(const char* text) {
    std::string s = text ? text : "";
    size_t pos = 0;
    if (!s.empty() && s[0] == ';') {
        mDirectories.emplace_back();
        pos = 1;
        while (pos < s.size() && std::isspace(static_cast<unsigned char>(s[pos]))) ++pos;
    }
    while (pos < s.size()) {
        size_t end = s.find(';', pos);
        std::string piece = s.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
        if (piece.size() > kMaxPiece) piece.resize(kMaxPiece);
        if (!piece.empty()) AddDirectory(cRZString(piece));
        if (end == std::string::npos) break;
        pos = end + 1;
        while (pos < s.size() && std::isspace(static_cast<unsigned char>(s[pos]))) ++pos;
    }
}

cRZString cRZSearchPath::Normalize(const std::string& path) {
    std::string p = path;
    std::replace(p.begin(), p.end(), '/', '\\');
    bool drive = p.size() >= 3 && std::isalpha(static_cast<unsigned char>(p[0])) && p[1] == ':' && p[2] == '\\';
    bool dotted = p.size() >= 2 && p[0] == '.' && p[1] == '\\';
    bool network = p.size() >= 3 && p[0] == '\\' && p[1] == '\\' && std::isalpha(static_cast<unsigned char>(p[2]));
    // On this disk a path from the root ("/home/...") is absolute too.
    bool rooted = !p.empty() && p[0] == '\\';
    if (!drive && !dotted && !network && !rooted) p.insert(0, ".\\");
    if (p.back() != '\\') p.push_back('\\');
    return cRZString(p);
}

void cRZSearchPath::AddDirectory(const cRZString& path) { mDirectories.push_back(Normalize(path)); }

cRZString cRZSearchPath::GetDirectory(int i) const {
    if (i < 0 || i >= GetCount()) return cRZString();
    return mDirectories[static_cast<size_t>(i)];
}

bool cRZSearchPath::AllExist() const {
    for (const cRZString& dir : mDirectories)
        if (!platform::DirectoryExists(ListingFolder(dir))) return false;
    return true;
}

std::string cRZSearchPath::ExtensionOf(const std::string& name) {
    const size_t n = name.size();
    for (size_t length = 3; length >= 1; --length)
        if (n >= length + 1 && name[n - length - 1] == '.') return name.substr(n - length);
    return std::string();
}

int cRZSearchPath::CollectTypes(std::vector<uint32_t>& types) const {
    bool added = false;
    for (const cRZString& dir : mDirectories) {
        for (const platform::DirectoryEntry& entry : platform::ListDirectory(ListingFolder(dir), "*")) {
            if (entry.isDirectory) continue;
            std::string extension = ExtensionOf(entry.name);
            if (extension.empty()) continue;
            uint32_t code = MakeTypeCode(extension.c_str());
            if (std::find(types.begin(), types.end(), code) != types.end()) continue;
            types.push_back(code);
            added = true;
        }
    }
    return added ? 0 : 5;
}
