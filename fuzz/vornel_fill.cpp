// The token filler on arbitrary bytes: a tokens file and a template, split at
// the first zero byte. Every outcome is fine except a crash or a hang.
#include "translation/Vornel.h"

#include <cstdint>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string input(reinterpret_cast<const char*>(data), size);
    std::size_t split = input.find('\0');
    std::string tokens = input.substr(0, split);
    std::string tpl = split == std::string::npos ? std::string() : input.substr(split + 1);

    std::ostringstream sink;
    translation::Vornel vornel(sink);
    translation::TokenMap foreign, english;
    vornel.ParseTokenSection(tokens, foreign, translation::kForeignMarker, "tokens");
    vornel.ParseTokenSection(tokens, english, translation::kEnglishMarker, "tokens");
    vornel.CheckUntranslatedStrings(foreign, english, "tokens");
    std::string output;
    vornel.FillTemplate(translation::TextBuffer(tpl), foreign, output);
    return 0;
}
