// Console lines and code-page text on arbitrary bytes: the first byte picks
// the current code page, the rest is run as a console line (a few commands
// registered, the help list filled) and converted to and from UTF-8. Nothing
// may crash or read past the line.
#include "framework/cGZCheatCodeManager.h"
#include "platform/CodePage.h"

#include <cstdint>
#include <string>

namespace {

bool Succeed(cCheatCommandLine& line, void*) {
    line.SetMessage(line.GetWordCount() > 1 ? line.GetTypedWord(1).c_str() : "");
    return line.GetWordCount() < 3;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const int kPages[] = {1252, 1250, 1251, 1255, 874, 932, 936, 949, 950};
    if (size == 0) return 0;
    const platform::CodePage& page = platform::CodePage::Get(kPages[data[0] % 9]);
    platform::SetCurrentCodePage(page.Number());
    std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);

    cGZCheatCodeManager manager(data[0] & 0x80);
    manager.RegisterCheat("grid", &Succeed, nullptr, "grid");
    manager.RegisterCheat("w", &Succeed, nullptr, nullptr);
    manager.ExecuteCheatLine(text.c_str());
    manager.FillHelpList(text.c_str());

    std::string utf8 = page.ToUtf8(text);
    page.FromUtf8(utf8);
    page.FromUtf8(text);
    std::string folded = text;
    page.MakeLower(folded);
    for (const char* p = text.c_str(); *p; p = page.Next(p)) {
    }
    return 0;
}
