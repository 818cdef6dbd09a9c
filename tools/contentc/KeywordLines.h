// The line walk the small description sources share (tones, cursors): each
// line is a keyword and its values, '#' starts a comment, blank lines are
// skipped. Errors name the source and the line.
#pragma once

#include <functional>
#include <sstream>
#include <string>

enum class KeywordResult { kTaken, kBadValue, kUnknown };

// Calls `take` for each keyword line with the stream of its values. On a bad
// value or an unknown keyword it fills `error` ("NAME:LINE: why") and stops;
// `lines` is the number of lines read either way.
bool ForEachKeywordLine(const std::string& name, const std::string& text, int& lines, std::string& error,
                        const std::function<KeywordResult(const std::string& key, std::istringstream& values)>& take);
