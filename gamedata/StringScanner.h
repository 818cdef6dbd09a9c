#pragma once
// Character sources for the small text parsers (menu descriptions and the
// key-value lists): CharScanner hands out one character at a time and knows
// the line it is on; StringScanner reads a NUL-terminated text in memory.

#include <cstdint>
#include <string>

namespace tova {

class CharScanner {
 public:
  virtual ~CharScanner() = default;
  // The next character; 0 at the end of the text.
  virtual int GetChar() = 0;
  virtual int GetLine() const = 0;
};

class StringScanner : public CharScanner {
 public:
  // The scanner keeps its own copy of the text.
  explicit StringScanner(std::string text) : text_(std::move(text)) {}

  // A carriage return counts two half-lines and marks the text as one with
  // carriage-return line ends; a line feed is not counted, so a text with
  // line-feed ends alone stays on line 0.
  int GetChar() override;
  // The line counter, halved when the text's lines end in carriage returns.
  int GetLine() const override { return lineEndKind_ == 3 ? lineCounter_ / 2 : lineCounter_; }

 private:
  std::string text_;
  size_t position_ = 0;
  int lineEndKind_ = 0;
  int lineCounter_ = 0;
};

}  // namespace tova
