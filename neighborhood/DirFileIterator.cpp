#include "neighborhood/DirFileIterator.h"

#include <algorithm>
#include <cctype>

#include "platform/FileSystem.h"

namespace {

std::string LowerText(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool HasExtension(const std::string& name, const std::string& lowerExtension) {
    const size_t dot = name.rfind('.');
    if (lowerExtension.empty()) return dot == std::string::npos;
    return dot != std::string::npos && LowerText(name.substr(dot + 1)) == lowerExtension;
}

}  // namespace

DirFileIterator::DirFileIterator(const std::string& folder, const std::string& extension)
    : mFolder(folder), mExtension(extension.substr(0, 4)) {
    std::replace(mFolder.begin(), mFolder.end(), '\\', '/');
    if (mFolder.empty() || mFolder.back() != '/') mFolder += '/';
    Next();
}

void DirFileIterator::Next() {
    if (mEnd) return;
    if (!mSearched) {
        mSearched = true;
        if (platform::DirectoryExists(mFolder)) {
            // The Win32 patterns "*.*" and "*." both match the folder's own
            // entries.
            if (mExtension == "*" || mExtension.empty()) mNames = {".", ".."};
            const std::string lower = LowerText(mExtension);
            for (const platform::DirectoryEntry& entry : platform::ListDirectory(mFolder, "*"))
                if (lower == "*" || HasExtension(entry.name, lower)) mNames.push_back(entry.name);
        }
        mIndex = 0;
    } else {
        ++mIndex;
    }
    if (mIndex >= mNames.size()) Close();
}

std::string DirFileIterator::GetPath() const { return mEnd ? std::string() : mFolder + mNames[mIndex]; }

void DirFileIterator::Close() {
    mEnd = true;
    mNames.clear();
}
