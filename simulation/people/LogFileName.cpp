#include "simulation/people/LogFileName.h"

namespace tova {

std::string SafeLogName(const std::string& name) {
  std::string out = name;
  for (char& c : out) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (c == '/' || c == '\\' || c == ':' || u < 0x20 || u == 0x7F) c = '_';
  }
  // A name of dots alone would climb out of the folder.
  if (out.find_first_not_of('.') == std::string::npos && !out.empty()) out.assign(out.size(), '_');
  return out;
}

}  // namespace tova
