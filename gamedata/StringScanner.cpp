#include "gamedata/StringScanner.h"

namespace tova {

int StringScanner::GetChar() {
  // The text ends at its first NUL as well as at its end.
  if (position_ >= text_.size() || text_[position_] == '\0') return 0;
  int c = static_cast<unsigned char>(text_[position_++]);
  if (c == '\r') {
    lineCounter_ += 2;
    lineEndKind_ |= 3;
  }
  return c;
}

}  // namespace tova
