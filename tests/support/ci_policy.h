// Tests that need root, network namespaces or an X server skip where they
// cannot run, except under CI=true: there a skip would hide that they never ran.
#pragma once

namespace corvane::testing {

bool SkippingForbidden();

}  // namespace corvane::testing
