// Words for RAS connection states and error codes, for people reading a
// status line or an error message.
#pragma once
#include <string>

#include "win32/types.h"

namespace dialup {

std::string StateName(DWORD rasconnstate);
std::string ErrorText(DWORD rasError);

}  // namespace dialup
