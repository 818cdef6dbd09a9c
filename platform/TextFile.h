// Text-mode files: the game's text tables, ini files and headers may carry
// Windows line ends. Reading drops the '\r' of every "\r\n"; writing turns
// each '\n' into the line end the caller chooses.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/File.h"

namespace platform {

enum class LineEnd { kLf, kCrLf };

// "\r\n" becomes "\n"; a lone '\r' is kept.
std::string FromTextMode(std::string_view bytes);
// Every '\n' becomes `lineEnd`; an existing "\r\n" is not doubled.
std::string ToTextMode(std::string_view text, LineEnd lineEnd);

// The whole file in text mode, or nothing when it cannot be read.
std::optional<std::string> ReadTextFile(std::string_view path);
// Replaces the file with `text` written with the given line ends.
bool WriteTextFile(std::string_view path, std::string_view text, LineEnd lineEnd);

// Line-by-line reading in text mode.
class TextFileReader {
 public:
  bool Open(std::string_view path);
  bool IsOpen() const { return file_.IsOpen(); }
  void Close() { file_.Close(); }
  // The next line without its line end; false at the end of the file.
  bool ReadLine(std::string& line);

 private:
  bool Fill();

  File file_;
  std::string buffer_;
  size_t pos_ = 0;
  bool eof_ = false;
};

// Appending text with a chosen line end.
class TextFileWriter {
 public:
  // Creates or empties the file (`append` keeps what is there and writes after it).
  bool Open(std::string_view path, LineEnd lineEnd, bool append = false);
  bool IsOpen() const { return file_.IsOpen(); }
  bool Close() { return file_.Close(); }
  bool Write(std::string_view text);
  bool WriteLine(std::string_view line);

 private:
  File file_;
  LineEnd lineEnd_ = LineEnd::kLf;
  bool lastWasCr_ = false;
};

}  // namespace platform
