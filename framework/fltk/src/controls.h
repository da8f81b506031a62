// The controls a dialog template can hold, drawn the way Windows 95 draws
// them: push buttons (the default one with its heavier frame), static texts
// that wrap inside their rectangles, pictures, and edit fields (Fl_Input).
#pragma once
#include <FL/Fl_Button.H>
#include <FL/Fl_RGB_Image.H>
#include <FL/Fl_Widget.H>

#include <memory>
#include <string>

namespace corvane::ui::fltkws {

class PushButton : public Fl_Button {
 public:
  PushButton(int x, int y, int w, int h, const std::string& text, bool isDefault);
  bool IsDefault() const { return isDefault_; }
  void SetText(const std::string& text);
  const std::string& Text() const { return text_; }

 protected:
  void draw() override;
  int handle(int event) override;

 private:
  // Windows moves the heavy frame to a push button while it has the focus;
  // the template's default button carries it otherwise.
  bool ShowsAsDefault() const;
  void RedrawSiblingButtons();

  std::string text_;
  bool isDefault_;
};

// Text drawn as given: no '@' symbols, no '&' prefixes (a URL may hold both).
class StaticText : public Fl_Widget {
 public:
  StaticText(int x, int y, int w, int h, const std::string& text, bool centred, Fl_Font face,
             int size);
  void SetText(const std::string& text);
  const std::string& Text() const { return text_; }

 protected:
  void draw() override;

 private:
  int FittingSize() const;

  std::string text_;
  bool centred_;
};

// A bitmap at its own size from the control's top-left corner, as an
// SS_BITMAP static shows it; a framed box when the picture is missing.
class PictureBox : public Fl_Widget {
 public:
  PictureBox(int x, int y, int w, int h, std::unique_ptr<Fl_RGB_Image> picture);

 protected:
  void draw() override;

 private:
  std::unique_ptr<Fl_RGB_Image> picture_;
};

}  // namespace corvane::ui::fltkws
