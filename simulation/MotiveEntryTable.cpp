#include "simulation/MotiveEntryTable.h"

namespace tova {

namespace {
std::vector<MotiveEntry>* gSharedEntries = nullptr;
}  // namespace

std::vector<MotiveEntry>* SharedMotiveEntries() { return gSharedEntries; }
void SetSharedMotiveEntries(std::vector<MotiveEntry>* entries) { gSharedEntries = entries; }

}  // namespace tova
