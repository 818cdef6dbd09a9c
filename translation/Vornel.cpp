#include "translation/Vornel.h"

#include "platform/AtomicFile.h"
#include "platform/File.h"
#include "platform/FileSystem.h"

namespace translation {

std::ostream& Vornel::Say() { return mOut << kProgramName << ": "; }

int Vornel::Run(int argc, const char* const* argv) {
    if (argc != 4) {
        mOut << "\nUsage: " << kProgramName << " RAW_TEMPLATE_FILE  TOKENS_FILE  OUTPUT_FILE\n";
        return kExitUsage;
    }
    const std::string templateFile = argv[1];
    const std::string tokensFile = argv[2];
    const std::string outputFile = argv[3];

    TokenMap foreign, english;
    if (!ReadTokenSection(tokensFile, foreign, kForeignMarker)) {
        Say() << "Error reading foreign Tokens\n";
        return kExitForeignTokens;
    }
    if (!ReadTokenSection(tokensFile, english, kEnglishMarker)) {
        Say() << "Error reading english Tokens\n";
        return kExitEnglishTokens;
    }
    if (!CheckUntranslatedStrings(foreign, english, tokensFile)) {
        Say() << "Error checking for untranslated strings\n";
        return kExitCheck;
    }
    TextBuffer templateText;
    if (!ReadTemplateFile(templateFile, templateText)) {
        Say() << "Error reading Template\n";
        return kExitTemplate;
    }
    Say() << "Inserting " << tokensFile << " into " << templateFile << ".  Creating " << outputFile << ".\n";

    std::string output;
    if (!FillTemplate(std::move(templateText), foreign, output)) return kExitMissingToken;
    if (!WriteOutputFile(outputFile, output)) {
        Say() << "Error writing output file " << outputFile << "\n";
        return kExitOutput;
    }
    return kExitOk;
}

bool Vornel::ReadWholeFile(const std::string& path, std::string& bytes) {
    bytes.clear();
    std::optional<platform::FileStatus> status = platform::GetFileStatus(path);
    if (!status) {
        Say() << "Couldn't find file " << path << "\n";
        return false;
    }
    if (status->isDirectory) {
        Say() << "Couldn't read " << path << ", it is a folder\n";
        return false;
    }
    platform::File file;
    int64_t size = -1;
    if (file.Open(path, platform::File::kRead, platform::File::Disposition::kOpenExisting)) size = file.Size();
    if (size >= 0) {
        bytes.resize(static_cast<std::size_t>(size));
        if (file.Read(bytes.data(), bytes.size()) == size) return true;
    }
    bytes.clear();
    Say() << "Couldn't read " << path << "\n";
    return false;
}

bool Vornel::ReadTokenSection(const std::string& tokensFile, TokenMap& map, std::string_view section) {
    std::string bytes;
    if (!ReadWholeFile(tokensFile, bytes)) return false;
    ParseTokenSection(std::move(bytes), map, section, tokensFile);
    return true;
}

void Vornel::ParseTokenSection(std::string bytes, TokenMap& map, std::string_view section,
                               const std::string& tokensFile) {
    TextBuffer text(std::move(bytes));
    std::string skipped, name, value;
    bool sectionGone = false;
    do {
        // No entry left: stop, rather than read stray text as a token.
        if (!text.CutBeforeMarker(kTokenMarker, skipped)) break;
        text.CutBeforeMarker(kMarker, name);
        if (name.empty()) break;
        const std::string key = std::string(kMarker) + name + std::string(kMarker);

        // An entry without this section of its own takes the next entry's text
        // (the first such text after the name belongs to it); say so.
        const std::size_t sectionAt = sectionGone ? std::string_view::npos : text.Bytes().find(section);
        if (sectionAt == std::string_view::npos) {
            sectionGone = true;  // none further on either: no need to search again
            Say() << "Warning the token \"" << key << "\" has no " << section << " text - in " << tokensFile
                  << "\n";
            continue;
        }
        if (text.Bytes().find(kTokenMarker) < sectionAt) {
            Say() << "Warning the token \"" << key << "\" has no " << section
                  << " text of its own, the next token's text is used - in " << tokensFile << "\n";
        }
        text.CutBeforeMarker(section, skipped);
        text.CutBeforeMarker(kMarker, value);
        map[key] = value;  // a name given twice: the later text wins
        mOut << "mapping:" << key << " to " << value << "\n";
    } while (text.Contains(kTokenMarker));
}

bool Vornel::CheckUntranslatedStrings(const TokenMap& foreign, const TokenMap& english,
                                      const std::string& tokensFile) {
    if (foreign.size() != english.size()) {
        Say() << "Warning the number of english strings(" << english.size()
              << ") != the number of foreign strings(" << foreign.size() << ") - in " << tokensFile << "\n";
    }
    for (const auto& [key, text] : foreign) {
        auto it = english.find(key);
        if (it == english.end()) {
            Say() << "Warning the token \"" << key
                  << "\" exists in the foreign translation map, but not in the english translation map - in "
                  << tokensFile << "\n";
        } else if (it->second == text) {
            Say() << "Warning the token \"" << key << "\" is untranslated as \"" << text << "\" - in "
                  << tokensFile << "\n";
        }
    }
    return true;
}

bool Vornel::ReadTemplateFile(const std::string& templateFile, TextBuffer& text) {
    std::string bytes;
    if (!ReadWholeFile(templateFile, bytes)) return false;
    text = TextBuffer(std::move(bytes));
    return true;
}

bool Vornel::FillTemplate(TextBuffer templateText, const TokenMap& foreign, std::string& output) {
    output.clear();
    std::string piece, name;
    // Goes on while a marker remains, so a token at the very start or right
    // after another token is filled like any other.
    while (templateText.CutBeforeMarker(kMarker, piece)) {
        output += piece;
        templateText.CutBeforeMarker(kMarker, name);
        const std::string key = std::string(kMarker) + name + std::string(kMarker);
        auto it = foreign.find(key);
        if (it == foreign.end()) {
            Say() << "Couldn't find token " << key << " in the map.\n";
            return false;
        }
        output += it->second;
    }
    output += templateText.Bytes();
    return true;
}

bool Vornel::WriteOutputFile(const std::string& outputFile, const std::string& output) {
    if (std::optional<platform::FileStatus> status = platform::GetFileStatus(outputFile)) {
        if (status->isDirectory) {
            Say() << "Couldn't write " << outputFile << ", it is a folder\n";
            return false;
        }
        if (status->readOnly) {
            Say() << "Couldn't write " << outputFile << ", it is read-only\n";
            return false;
        }
    }
    std::string error;
    if (!platform::SaveFileAtomically(platform::ResolvePath(outputFile), output, &error)) {
        Say() << error << "\n";
        return false;
    }
    return true;
}

}  // namespace translation
