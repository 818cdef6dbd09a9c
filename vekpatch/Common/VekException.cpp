#include "vekpatch/Common/VekException.h"

#include "vekpatch/Common/LanguageResources.h"

namespace vek {

void RaiseVek(uint32_t code, int stringId, const char* source, int32_t line,
              std::initializer_list<std::string> texts, std::initializer_list<int64_t> numbers) {
  throw VekGenericException(code, LanguageMessage(stringId, texts, numbers), source, line);
}

}  // namespace vek
