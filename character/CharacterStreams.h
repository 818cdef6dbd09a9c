// The primitives of the character files, in their binary form (little-endian
// ints, floats as their bit patterns, strings with a one- or five-byte
// length) and their text form (name lines, white-space separated numbers,
// five-token vectors, quaternions in optional bars). Readers never read past
// the bytes they were given: a name longer than its buffer, a number that is
// not there or a count larger than the bytes left fails the stream, and a
// failed stream reads nothing more.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "tarn/Transform.h"

namespace tova {

// Buffer sizes of the names: a name must be shorter than its buffer.
constexpr size_t kShortNameBuffer = 256;
constexpr size_t kLongNameBuffer = 1024;

class CharacterIn {
public:
    virtual ~CharacterIn() = default;
    bool Failed() const { return failed_; }
    void Fail() { failed_ = true; }

    // A name: a string (binary) or a name line (text), shorter than limit.
    virtual bool Name(std::string& out, size_t limit) = 0;
    // A property value: as a name, but a text value line is taken as it is.
    virtual bool Value(std::string& out, size_t limit) = 0;
    virtual bool Int(int32_t& out) = 0;
    virtual bool Float(float& out) = 0;
    virtual bool Vector(Vector3& out) = 0;
    virtual bool Rotation(Quaternion& out) = 0;
    // A count of elements that take at least `unit` bytes each: fails when
    // negative or when the bytes left cannot hold that many.
    bool Count(int32_t& out, size_t unit);
    virtual bool IsText() const = 0;

protected:
    virtual size_t Left() const = 0;
    bool failed_ = false;
};

class CharacterBinaryIn : public CharacterIn {
public:
    explicit CharacterBinaryIn(std::string_view bytes) : bytes_(bytes) {}
    bool Name(std::string& out, size_t limit) override;
    bool Value(std::string& out, size_t limit) override { return Name(out, limit); }
    bool Int(int32_t& out) override;
    bool Float(float& out) override;
    bool Vector(Vector3& out) override;
    bool Rotation(Quaternion& out) override;
    bool IsText() const override { return false; }
    size_t Position() const { return pos_; }

protected:
    size_t Left() const override { return bytes_.size() - pos_; }

private:
    std::string_view bytes_;
    size_t pos_ = 0;
};

class CharacterTextIn : public CharacterIn {
public:
    explicit CharacterTextIn(std::string_view text) : text_(text) {}
    bool Name(std::string& out, size_t limit) override;
    bool Value(std::string& out, size_t limit) override;
    bool Int(int32_t& out) override;
    bool Float(float& out) override;
    bool Vector(Vector3& out) override;
    bool Rotation(Quaternion& out) override;
    bool IsText() const override { return true; }
    // A whole line kept as it is (the header lines).
    bool Line(std::string& out, size_t limit);

protected:
    size_t Left() const override { return text_.size() - pos_; }

private:
    bool Token(std::string& out);
    template <typename T>
    bool Number(T& out);
    void SkipSpace();
    std::string_view text_;
    size_t pos_ = 0;
};

class CharacterOut {
public:
    virtual ~CharacterOut() = default;
    virtual void Name(const std::string& s) = 0;
    virtual void Value(const std::string& s) { Name(s); }
    virtual void Int(int32_t v) = 0;
    virtual void Float(float v) = 0;
    virtual void Vector(const Vector3& v) = 0;
    virtual void Rotation(const Quaternion& q) = 0;
    virtual bool IsText() const = 0;
    const std::string& Bytes() const { return out_; }

protected:
    std::string out_;
};

class CharacterBinaryOut : public CharacterOut {
public:
    void Name(const std::string& s) override;
    void Int(int32_t v) override;
    void Float(float v) override;
    void Vector(const Vector3& v) override;
    void Rotation(const Quaternion& q) override;
    bool IsText() const override { return false; }
};

class CharacterTextOut : public CharacterOut {
public:
    void Name(const std::string& s) override;
    void Int(int32_t v) override;
    void Float(float v) override;
    void Vector(const Vector3& v) override;
    void Rotation(const Quaternion& q) override;
    bool IsText() const override { return true; }
    void Line(const std::string& s) { out_ += s + "\n"; }
};

// The shortest text that reads back as exactly the same float.
std::string CharacterFloatText(float v);

}  // namespace tova
