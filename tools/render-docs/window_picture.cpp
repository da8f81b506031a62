#include "window_picture.h"

#include <FL/Fl.H>
#include <FL/Fl_Image_Surface.H>
#include <FL/Fl_RGB_Image.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>
#include <FL/x.H>
#include <X11/Xutil.h>

#include <algorithm>
#include <memory>

namespace corvane::docs {
namespace {

constexpr int kBorder = 3;    // a dialog frame: two bevels and one face line
constexpr int kCaption = 18;  // caption bar height, its 1-pixel gap included

void Bevel(int x, int y, int w, int h, Fl_Color topLeft, Fl_Color bottomRight) {
  fl_color(topLeft);
  fl_xyline(x, y, x + w - 1);
  fl_yxline(x, y, y + h - 1);
  fl_color(bottomRight);
  fl_xyline(x, y + h - 1, x + w - 1);
  fl_yxline(x + w - 1, y, y + h - 1);
}

void CloseBox(int right, int top) {
  const int w = 16, h = 14, x = right - w, y = top;
  fl_rectf(x, y, w, h, fl_rgb_color(192, 192, 192));
  Bevel(x, y, w, h, FL_WHITE, FL_BLACK);
  Bevel(x + 1, y + 1, w - 2, h - 2, fl_rgb_color(223, 223, 223), fl_rgb_color(128, 128, 128));
  fl_color(FL_BLACK);
  for (int i = 0; i < 6; ++i) {  // the cross, two pixels wide
    fl_rectf(x + 4 + i, y + 3 + i, 2, 1);
    fl_rectf(x + 9 - i, y + 3 + i, 2, 1);
  }
}

}  // namespace

RgbPicture GrabWindow(const Fl_Window& window) {
  RgbPicture picture;
  XSync(fl_display, False);
  // Where the server has it, which is not always where FLTK asked for it.
  XWindowAttributes attributes{};
  const ::Window xid = fl_xid(&window);
  if (!XGetWindowAttributes(fl_display, xid, &attributes)) return picture;
  int x = 0, y = 0;
  ::Window child;
  XTranslateCoordinates(fl_display, xid, RootWindow(fl_display, fl_screen), 0, 0, &x, &y, &child);
  const int width = attributes.width, height = attributes.height;
  XImage* image = XGetImage(fl_display, RootWindow(fl_display, fl_screen), x, y, width, height,
                            AllPlanes, ZPixmap);
  if (!image) return picture;
  picture.width = width;
  picture.height = height;
  picture.rgb.reserve(static_cast<std::size_t>(width) * height * 3);
  for (int row = 0; row < height; ++row) {
    for (int column = 0; column < width; ++column) {
      const unsigned long pixel = XGetPixel(image, column, row);
      picture.rgb.push_back((pixel >> 16) & 0xFF);
      picture.rgb.push_back((pixel >> 8) & 0xFF);
      picture.rgb.push_back(pixel & 0xFF);
    }
  }
  XDestroyImage(image);
  return picture;
}

RgbPicture Framed(const RgbPicture& client, const std::string& caption, bool closeBox) {
  const int w = client.width + 2 * kBorder, h = client.height + 2 * kBorder + kCaption;
  Fl_Image_Surface surface(w, h);
  surface.set_current();
  fl_rectf(0, 0, w, h, fl_rgb_color(192, 192, 192));
  Bevel(0, 0, w, h, fl_rgb_color(223, 223, 223), FL_BLACK);
  Bevel(1, 1, w - 2, h - 2, FL_WHITE, fl_rgb_color(128, 128, 128));
  const int barX = kBorder, barY = kBorder, barW = w - 2 * kBorder, barH = kCaption - 1;
  fl_rectf(barX, barY, barW, barH, fl_rgb_color(0, 0, 128));
  fl_font(FL_HELVETICA_BOLD, 11);
  fl_color(FL_WHITE);
  fl_draw(caption.c_str(), barX + 3, barY + (barH + fl_height()) / 2 - fl_descent());
  if (closeBox) CloseBox(barX + barW - 2, barY + 2);
  Fl_RGB_Image inside(client.rgb.data(), client.width, client.height, 3);
  inside.draw(kBorder, kBorder + kCaption);
  std::unique_ptr<Fl_RGB_Image> drawn(surface.image());
  Fl_Display_Device::display_device()->set_current();

  RgbPicture framed;
  if (!drawn || drawn->d() < 3) return framed;
  framed.width = drawn->w();
  framed.height = drawn->h();
  const auto* bytes = static_cast<const std::uint8_t*>(static_cast<const void*>(drawn->data()[0]));
  const int depth = drawn->d();
  const int stride = drawn->ld() ? drawn->ld() : framed.width * depth;
  for (int y = 0; y < framed.height; ++y)
    for (int x = 0; x < framed.width; ++x)
      for (int c = 0; c < 3; ++c) framed.rgb.push_back(bytes[y * stride + x * depth + c]);
  return framed;
}

}  // namespace corvane::docs
