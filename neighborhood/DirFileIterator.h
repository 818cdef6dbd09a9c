// Walks the entries of one folder whose names carry one extension: "*" takes
// every entry, an empty filter the entries without an extension. Letter case
// does not matter; "." and ".." come first, as the folder search of the
// screens always listed them. Paths come back with '/' separators.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

class DirFileIterator {
public:
    // `extension` is at most 4 characters (longer filters are cut).
    DirFileIterator(const std::string& folder, const std::string& extension);

    // Moves to the next entry; once the end is reached it stays there.
    void Next();
    bool AtEnd() const { return mEnd; }
    // The folder followed by the current entry's name; empty at the end.
    std::string GetPath() const;
    void Close();

private:
    std::string mFolder;  // ends in '/'
    std::string mExtension;
    std::vector<std::string> mNames;
    size_t mIndex = 0;
    bool mSearched = false;
    bool mEnd = false;
};
