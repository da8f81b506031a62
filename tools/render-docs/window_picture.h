// A window as a person sees it: what the program drew in it, read back from
// the X server, inside a Windows 95 dialog frame with its caption bar (there
// is no window manager on the server the pictures are taken on).
#pragma once
#include <string>

#include "png_file.h"

class Fl_Window;

namespace corvane::docs {

// The pixels of a shown window as the server shows them on the screen.
RgbPicture GrabWindow(const Fl_Window& window);

// `client` framed, captioned, and with a close box where the window has one.
RgbPicture Framed(const RgbPicture& client, const std::string& caption, bool closeBox);

}  // namespace corvane::docs
