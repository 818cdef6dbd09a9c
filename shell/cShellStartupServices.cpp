#include "shell/cShellStartupServices.h"

namespace tova {

cShellStartupServices::cShellStartupServices(Progress progress) : mProgress(std::move(progress)) {}

cShellStartupServices::~cShellStartupServices() = default;

void cShellStartupServices::ReportProgress(uint32_t code, const char* text) {
    if (mProgress) mProgress(code, text);
}

}  // namespace tova
