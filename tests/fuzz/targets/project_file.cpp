#include "fuzz/FuzzTargets.h"
#include "fuzz/targets/FuzzMain.h"

TL_FUZZ_TARGET(LoadProjectFile)
