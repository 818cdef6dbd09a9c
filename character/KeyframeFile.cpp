#include "character/KeyframeFile.h"

#include <cstring>

namespace tova {

namespace {

constexpr uint8_t kKeyframeNewValue = 255;
constexpr uint8_t kKeyframeRepeat = 254;
constexpr int kKeyframeNoStep = 126;

uint32_t KeyframeBits(float v) {
    uint32_t bits = 0;
    std::memcpy(&bits, &v, 4);
    return bits;
}

// One block of streams: the decoder state lives through all of them.
class KeyframeBlockDecoder {
public:
    KeyframeBlockDecoder(std::string_view bytes, size_t& pos) : bytes_(bytes), pos_(pos) {}
    // False at the end of the data.
    bool Next(float& out) {
        if (repeat_ > 0) {
            --repeat_;
            out = current_;
            return true;
        }
        if (pos_ >= bytes_.size()) return false;
        const auto c = static_cast<uint8_t>(bytes_[pos_]);
        if (c == kKeyframeNewValue) {
            if (bytes_.size() - pos_ < 5) return End();
            uint32_t bits = 0;
            for (int i = 0; i < 4; ++i) bits |= static_cast<uint32_t>(static_cast<uint8_t>(bytes_[pos_ + 1 + i])) << (8 * i);
            std::memcpy(&current_, &bits, 4);
            pos_ += 5;
            read_ += 5;
        } else if (c == kKeyframeRepeat) {
            if (bytes_.size() - pos_ < 3) return End();
            repeat_ = static_cast<uint8_t>(bytes_[pos_ + 1]) | (static_cast<uint8_t>(bytes_[pos_ + 2]) << 8);
            pos_ += 3;
            read_ += 3;
        } else {
            current_ += KeyframeDeltaTable()[c];
            ++pos_;
            ++read_;
        }
        out = current_;
        return true;
    }
    int64_t Read() const { return read_; }

private:
    bool End() {
        pos_ = bytes_.size();
        return false;
    }
    std::string_view bytes_;
    size_t& pos_;
    float current_ = 0;
    uint32_t repeat_ = 0;
    int64_t read_ = 0;
};

class KeyframeBlockEncoder {
public:
    explicit KeyframeBlockEncoder(std::string& out) : out_(out) {}
    void Encode(const std::vector<float>& values) {
        size_t i = 0;
        while (i < values.size()) {
            const float v = values[i];
            if (KeyframeBits(v) == KeyframeBits(current_)) {
                size_t run = 1;
                while (i + run < values.size() && run <= 65535 && KeyframeBits(values[i + run]) == KeyframeBits(v)) ++run;
                if (run == 1) {
                    out_ += static_cast<char>(kKeyframeNoStep);
                } else {
                    const auto n = static_cast<uint16_t>(run - 1);
                    out_ += static_cast<char>(kKeyframeRepeat);
                    out_ += static_cast<char>(n & 0xFF);
                    out_ += static_cast<char>(n >> 8);
                }
                i += run;
                continue;
            }
            int code = -1;
            for (int c = 0; c < 253 && code < 0; ++c) {
                const float next = current_ + KeyframeDeltaTable()[c];
                if (KeyframeBits(next) == KeyframeBits(v)) code = c;
            }
            if (code >= 0) {
                out_ += static_cast<char>(code);
            } else {
                out_ += static_cast<char>(kKeyframeNewValue);
                const uint32_t bits = KeyframeBits(v);
                for (int b = 0; b < 4; ++b) out_ += static_cast<char>((bits >> (8 * b)) & 0xFF);
            }
            current_ = v;
            ++i;
        }
    }

private:
    std::string& out_;
    float current_ = 0;
};

}  // namespace

const std::array<float, 254>& KeyframeDeltaTable() {
    static const std::array<float, 254> table = [] {
        std::array<float, 254> t{};
        const long double k = static_cast<long double>(1.0f / 252.0f);
        for (int c = 0; c <= 252; ++c) {
            const long double x = c * k * 2 - 1;
            const long double s = x >= 0 ? 1 : -1;
            t[c] = static_cast<float>(s * x * x * x * x * static_cast<long double>(0.1f));
        }
        // The middle code is no step at all.
        t[kKeyframeNoStep] = 0;
        t[253] = 0;
        return t;
    }();
    return table;
}

KeyframeCounters& GetKeyframeCounters() {
    static KeyframeCounters counters;
    return counters;
}

int64_t DecodeCompressedKeyframes(std::string_view bytes, std::vector<Vector3>& translations,
                                  std::vector<Quaternion>& rotations) {
    size_t pos = 0;
    KeyframeBlockDecoder first(bytes, pos);
    float Vector3::*tparts[3] = {&Vector3::x, &Vector3::y, &Vector3::z};
    bool more = true;
    for (auto part : tparts) {
        for (size_t i = 0; more && i < translations.size(); ++i) more = first.Next(translations[i].*part);
    }
    KeyframeBlockDecoder second(bytes, pos);
    float Quaternion::*rparts[4] = {&Quaternion::x, &Quaternion::y, &Quaternion::z, &Quaternion::w};
    more = true;
    for (auto part : rparts) {
        for (size_t i = 0; more && i < rotations.size(); ++i) more = second.Next(rotations[i].*part);
    }
    return first.Read() + second.Read();
}

std::string EncodeCompressedKeyframes(const std::vector<Vector3>& translations,
                                      const std::vector<Quaternion>& rotations) {
    std::string out;
    std::vector<float> values;
    for (auto part : {&Vector3::x, &Vector3::y, &Vector3::z}) {
        for (const Vector3& t : translations) values.push_back(t.*part);
    }
    KeyframeBlockEncoder(out).Encode(values);
    values.clear();
    for (auto part : {&Quaternion::x, &Quaternion::y, &Quaternion::z, &Quaternion::w}) {
        for (const Quaternion& q : rotations) values.push_back(q.*part);
    }
    KeyframeBlockEncoder(out).Encode(values);
    return out;
}

bool ReadRawKeyframes(std::string_view bytes, std::vector<Vector3>& translations,
                      std::vector<Quaternion>& rotations) {
    const uint64_t need = translations.size() * 12ull + rotations.size() * 16ull;
    if (bytes.size() < need) return false;
    const char* p = bytes.data();
    for (Vector3& t : translations) {
        std::memcpy(&t.x, p, 4);
        std::memcpy(&t.y, p + 4, 4);
        std::memcpy(&t.z, p + 8, 4);
        p += 12;
    }
    for (Quaternion& q : rotations) {
        std::memcpy(&q.x, p, 4);
        std::memcpy(&q.y, p + 4, 4);
        std::memcpy(&q.z, p + 8, 4);
        std::memcpy(&q.w, p + 12, 4);
        p += 16;
    }
    return true;
}

std::string WriteRawKeyframes(const std::vector<Vector3>& translations, const std::vector<Quaternion>& rotations) {
    std::string out;
    auto put = [&](float f) { out.append(reinterpret_cast<const char*>(&f), 4); };
    for (const Vector3& t : translations) {
        put(t.x);
        put(t.y);
        put(t.z);
    }
    for (const Quaternion& q : rotations) {
        put(q.x);
        put(q.y);
        put(q.z);
        put(q.w);
    }
    return out;
}

}  // namespace tova
