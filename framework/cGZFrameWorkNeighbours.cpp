#include "framework/cGZFrameWorkNeighbours.h"

namespace {

cGZFrameWorkProviders gProviders;

}  // namespace

void RZSetFrameWorkProviders(const cGZFrameWorkProviders& providers) { gProviders = providers; }

const cGZFrameWorkProviders& RZGetFrameWorkProviders() { return gProviders; }
