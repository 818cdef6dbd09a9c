#pragma once
// A person's name made safe as part of a log file's name in the current
// folder: path separators and control characters become '_'.

#include <string>

namespace tova {

std::string SafeLogName(const std::string& name);

}  // namespace tova
