// cRZIniFile: reads and writes Windows-style ini files ("[section]" headers
// and "key=value" lines) with the private-profile rules: section and key
// names compare without regard to case, names and values are trimmed, the
// first matching section and key win, a write creates what is missing, an
// empty value deletes the key, and a missing file reads as an empty one.
// Writes replace the file atomically and use CRLF line ends.
#pragma once

#include <functional>

#include "framework/cRZString.h"

class cRZIniFile {
 public:
  using KeyCallback = std::function<void(const cRZString& key, const cRZString& value, void* user)>;
  using SectionCallback =
      std::function<void(const cRZString& section, const cRZString& key, const cRZString& value, void* user)>;

  cRZIniFile() = default;
  explicit cRZIniFile(const cRZString& path) : mPath(path) {}
  virtual ~cRZIniFile() = default;

  virtual void SetPath(const cRZString& path) { mPath = path; }
  virtual cRZString GetPath() const { return mPath; }
  // False when the section or key is empty or the file cannot be written.
  virtual bool WriteString(const cRZString& section, const cRZString& key, const cRZString& value);
  // "" and false for a missing key.
  virtual bool ReadString(const cRZString& section, const cRZString& key, cRZString& value) const;
  // Calls back for each key of the section with its value; false when the
  // section has no keys.
  virtual bool ForEachKey(const cRZString& section, const KeyCallback& callback, void* user) const;
  // Calls back for each key of each section; a section without keys is
  // reported once with an empty key and value. False when there are no
  // sections.
  virtual bool ForEachSection(const SectionCallback& callback, void* user) const;

 private:
  cRZString mPath;
};
