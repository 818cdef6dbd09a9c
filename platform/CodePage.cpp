// Code pages: lead-byte ranges are fixed tables; the single-byte character
// classes and case maps are worked out once per page by decoding each byte
// through iconv and asking a small Unicode table below, so no C library locale
// is involved.
#include "platform/CodePage.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <utility>

namespace platform {
namespace {

constexpr char32_t kNone = 0xFFFFFFFF;

struct PageInfo {
    int number;
    const char* iconvName;
};

constexpr std::array<PageInfo, 9> kPages = {{
    {1252, "CP1252"}, {1250, "CP1250"}, {1251, "CP1251"}, {1255, "CP1255"}, {874, "CP874"},
    {932, "CP932"},   {936, "CP936"},   {949, "CP949"},   {950, "CP950"},
}};

bool InRange(unsigned b, unsigned lo, unsigned hi) { return b >= lo && b <= hi; }

// Lead bytes of the double-byte pages, as the pages define them.
bool IsLeadOf(int number, unsigned b) {
    switch (number) {
    case 932: return InRange(b, 0x81, 0x9F) || InRange(b, 0xE0, 0xFC);
    case 936:
    case 949:
    case 950: return InRange(b, 0x81, 0xFE);
    default: return false;
    }
}

// Lower case of the letters that occur in the nine pages; anything else is
// returned unchanged. (Dotted and dotless i are left alone: no page here has
// both, and their folding is language-specific.)
char32_t UnicodeLower(char32_t u) {
    if (InRange(u, 'A', 'Z')) return u + 0x20;
    if (InRange(u, 0xC0, 0xDE) && u != 0xD7) return u + 0x20;
    if ((InRange(u, 0x100, 0x12F) || InRange(u, 0x132, 0x137) || InRange(u, 0x14A, 0x177)) &&
        u % 2 == 0)
        return u + 1;
    if ((InRange(u, 0x139, 0x148) || InRange(u, 0x179, 0x17E)) && u % 2 == 1) return u + 1;
    if (u == 0x178) return 0xFF;
    if (InRange(u, 0x410, 0x42F)) return u + 0x20;
    if (InRange(u, 0x400, 0x40F)) return u + 0x50;
    if ((InRange(u, 0x460, 0x481) || InRange(u, 0x48A, 0x4BF)) && u % 2 == 0) return u + 1;
    return u;
}

bool IsUnicodeLetter(char32_t u) {
    if (u < 0x80) return InRange(u | 0x20, 'a', 'z');
    return u == 0xAA || u == 0xB5 || u == 0xBA || (InRange(u, 0xC0, 0x24F) && u != 0xD7 && u != 0xF7) ||
           InRange(u, 0x370, 0x3FF) || InRange(u, 0x400, 0x481) || InRange(u, 0x48A, 0x52F) ||
           InRange(u, 0x5D0, 0x5EA) || InRange(u, 0x5F0, 0x5F2) ||           // Hebrew letters
           InRange(u, 0xE01, 0xE30) || InRange(u, 0xE32, 0xE33) || InRange(u, 0xE40, 0xE46) ||  // Thai
           InRange(u, 0xFF66, 0xFF9F);                                         // half-width kana
}

bool IsUnicodeSpace(char32_t u) { return InRange(u, 0x09, 0x0D) || u == 0x20 || u == 0xA0; }
bool IsUnicodeControl(char32_t u) { return u < 0x20 || InRange(u, 0x7F, 0x9F); }

// A converter that releases itself; invalid when iconv lacks the page.
class Converter {
public:
    Converter(const char* to, const char* from) : mCd(iconv_open(to, from)) {}
    ~Converter() {
        if (Valid()) iconv_close(mCd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool Valid() const { return mCd != reinterpret_cast<iconv_t>(-1); }

    // Converts all of in, appending to out. On a sequence that cannot be
    // converted, skip(in, left) tells how many input bytes to drop and
    // `replacement` is appended instead. Returns false when anything was
    // replaced.
    template <typename Skip>
    bool Run(std::string_view in, std::string& out, std::string_view replacement, Skip skip) {
        iconv(mCd, nullptr, nullptr, nullptr, nullptr);
        bool exact = true;
        char* src = const_cast<char*>(in.data());
        std::size_t left = in.size();
        char buffer[256];
        for (;;) {
            char* dst = buffer;
            std::size_t room = sizeof buffer;
            bool flushing = left == 0;
            std::size_t r = flushing ? iconv(mCd, nullptr, nullptr, &dst, &room)
                                     : iconv(mCd, &src, &left, &dst, &room);
            out.append(buffer, static_cast<std::size_t>(dst - buffer));
            if (r != static_cast<std::size_t>(-1)) {
                if (flushing) break;
                continue;
            }
            if (errno == E2BIG) continue;
            if (flushing) break;
            // EILSEQ or EINVAL (a sequence cut short at the end): replace and go on.
            exact = false;
            out.append(replacement);
            // Some converters report an error with every input byte already
            // taken; there is nothing left to skip then.
            if (left == 0) continue;
            std::size_t n = std::min(skip(reinterpret_cast<const unsigned char*>(src), left), left);
            src += n;
            left -= n;
            iconv(mCd, nullptr, nullptr, nullptr, nullptr);
        }
        return exact;
    }

private:
    iconv_t mCd;
};

// This thread's converter between two encodings, opened on first use and
// kept: opening one loads the conversion module again whenever no open
// converter holds it, which cost far more than converting a short text.
// Run starts every conversion from the initial state, so reuse is safe.
Converter& KeptConverter(const char* to, const char* from) {
    thread_local std::map<std::pair<std::string, std::string>, std::unique_ptr<Converter>> open;
    std::unique_ptr<Converter>& slot = open[{to, from}];
    if (!slot) slot = std::make_unique<Converter>(to, from);
    return *slot;
}

// The code point of one byte on its own, or kNone when the page leaves it undefined.
char32_t DecodeByte(Converter& toUtf32, unsigned char b) {
    std::string out;
    char in = static_cast<char>(b);
    bool ok = toUtf32.Run(std::string_view(&in, 1), out, {}, [](const unsigned char*, std::size_t) {
        return std::size_t{1};
    });
    if (!ok || out.size() != 4) return kNone;
    return static_cast<char32_t>(static_cast<unsigned char>(out[0]) | static_cast<unsigned char>(out[1]) << 8 |
                                 static_cast<unsigned char>(out[2]) << 16 |
                                 static_cast<std::uint32_t>(static_cast<unsigned char>(out[3])) << 24);
}

// Bytes of the (possibly malformed) UTF-8 sequence at p, at least 1.
std::size_t Utf8SequenceLength(const unsigned char* p, std::size_t left) {
    std::size_t want = p[0] >= 0xF0 ? 4 : p[0] >= 0xE0 ? 3 : p[0] >= 0xC0 ? 2 : 1;
    std::size_t n = 1;
    while (n < want && n < left && (p[n] & 0xC0) == 0x80) ++n;
    return n;
}

std::atomic<const CodePage*> gCurrent{nullptr};

} // namespace

CodePage::CodePage(int number) : mNumber(number), mDoubleByte(false), mIconvName("CP1252") {
    for (const PageInfo& page : kPages)
        if (page.number == number) mIconvName = page.iconvName;

    std::array<char32_t, 256> codes;
    Converter toUtf32("UTF-32LE", mIconvName);
    for (unsigned b = 0; b < 256; ++b) {
        mLead[b] = IsLeadOf(number, b);
        mDoubleByte = mDoubleByte || mLead[b];
        if (mLead[b])
            codes[b] = kNone;
        else if (b < 0x80 || !toUtf32.Valid())
            codes[b] = b < 0x80 ? b : kNone;  // without iconv only ASCII is known
        else
            codes[b] = DecodeByte(toUtf32, static_cast<unsigned char>(b));
    }

    for (unsigned b = 0; b < 256; ++b) {
        mLowerMap[b] = mUpperMap[b] = static_cast<unsigned char>(b);
        mClass[b] = 0;
    }
    for (unsigned b = 0; b < 256; ++b) {
        char32_t u = codes[b];
        if (u == kNone) continue;
        unsigned char cls = 0;
        if (!IsUnicodeControl(u)) cls |= kPrint;
        if (IsUnicodeSpace(u)) cls |= kSpace;
        if (InRange(u, '0', '9')) cls |= kDigit;
        if (IsUnicodeLetter(u)) cls |= kAlpha;
        if ((cls & kPrint) && !(cls & (kSpace | kDigit | kAlpha))) cls |= kPunct;
        // A letter is upper case when its lower case is also on this page.
        char32_t lower = UnicodeLower(u);
        if (lower != u) {
            for (unsigned other = 0; other < 256; ++other) {
                if (codes[other] == lower) {
                    mLowerMap[b] = static_cast<unsigned char>(other);
                    mUpperMap[other] = static_cast<unsigned char>(b);
                    mClass[other] |= kLower;
                    cls |= kUpper;
                    break;
                }
            }
        }
        mClass[b] |= cls;
    }
}

const CodePage* CodePage::Find(int number) {
    static const std::array<CodePage, kPages.size()> pages = {
        CodePage(1252), CodePage(1250), CodePage(1251), CodePage(1255), CodePage(874),
        CodePage(932),  CodePage(936),  CodePage(949),  CodePage(950),
    };
    for (const CodePage& page : pages)
        if (page.mNumber == number) return &page;
    return nullptr;
}

const CodePage& CodePage::Get(int number) {
    const CodePage* page = Find(number);
    return page ? *page : *Find(1252);
}

std::size_t CodePage::CharLength(const char* p, const char* end) const {
    if (mLead[static_cast<unsigned char>(*p)] && end - p >= 2 && p[1] != '\0') return 2;
    return 1;
}

const char* CodePage::Next(const char* p) const {
    if (*p == '\0') return p;
    if (mLead[static_cast<unsigned char>(*p)] && p[1] != '\0') return p + 2;
    return p + 1;
}

bool CodePage::IsDigitAt(const char* p) const { return IsDigit(static_cast<unsigned char>(*p)); }

void CodePage::Fold(std::string& text, const unsigned char* map) const {
    const char* begin = text.data();
    const char* end = begin + text.size();
    for (std::size_t i = 0; i < text.size();) {
        std::size_t n = CharLength(begin + i, end);
        if (n == 1) text[i] = static_cast<char>(map[static_cast<unsigned char>(text[i])]);
        i += n;
    }
}

void CodePage::MakeLower(std::string& text) const { Fold(text, mLowerMap); }
void CodePage::MakeUpper(std::string& text) const { Fold(text, mUpperMap); }

std::string CodePage::ToUtf8(std::string_view bytes, bool* exact) const {
    std::string out;
    Converter& converter = KeptConverter("UTF-8", mIconvName);
    bool ok;
    if (converter.Valid()) {
        // A bad byte is dropped on its own; a whole double-byte pair when it
        // is one, so the trail byte is not read as a character of its own.
        ok = converter.Run(bytes, out, "\xEF\xBF\xBD", [this](const unsigned char* p, std::size_t left) {
            return mLead[*p] && left >= 2 && p[1] >= 0x40 ? std::size_t{2} : std::size_t{1};
        });
    } else {
        ok = true;
        for (char c : bytes) {
            if (static_cast<unsigned char>(c) < 0x80) {
                out += c;
            } else {
                out += "\xEF\xBF\xBD";
                ok = false;
            }
        }
    }
    if (exact) *exact = ok;
    return out;
}

std::string CodePage::FromUtf8(std::string_view utf8, bool* exact) const {
    std::string out;
    Converter& converter = KeptConverter(mIconvName, "UTF-8");
    bool ok;
    if (converter.Valid()) {
        ok = converter.Run(utf8, out, "?", Utf8SequenceLength);
    } else {
        ok = true;
        for (std::size_t i = 0; i < utf8.size();) {
            auto p = reinterpret_cast<const unsigned char*>(utf8.data() + i);
            if (*p < 0x80) {
                out += static_cast<char>(*p);
                ++i;
            } else {
                out += '?';
                ok = false;
                i += Utf8SequenceLength(p, utf8.size() - i);
            }
        }
    }
    if (exact) *exact = ok;
    return out;
}

const CodePage& CurrentCodePage() {
    const CodePage* page = gCurrent.load(std::memory_order_acquire);
    return page ? *page : CodePage::Get(1252);
}

bool SetCurrentCodePage(int number) {
    const CodePage* page = CodePage::Find(number);
    if (!page) return false;
    gCurrent.store(page, std::memory_order_release);
    return true;
}

} // namespace platform

namespace platform {
namespace {

struct LocaleId {
    const char* name;  // language, or language_TERRITORY
    std::uint16_t lcid;
};

// The language alone comes first; it also stands for territories not listed.
const LocaleId kLocaleIds[] = {
    {"en", 1033},    {"en_US", 1033}, {"en_GB", 2057}, {"en_AU", 3081}, {"en_NZ", 5129}, {"en_IE", 6153},
    {"en_CA", 4105}, {"fr", 1036},    {"fr_BE", 2060}, {"fr_CA", 3084}, {"fr_CH", 4108}, {"nl", 1043},
    {"nl_BE", 2067}, {"de", 1031},    {"de_CH", 2055}, {"de_AT", 3079}, {"it", 1040},    {"it_CH", 2064},
    {"es", 3082},    {"es_MX", 2058}, {"da", 1030},    {"sv", 1053},    {"nb", 1044},    {"no", 1044},
    {"nn", 2068},    {"fi", 1035},    {"he", 1037},    {"ru", 1049},    {"pt", 2070},    {"pt_BR", 1046},
    {"ja", 1041},    {"pl", 1045},    {"zh", 2052},    {"zh_CN", 2052}, {"zh_TW", 1028}, {"zh_HK", 3076},
    {"th", 1054},    {"ko", 1042},
};

std::uint16_t Lookup(std::string_view name) {
    for (const LocaleId& id : kLocaleIds)
        if (name == id.name) return id.lcid;
    return 0;
}

} // namespace

std::uint16_t LcidFromLocaleName(std::string_view name) {
    // Drop ".codeset" and "@modifier".
    std::size_t cut = name.find_first_of(".@");
    if (cut != std::string_view::npos) name = name.substr(0, cut);
    if (std::uint16_t lcid = Lookup(name)) return lcid;
    std::size_t underscore = name.find('_');
    if (underscore != std::string_view::npos)
        if (std::uint16_t lcid = Lookup(name.substr(0, underscore))) return lcid;
    return 1033;
}

std::uint16_t UserDefaultLcid() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value && *value) return LcidFromLocaleName(value);
    }
    return 1033;
}

} // namespace platform
