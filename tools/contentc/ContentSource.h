// The content compiler's source language, one statement a line ('#' at the
// start of a line is a comment):
//
//   file GameData/UIText.iff        resources below go into this file
//   raw TYPE ID ["label"]           a resource of any type given as bytes:
//     4F 42 4A 44 ...                 hex bytes on the lines that follow
//   end
//   strings ID ["label"]            a 'STR#' string table
//     language 1                      texts below are of this language (1-20)
//     "text" ["comment"]              one entry, in UTF-8
//   end
//
//   tree, constants, functions, slots, drawgroup, floats: behaviour data
//                                   blocks, see BehaviorSources.h
//
// TYPE is four characters, quoted with '' when it holds a space or '#'.
// Texts take \" \\ \n and \t escapes.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "resfile/TypeCode.h"

struct ContentEntry {
  std::string text;
  std::string comment;
};

struct ContentResource {
  ResType type = 0;
  int16_t id = 0;
  std::string label;
  std::vector<uint8_t> bytes;                          // raw resources
  std::map<int, std::vector<ContentEntry>> languages;  // string tables, by language id
  bool isStrings = false;
  std::string where;  // source file and line, for messages
};

struct ContentFile {
  std::string path;  // relative to the data root
  std::vector<ContentResource> resources;
};

class ContentSource {
 public:
  // Parses one source; false with a "file:line: message" error.
  bool Parse(const std::string& sourcePath, const std::string& text, std::string& error);
  std::vector<ContentFile>& Files() { return mFiles; }

 private:
  std::vector<ContentFile> mFiles;
};

// Writes every file into the data root (each through a temporary file that
// replaces the old one); false with an error.
bool WriteContent(std::vector<ContentFile>& files, const std::string& root, std::string& error);
