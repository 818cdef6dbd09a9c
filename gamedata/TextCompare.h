#pragma once
// ASCII letters compared without case; other bytes (code-page text) exactly.

#include "platform/Path.h"

namespace tova {

using platform::EqualsNoCase;

}  // namespace tova
