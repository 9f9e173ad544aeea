#include "model/block.h"

void computePrecision(WorkingSet&) {}
