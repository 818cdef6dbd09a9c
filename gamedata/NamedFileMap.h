// Shared open files counted by name: the object catalogue's file cache. The
// key is the file's whole path, with '\' and '/' alike and letter case
// ignored, so two files of the same name in different folders stay apart.
#pragma once

#include <map>
#include <string>

template <typename File>
class NamedFileMap {
public:
    // The file registered under the path, or null.
    File* Find(const std::string& path) const {
        auto it = mFiles.find(Key(path));
        return it == mFiles.end() ? nullptr : it->second.file;
    }
    // Registers the file with count 1, or counts it once more.
    void AddRef(const std::string& path, File* file) {
        Entry& entry = mFiles[Key(path)];
        if (entry.file == file) {
            ++entry.count;
        } else {
            entry.file = file;
            entry.count = 1;
        }
    }
    // Counts the file down; at zero forgets it and answers true (the caller
    // then closes the file). False otherwise and for an unknown file.
    bool Release(File* file) {
        for (auto it = mFiles.begin(); it != mFiles.end(); ++it) {
            if (it->second.file != file) continue;
            if (--it->second.count > 0) return false;
            mFiles.erase(it);
            return true;
        }
        return false;
    }
    size_t Count() const { return mFiles.size(); }

    static std::string Key(const std::string& path) {
        std::string key = path;
        for (char& c : key) {
            if (c == '\\') c = '/';
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        }
        return key;
    }

private:
    struct Entry {
        File* file = nullptr;
        int count = 0;
    };
    std::map<std::string, Entry> mFiles;
};
