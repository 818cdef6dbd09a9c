#include "ui/graphics/cGZDBFontKorean.h"

#include <map>
#include <mutex>
#include <string>
#include <string_view>

#include "platform/CodePage.h"

namespace {

// The line-breaking lists as the characters they are; turned into the
// language's code page when a font is made.
constexpr const char* kNoBeginAll = ",.:;?!)]}";
constexpr const char* kNoEndAll = "($";

struct LanguageLists {
    uint32_t language;
    int codePage;
    const char* noBegin;
    const char* noEnd;
};

const LanguageLists kLists[] = {
    {15, 932, "￠°’”‰′″℃、。々〉》」』】〕ぁぃぅぇぉっゃゅょゎ゛゜ゝゞァィゥェォッャュョヮヵヶ・ーヽヾ！％），．：；？］｝",
     "￡‘“〈《「『【〔＄（［｛￡￥"},
    {17, 936, "、。·ˉˇ¨〃々‖…’”〕〉》」』〗】∶！＂＇），．：；？］｀｜―",
     "‘“〔〈《「『〖【（Ｚ"},
    {18, 950,
     "～﹋︴﹫２﹟３＄﹩∫﹪５︿︽Λ╦┬╥６﹠７※☆８（︵○●９）︶０ˍ﹢♀♂⊕±┼╪╬╪╫︱︳│║▕！＠＃＄％↑＆＊﹙﹚＿＋∥｛︷﹛｝︸﹜“”〝〃；﹔ㄤ，﹐、﹑ㄝ＜﹤〈≦←∠《︽︿↖◣◤Δ┌╭╔╒╓╭∟↙└╰╚╘╙╰．。﹒‧·ㄡ÷≒∵∴⊙…‥＞﹥〉≧→》︾┘╯╝╛╜↘↗﹀⊿┤╡╣╡╢◢◥？﹖",
     "﹛﹝‘“〝‵"},
    {20, 949, "、。·‥…¨〃’”〕〉》」』】）］｝베스이트폰",
     "‘“〔〈《「『【（［｛"},
};

// Each UTF-8 character of the list, as a code of the page: its single byte,
// or lead * 256 + trail. Characters the page lacks are left out.
void AddCodes(std::unordered_set<uint32_t>& codes, const platform::CodePage& page, std::string_view utf8) {
    for (size_t i = 0; i < utf8.size();) {
        size_t n = 1;
        const auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead >= 0xF0) n = 4;
        else if (lead >= 0xE0) n = 3;
        else if (lead >= 0xC0) n = 2;
        bool exact = false;
        const std::string bytes = page.FromUtf8(utf8.substr(i, n), &exact);
        if (exact && bytes.size() == 1) codes.insert(static_cast<unsigned char>(bytes[0]));
        else if (exact && bytes.size() == 2)
            codes.insert(static_cast<uint32_t>(static_cast<unsigned char>(bytes[0])) * 256 +
                         static_cast<unsigned char>(bytes[1]));
        i += n;
    }
}

struct BreakCodes {
    std::unordered_set<uint32_t> noBegin;
    std::unordered_set<uint32_t> noEnd;
};

BreakCodes MakeBreakCodes(uint32_t language) {
    BreakCodes codes;
    for (const char* p = kNoBeginAll; *p; ++p) codes.noBegin.insert(static_cast<unsigned char>(*p));
    for (const char* p = kNoEndAll; *p; ++p) codes.noEnd.insert(static_cast<unsigned char>(*p));
    for (const LanguageLists& lists : kLists) {
        if (lists.language != language) continue;
        const platform::CodePage& page = platform::CodePage::Get(lists.codePage);
        AddCodes(codes.noBegin, page, lists.noBegin);
        AddCodes(codes.noEnd, page, lists.noEnd);
    }
    return codes;
}

// The language's codes, worked out once per process: the conversion opens a
// converter per character, which cost far more than the rest of making a font.
const BreakCodes& BreakCodesOf(uint32_t language) {
    static std::mutex guard;
    static std::map<uint32_t, BreakCodes> made;
    std::lock_guard lock(guard);
    auto it = made.find(language);
    if (it == made.end()) it = made.emplace(language, MakeBreakCodes(language)).first;
    return it->second;
}

}  // namespace

cGZDBFontKorean::cGZDBFontKorean(const cRZString& path, uint32_t language, std::shared_ptr<const DBGlyphSet> set)
    : cGZDBFont(path, language, std::move(set)) {
    const BreakCodes& codes = BreakCodesOf(language);
    mNoBegin = &codes.noBegin;
    mNoEnd = &codes.noEnd;
}

bool cGZDBFontKorean::IsLeadByte(uint8_t ch) const {
    switch (Language()) {
        case 15: return (ch >= 129 && ch <= 159) || (ch >= 224 && ch <= 252);
        case 17: return ch >= 161 && ch <= 252;
        case 18: return ch >= 129 && ch <= 254;
        case 20: return ch >= 176 && ch <= 200;
        default: return false;
    }
}

bool cGZDBFontKorean::IsMissingLeadByte(uint8_t ch) const {
    switch (Language()) {
        case 20: return (ch >= 129 && ch <= 175) || ch > 200;
        case 17: return (ch >= 129 && ch <= 160) || ch >= 253;
        default: return false;
    }
}

int32_t cGZDBFontKorean::GlyphIndex(uint32_t language, uint32_t code) {
    const auto b = static_cast<int32_t>(code & 0xFF), c = static_cast<int32_t>(code >> 8);
    switch (language) {
        case 15:
            if (((code >= 0x8100 && code <= 0x9FFF) || (code >= 0xE000 && code <= 0xFCFF)) &&
                ((b >= 64 && b <= 126) || (b >= 128 && b <= 252)))
                return b - (b >= 128 ? 1 : 0) + (code < 0xE000 ? 12032 : 0) + 188 * c - 36348;
            return 0;
        case 17:
            if (code >= 0xA100 && code <= 0xFCFF && b >= 161 && b <= 254) return 94 * c + b - 15295;
            return 0;
        case 18:
            if (code >= 0xA100 && code <= 0xF9FF && ((b >= 64 && b <= 126) || (b >= 161 && b <= 254)))
                return b + 157 * c - (b >= 128 ? 34 : 0) - 25341;
            return 0;
        case 20:
            if (code >= 0xB000 && code <= 0xC8FF && b >= 161 && b <= 254) return 94 * c + b - 16705;
            return 0;
        default: return 0;
    }
}

int32_t cGZDBFontKorean::CharBytes(const char* text, int32_t remaining) const {
    return remaining >= 2 && IsLeadByte(static_cast<uint8_t>(text[0])) ? 2 : 1;
}

uint32_t cGZDBFontKorean::CodeAt(const char* text, int32_t bytes) const {
    const auto first = static_cast<unsigned char>(text[0]);
    return bytes == 2 ? first * 256u + static_cast<unsigned char>(text[1]) : first;
}

int32_t cGZDBFontKorean::CharAdvance(const char* text, int32_t bytes) const {
    if (!mSet || !mSet->IsUsable()) return 0;
    const DBGlyphSetLayout& l = mSet->Layout();
    // A double-byte glyph is followed by one blank column.
    return bytes == 2 ? l.doubleWidth + 1 : SingleAdvance(static_cast<uint8_t>(text[0]));
}

void cGZDBFontKorean::CharPixels(const char* text, int32_t bytes, const PixelSink& sink) const {
    if (!mSet || !mSet->IsUsable()) return;
    const DBGlyphSetLayout& l = mSet->Layout();
    if (bytes == 2) {
        const int32_t index = GlyphIndex(Language(), CodeAt(text, bytes));
        for (int32_t y = 0; y < l.doubleHeight; ++y) RowPixels(mSet->DoubleRow(index, y), 0, y + 1, sink);
        return;
    }
    const auto code = static_cast<uint8_t>(text[0]);
    for (int32_t y = 0; y < l.singleHeight; ++y) RowPixels(mSet->SingleRow(code, y), 0, y + 1, sink);
}

cRZRect cGZDBFontKorean::CharBounds(const char*, int32_t bytes) const {
    if (!mSet || !mSet->IsUsable()) return {};
    const DBGlyphSetLayout& l = mSet->Layout();
    // Below the blank row at the cell's top.
    return bytes == 2 ? cRZRect{0, 1, l.doubleWidth, l.doubleHeight + 1} : cRZRect{0, 1, l.singleWidth, l.singleHeight + 1};
}

int32_t cGZDBFontKorean::UnitEnd(const char* text, int32_t length, int32_t start) const {
    int32_t lastBytes = CharBytes(text + start, length - start);
    int32_t at = start + lastBytes;
    if (static_cast<uint8_t>(text[start]) < 32) return at;
    uint32_t last = CodeAt(text + start, lastBytes);
    while (at < length) {
        const int32_t bytes = CharBytes(text + at, length - at);
        const uint32_t next = CodeAt(text + at, bytes);
        if (static_cast<uint8_t>(text[at]) < 32) break;
        const bool join = MayNotBegin(next) || MayNotEnd(last);
        if (!join && (lastBytes == 2 || bytes == 2 ||
                      (last < 256 && IsBreakChar(static_cast<uint8_t>(last)) &&
                       !(next < 256 && IsBreakChar(static_cast<uint8_t>(next))))))
            break;
        last = next;
        lastBytes = bytes;
        at += bytes;
    }
    return at;
}
