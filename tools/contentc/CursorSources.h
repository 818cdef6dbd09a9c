// Cursor descriptions: small text files that make the program's cursor
// files from PNG pictures. Each line is a keyword and its values; '#' starts
// a comment.
//
//   file arrow.cur      output name, written to Res/UI/Shared/Sys/
//   image arrow.png     the picture (RGBA; alpha 0 is transparent), beside
//                       the description
//   hotspot 0 0         the pointer's hot pixel
#pragma once

#include <cstdint>
#include <string>

struct CursorDescription {
    std::string file;
    std::string image;  // full path once parsed
    int32_t hotX = 0;
    int32_t hotY = 0;
};

// False, with "name:line: reason" in error, for a bad description.
bool ParseCursor(const std::string& name, const std::string& text, CursorDescription& out, std::string& error);
// Reads the picture and writes the cursor file under root/Res/UI/Shared/Sys/.
bool WriteCursor(const CursorDescription& cursor, const std::string& root, std::string& error);
