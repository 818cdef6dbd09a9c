#include "framework/cGZSystemService.h"
