// Path text in the Windows form the game uses: both '\' and '/' separate
// folders, names compare without regard to letter case, and listings take the
// Win32 wildcards '*' and '?'. Pure string work; nothing here touches the disk.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

inline bool IsSeparator(char c) { return c == '/' || c == '\\'; }

// The path with every '\' turned into '/', the form the disk understands.
std::string ToNativeSeparators(std::string_view path);

// The path split at its separators; empty parts (doubled or trailing
// separators) are dropped. A leading separator is reported through `absolute`.
std::vector<std::string> SplitPathParts(std::string_view path, bool* absolute = nullptr);

// ASCII case folding: the data names are ASCII, and folding bytes above 0x7F
// would depend on the code page.
char FoldCase(char c);
bool EqualsNoCase(std::string_view a, std::string_view b);
int CompareNoCase(std::string_view a, std::string_view b);
std::string ToLowerAscii(std::string_view s);

// Win32 wildcard match, case-insensitive: '*' any run of characters, '?' one
// character. "*.*" and "*" match every name, also names without a dot.
bool MatchWildcard(std::string_view pattern, std::string_view name);

// The folder part of a path (everything before the last separator, without
// it; "" when there is none) and the last part.
std::string_view ParentOf(std::string_view path);
std::string_view LastPartOf(std::string_view path);

// The path made absolute against the working folder, with "." and ".."
// parts folded away and '/' separators; the disk is not consulted.
std::string AbsolutePath(std::string_view path);

}  // namespace platform
