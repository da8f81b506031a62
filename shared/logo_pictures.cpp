#include "shared/logo_pictures.h"

// The picture files, embedded at build time (res/logo.ico, res/logo.bmp).
extern const unsigned char corvane_logo_ico[];
extern const std::size_t corvane_logo_ico_size;
extern const unsigned char corvane_logo_bmp[];
extern const std::size_t corvane_logo_bmp_size;

namespace corvane::shared {

res::Picture LogoIcon(int id, WORD language) {
  return res::Picture{id, language, corvane_logo_ico, corvane_logo_ico_size};
}

res::Picture LogoBitmap(int id, WORD language) {
  return res::Picture{id, language, corvane_logo_bmp, corvane_logo_bmp_size};
}

}  // namespace corvane::shared
