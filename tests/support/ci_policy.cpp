#include "ci_policy.h"

#include <cstdlib>
#include <cstring>

namespace corvane::testing {

bool SkippingForbidden() {
  const char* ci = std::getenv("CI");
  return ci && std::strcmp(ci, "true") == 0;
}

}  // namespace corvane::testing
