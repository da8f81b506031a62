// The product logo both programs carry: icon 128 and bitmap 134.
#pragma once
#include "framework/resources.h"

namespace corvane::shared {
res::Picture LogoIcon(int id, WORD language);
res::Picture LogoBitmap(int id, WORD language);
}  // namespace corvane::shared
