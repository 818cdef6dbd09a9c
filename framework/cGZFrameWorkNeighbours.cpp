#include "framework/cGZFrameWorkNeighbours.h"

#include <cstdio>

namespace {

cGZFrameWorkProviders gProviders;

}  // namespace

void RZSetFrameWorkProviders(const cGZFrameWorkProviders& providers) { gProviders = providers; }

const cGZFrameWorkProviders& RZGetFrameWorkProviders() { return gProviders; }
