// Reads a value of four floats written plainly ("1 2 3 4") or between bars
// ("| 1 2 3 4 |"), as the character library's text files hold them. A
// missing closing bar leaves the stream bad; an unreadable float leaves it
// failed.
#pragma once

#include <istream>

std::istream& ReadFloatQuad(std::istream& in, float values[4]);
