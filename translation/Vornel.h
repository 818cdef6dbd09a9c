// The translators' token-fill tool.
//
// A template holds every replaceable text as a token, "####NAME####"; a tokens
// file gives each token an english and a foreign text:
//     token=####NAME####  english=####Hello####  foreign=####Bonjour####
// The tool reads both sections, warns about texts missing from one of them or
// left untranslated, replaces every token of the template by its foreign text
// and saves the result. Reports go to one output stream (standard output in
// the program); the exit code tells the outcome. Files are raw bytes: line
// ends and code pages pass through untouched.
#pragma once

#include "translation/TextBuffer.h"

#include <map>
#include <ostream>
#include <string>
#include <string_view>

namespace translation {

// Key ("####" + name + "####") -> text, in byte order of the keys.
using TokenMap = std::map<std::string, std::string>;

enum VornelExit : int {
    kExitOk = 0,
    kExitUsage = 1,
    kExitForeignTokens = 2,
    kExitEnglishTokens = 3,
    kExitCheck = 4,
    kExitTemplate = 5,
    kExitOutput = 6,
    kExitMissingToken = 7,  // a template token without a foreign text
};

inline constexpr std::string_view kProgramName = "Vornel";
inline constexpr std::string_view kMarker = "####";
inline constexpr std::string_view kTokenMarker = "token=####";
inline constexpr std::string_view kEnglishMarker = "english=####";
inline constexpr std::string_view kForeignMarker = "foreign=####";

class Vornel {
public:
    explicit Vornel(std::ostream& out) : mOut(out) {}

    // The whole run for a command line (argv[0] is the program); answers the exit code.
    int Run(int argc, const char* const* argv);

    // Adds one entry per token of the file with its text from `section`
    // (kEnglishMarker or kForeignMarker); false only when the file can't be read.
    bool ReadTokenSection(const std::string& tokensFile, TokenMap& map, std::string_view section);
    // The same on the file's bytes; `tokensFile` only names it in warnings.
    void ParseTokenSection(std::string bytes, TokenMap& map, std::string_view section,
                           const std::string& tokensFile);
    // Prints the warnings about missing and untranslated texts; always true.
    bool CheckUntranslatedStrings(const TokenMap& foreign, const TokenMap& english,
                                  const std::string& tokensFile);
    bool ReadTemplateFile(const std::string& templateFile, TextBuffer& text);
    // Replaces every token; false at the first token without a foreign text.
    bool FillTemplate(TextBuffer templateText, const TokenMap& foreign, std::string& output);
    // Saves the whole output or nothing: an existing file is replaced only
    // once the new one is complete.
    bool WriteOutputFile(const std::string& outputFile, const std::string& output);

private:
    bool ReadWholeFile(const std::string& path, std::string& bytes);
    std::ostream& Say();  // starts a line with the program name

    std::ostream& mOut;
};

}  // namespace translation
