// Declares the effect's parameters and registers the module panel's custom interface.
#pragma once

#include "AE_Effect.h"

// Answers the parameter-setup command: declares the 150 parameters of the parameter table in
// order and sets the parameter count to 151. A parameter the host refuses ends setup with the
// host's error (the count is not set). A failure to make the module panel's default or to
// register its interface does not stop setup; it is returned after the last parameter.
PF_Err ParamsSetup(PF_InData* in_data, PF_OutData* out_data);
