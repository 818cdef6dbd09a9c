#include "framework/ReadFloatQuad.h"

#include <cctype>

std::istream& ReadFloatQuad(std::istream& in, float values[4]) {
  char c = 0;
  do {
    if (!in.get(c)) return in;
  } while (std::isspace(static_cast<unsigned char>(c)));
  if (c != '|') {
    in.putback(c);
    for (int i = 0; i < 4; ++i) in >> values[i];
    return in;
  }
  for (int i = 0; i < 4; ++i) in >> values[i];
  char last = 0;
  while (in.good() && in.get(last) && std::isspace(static_cast<unsigned char>(last))) {
  }
  if (last != '|') in.clear(std::ios::badbit);
  return in;
}
