#include "character/CharacterStreams.h"

#include <charconv>
#include <cstdio>
#include <cstring>

namespace tova {

namespace {

bool IsCharacterSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// A number at the front of the text (a '+' sign allowed); the characters
// used, 0 when there is none.
template <class T>
size_t ParseCharacterNumber(std::string_view text, T& out) {
    size_t skip = (!text.empty() && text[0] == '+') ? 1 : 0;
    const char* first = text.data() + skip;
    const char* last = text.data() + text.size();
    std::from_chars_result r{};
    if constexpr (std::is_floating_point_v<T>) {
        r = std::from_chars(first, last, out, std::chars_format::general);
    } else {
        r = std::from_chars(first, last, out);
    }
    if (r.ec != std::errc() || r.ptr == first) return 0;
    return static_cast<size_t>(r.ptr - text.data());
}

}  // namespace

bool CharacterIn::Count(int32_t& out, size_t unit) {
    if (!Int(out)) return false;
    const size_t perElement = IsText() ? 1 : (unit == 0 ? 1 : unit);
    if (out < 0 || static_cast<uint64_t>(out) * perElement > Left()) {
        Fail();
        return false;
    }
    return true;
}

// ---- binary ----

bool CharacterBinaryIn::Int(int32_t& out) {
    if (failed_ || Left() < 4) {
        Fail();
        return false;
    }
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(static_cast<uint8_t>(bytes_[pos_ + i])) << (8 * i);
    pos_ += 4;
    out = static_cast<int32_t>(v);
    return true;
}

bool CharacterBinaryIn::Float(float& out) {
    int32_t bits = 0;
    if (!Int(bits)) return false;
    std::memcpy(&out, &bits, 4);
    return true;
}

bool CharacterBinaryIn::Name(std::string& out, size_t limit) {
    if (failed_ || Left() < 1) {
        Fail();
        return false;
    }
    uint64_t length = static_cast<uint8_t>(bytes_[pos_++]);
    if (length == 255) {
        int32_t n = 0;
        if (!Int(n)) return false;
        length = static_cast<uint32_t>(n);
    }
    if (length >= limit || length > Left()) {
        Fail();
        return false;
    }
    out.assign(bytes_.substr(pos_, length));
    pos_ += length;
    return true;
}

bool CharacterBinaryIn::Vector(Vector3& out) { return Float(out.x) && Float(out.y) && Float(out.z); }

bool CharacterBinaryIn::Rotation(Quaternion& out) {
    return Float(out.x) && Float(out.y) && Float(out.z) && Float(out.w);
}

// ---- text ----

void CharacterTextIn::SkipSpace() {
    while (pos_ < text_.size() && IsCharacterSpace(text_[pos_])) ++pos_;
}

bool CharacterTextIn::Line(std::string& out, size_t limit) {
    if (failed_ || pos_ >= text_.size()) {
        Fail();
        return false;
    }
    size_t end = text_.find('\n', pos_);
    if (end == std::string_view::npos) end = text_.size();
    std::string_view line = text_.substr(pos_, end - pos_);
    pos_ = end < text_.size() ? end + 1 : end;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.size() >= limit) {
        Fail();
        return false;
    }
    out.assign(line);
    return true;
}

bool CharacterTextIn::Name(std::string& out, size_t limit) {
    while (Line(out, limit)) {
        bool blank = true;
        for (char c : out) blank = blank && IsCharacterSpace(c);
        if (!blank) return true;
    }
    return false;
}

bool CharacterTextIn::Value(std::string& out, size_t limit) { return Line(out, limit); }

bool CharacterTextIn::Token(std::string& out) {
    SkipSpace();
    const size_t start = pos_;
    while (pos_ < text_.size() && !IsCharacterSpace(text_[pos_])) ++pos_;
    if (failed_ || pos_ == start) {
        Fail();
        return false;
    }
    out.assign(text_.substr(start, pos_ - start));
    return true;
}

template <typename T>
bool CharacterTextIn::Number(T& out) {
    if (failed_) return false;
    SkipSpace();
    const size_t used = ParseCharacterNumber(text_.substr(pos_), out);
    if (used == 0) {
        Fail();
        return false;
    }
    pos_ += used;
    return true;
}

bool CharacterTextIn::Int(int32_t& out) { return Number(out); }

bool CharacterTextIn::Float(float& out) { return Number(out); }

bool CharacterTextIn::Vector(Vector3& out) {
    std::string token;
    float* parts[3] = {&out.x, &out.y, &out.z};
    if (!Token(token)) return false;
    for (float* p : parts) {
        if (!Token(token)) return false;
        if (ParseCharacterNumber(std::string_view(token), *p) == 0) *p = 0;  // as "%f" leaves it
    }
    return Token(token);
}

bool CharacterTextIn::Rotation(Quaternion& out) {
    if (failed_) return false;
    SkipSpace();
    const bool bar = pos_ < text_.size() && text_[pos_] == '|';
    if (bar) ++pos_;
    if (!(Float(out.x) && Float(out.y) && Float(out.z) && Float(out.w))) return false;
    if (bar) {
        SkipSpace();
        if (pos_ >= text_.size() || text_[pos_] != '|') {
            Fail();
            return false;
        }
        ++pos_;
    }
    return true;
}

// ---- writers ----

std::string CharacterFloatText(float v) {
    char buffer[32];
    for (int digits = 6; digits <= 9; ++digits) {
        std::snprintf(buffer, sizeof buffer, "%.*g", digits, static_cast<double>(v));
        float back = 0;
        ParseCharacterNumber(std::string_view(buffer), back);
        if (back == v) break;
    }
    return buffer;
}

void CharacterBinaryOut::Int(int32_t v) {
    const auto u = static_cast<uint32_t>(v);
    for (int i = 0; i < 4; ++i) out_ += static_cast<char>((u >> (8 * i)) & 0xFF);
}

void CharacterBinaryOut::Float(float v) {
    int32_t bits = 0;
    std::memcpy(&bits, &v, 4);
    Int(bits);
}

void CharacterBinaryOut::Name(const std::string& s) {
    if (s.size() < 255) {
        out_ += static_cast<char>(s.size());
    } else {
        out_ += static_cast<char>(255);
        Int(static_cast<int32_t>(s.size()));
    }
    out_ += s;
}

void CharacterBinaryOut::Vector(const Vector3& v) {
    Float(v.x);
    Float(v.y);
    Float(v.z);
}

void CharacterBinaryOut::Rotation(const Quaternion& q) {
    Float(q.x);
    Float(q.y);
    Float(q.z);
    Float(q.w);
}

void CharacterTextOut::Name(const std::string& s) { out_ += s + "\n"; }
void CharacterTextOut::Int(int32_t v) { out_ += std::to_string(v) + "\n"; }
void CharacterTextOut::Float(float v) { out_ += CharacterFloatText(v) + "\n"; }

void CharacterTextOut::Vector(const Vector3& v) {
    out_ += "| " + CharacterFloatText(v.x) + " " + CharacterFloatText(v.y) + " " + CharacterFloatText(v.z) + " |\n";
}

void CharacterTextOut::Rotation(const Quaternion& q) {
    out_ += "| " + CharacterFloatText(q.x) + " " + CharacterFloatText(q.y) + " " + CharacterFloatText(q.z) + " " +
            CharacterFloatText(q.w) + " |\n";
}

}  // namespace tova
