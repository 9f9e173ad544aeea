#include "model/block.h"

void computeEstimates(WorkingSet&) {}
