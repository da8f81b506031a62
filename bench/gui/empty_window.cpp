// The floor: the least an FLTK program does to put one window on the screen.
#include <FL/Fl.H>
#include <FL/Fl_Window.H>

#include <cstdlib>

int main(int argc, char** argv) {
  const int width = argc > 2 ? std::atoi(argv[1]) : 360;
  const int height = argc > 2 ? std::atoi(argv[2]) : 160;
  Fl_Window window(width, height, "empty");
  window.show();
  return Fl::run();
}
