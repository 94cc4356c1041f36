// A failure the user is told about in words. Thrown from anywhere within a command, it reaches
// the entry point's guard, which prints the message into the host's return-message buffer with
// PF_OutFlag_DISPLAY_ERROR_MESSAGE set and returns the code as the command's error. Everything
// the command holds is released on the way by the scoped holders.
#pragma once

#include <string>

#include "A.h"

struct UserMessageError {
    A_Err code;
    // What went wrong and what the user can change about it; cut to the host's buffer.
    std::string message;
};
