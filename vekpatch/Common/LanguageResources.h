// The update library's message texts, in the installation's language.
//
// A language is a text file "vekpXXXX.txt" (the language id as four lowercase
// hexadecimal digits) beside the library: one string a line, "ID<TAB>TEXT",
// with the escapes \\ \t \n in TEXT; empty lines and lines starting with '#'
// are skipped. Every id from 1 to 93 must be present and non-empty, or the
// file is not used. Texts carry "%s" and "%d" placeholders that ReplaceToken
// fills.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace vek {

inline constexpr int kFirstLanguageString = 1;
inline constexpr int kLastLanguageString = 93;

// Parses a language file. False, with a message naming the line, on any
// malformed line, a doubled id, or a missing or empty id of 1-93.
bool ParseLanguageFile(std::string_view bytes, std::map<int, std::string>& strings, std::string& error);

// Loads the language of the library's key (its "Language" value, 1033 when
// missing) from the installation folder or its download folder, trying the
// exact language, then any sub-language of the same primary language, then
// 0409. With `path` given, loads that file alone. A second call while loaded
// only counts one more user. False when nothing could be loaded.
bool LoadLanguageResources(const char* path = nullptr);
// The text of a string id; "" when no language is loaded or the id is unknown.
std::string LoadLanguageString(int id);
// Drops one user; the last one unloads the texts.
void FreeLanguageResources();

// The loaded file's language id text ("0409") and path, for reports.
std::string LoadedLanguageId();
std::string LoadedLanguagePath();

// Fills the placeholders of `text` in one pass: each "%s" takes the next of
// `texts`, each "%d" the next of `numbers` in decimal. A placeholder without a
// value stays as it is; a value is never scanned for placeholders again, so a
// file named "a%sb" cannot swallow the next value.
std::string ReplaceToken(std::string_view text, const std::vector<std::string>& texts,
                         const std::vector<int64_t>& numbers = {});

// Language string `id` with its placeholders filled.
std::string LanguageMessage(int id, const std::vector<std::string>& texts = {},
                            const std::vector<int64_t>& numbers = {});

}  // namespace vek
