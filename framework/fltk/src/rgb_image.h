// Decoded resource pictures as FLTK images.
#pragma once
#include <FL/Fl_RGB_Image.H>

#include <memory>

#include "framework/image.h"

namespace corvane::ui::fltkws {

// An image that owns its pixels. `keepAlpha` keeps transparency (icons);
// bitmaps are opaque.
std::unique_ptr<Fl_RGB_Image> ToFltkImage(const res::Image& image, bool keepAlpha);

}  // namespace corvane::ui::fltkws
