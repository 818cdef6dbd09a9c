#include "platform/TextFile.h"

namespace platform {

std::string FromTextMode(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
    out += bytes[i];
  }
  return out;
}

namespace {

// Converts with the state of the previous chunk (was its last byte '\r'?).
std::string Convert(std::string_view text, LineEnd lineEnd, bool& lastWasCr) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (char c : text) {
    if (c == '\n' && lineEnd == LineEnd::kCrLf && !lastWasCr) out += '\r';
    out += c;
    lastWasCr = c == '\r';
  }
  return out;
}

}  // namespace

std::string ToTextMode(std::string_view text, LineEnd lineEnd) {
  bool lastWasCr = false;
  return Convert(text, lineEnd, lastWasCr);
}

std::optional<std::string> ReadTextFile(std::string_view path) {
  File file;
  if (!file.Open(path, File::kRead, File::Disposition::kOpenExisting)) return std::nullopt;
  std::string bytes;
  if (!file.ReadToEnd(bytes)) return std::nullopt;
  return FromTextMode(bytes);
}

bool WriteTextFile(std::string_view path, std::string_view text, LineEnd lineEnd) {
  TextFileWriter writer;
  if (!writer.Open(path, lineEnd)) return false;
  const bool ok = writer.Write(text);
  return writer.Close() && ok;
}

bool TextFileReader::Open(std::string_view path) {
  buffer_.clear();
  pos_ = 0;
  eof_ = false;
  return file_.Open(path, File::kRead, File::Disposition::kOpenExisting);
}

bool TextFileReader::Fill() {
  if (eof_ || !file_.IsOpen()) return false;
  char chunk[16 * 1024];
  const int64_t n = file_.Read(chunk, sizeof chunk);
  if (n <= 0) {
    eof_ = true;
    return false;
  }
  buffer_.erase(0, pos_);
  pos_ = 0;
  buffer_.append(chunk, static_cast<size_t>(n));
  return true;
}

bool TextFileReader::ReadLine(std::string& line) {
  for (;;) {
    const size_t nl = buffer_.find('\n', pos_);
    if (nl != std::string::npos) {
      size_t end = nl;
      if (end > pos_ && buffer_[end - 1] == '\r') --end;
      line.assign(buffer_, pos_, end - pos_);
      pos_ = nl + 1;
      return true;
    }
    if (!Fill()) break;
  }
  if (pos_ >= buffer_.size()) return false;
  line.assign(buffer_, pos_, std::string::npos);  // last line without a line end
  pos_ = buffer_.size();
  return true;
}

bool TextFileWriter::Open(std::string_view path, LineEnd lineEnd, bool append) {
  lineEnd_ = lineEnd;
  lastWasCr_ = false;
  const auto disposition = append ? File::Disposition::kOpenAlways : File::Disposition::kCreateAlways;
  if (!file_.Open(path, File::kRead | File::kWrite, disposition)) return false;
  if (append) {
    const int64_t size = file_.Size();
    if (size > 0) {
      char last = 0;
      if (file_.ReadAt(&last, 1, size - 1) == 1) lastWasCr_ = last == '\r';
    }
    file_.Seek(0, File::Origin::kEnd);
  }
  return true;
}

bool TextFileWriter::Write(std::string_view text) {
  if (!file_.IsOpen()) return false;
  const std::string out = Convert(text, lineEnd_, lastWasCr_);
  return file_.Write(out.data(), out.size()) == static_cast<int64_t>(out.size());
}

bool TextFileWriter::WriteLine(std::string_view line) {
  return Write(line) && Write("\n");
}

}  // namespace platform
