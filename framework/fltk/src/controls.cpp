#include "controls.h"

#include <FL/Fl.H>
#include <FL/Fl_Group.H>
#include <FL/fl_draw.H>

namespace corvane::ui::fltkws {

PushButton::PushButton(int x, int y, int w, int h, const std::string& text, bool isDefault)
    : Fl_Button(x, y, w, h), isDefault_(isDefault) {
  box(FL_UP_BOX);
  down_box(FL_DOWN_BOX);
  SetText(text);
}

void PushButton::SetText(const std::string& text) {
  text_ = text;
  copy_label(text_.c_str());
}

bool PushButton::ShowsAsDefault() const {
  const Fl_Widget* focus = Fl::focus();
  if (focus == this) return true;
  const bool focusOnButton = focus && focus->window() == window() &&
                             dynamic_cast<const PushButton*>(focus) != nullptr;
  return isDefault_ && !focusOnButton;
}

void PushButton::draw() {
  int x0 = x(), y0 = y(), w0 = w(), h0 = h();
  if (ShowsAsDefault()) {
    fl_color(FL_BLACK);
    fl_rect(x0, y0, w0, h0);
    ++x0, ++y0, w0 -= 2, h0 -= 2;
  }
  const bool pressed = value() != 0;
  const Fl_Boxtype frame = pressed ? down_box() : box();
  draw_box(frame, x0, y0, w0, h0, color());
  const int shift = pressed ? 1 : 0;  // the label sinks with the button
  draw_label(x0 + shift, y0 + shift, w0, h0);
  if (Fl::focus() == this) draw_focus(frame, x0, y0, w0, h0);
}

int PushButton::handle(int event) {
  const int handled = Fl_Button::handle(event);
  if (event == FL_FOCUS || event == FL_UNFOCUS) RedrawSiblingButtons();
  return handled;
}

void PushButton::RedrawSiblingButtons() {
  Fl_Group* group = parent();
  if (!group) return;
  for (int i = 0; i < group->children(); ++i) {
    if (dynamic_cast<PushButton*>(group->child(i))) group->child(i)->redraw();
  }
}

StaticText::StaticText(int x, int y, int w, int h, const std::string& text, bool centred,
                       Fl_Font face, int size)
    : Fl_Widget(x, y, w, h), text_(text), centred_(centred) {
  box(FL_FLAT_BOX);
  labelfont(face);
  labelsize(size);
  clear_visible_focus();
}

void StaticText::SetText(const std::string& text) {
  text_ = text;
  redraw();
}

int StaticText::FittingSize() const {
  // The templates were laid out for MS Sans Serif; a stand-in face runs a
  // little wider, and a text that fitted its rectangle there must not lose
  // its last line here. Such a text is drawn a size or two smaller.
  constexpr int kSmallest = 8;
  int size = labelsize();
  for (; size > kSmallest; --size) {
    fl_font(labelfont(), size);
    int width = w(), height = 0;
    fl_measure(text_.c_str(), width, height, 0);
    // The last line's descenders may be clipped, as Windows clips them.
    if (height <= h() + fl_descent() && width <= w()) break;
  }
  return size;
}

void StaticText::draw() {
  draw_box();
  fl_font(labelfont(), FittingSize());
  fl_color(active_r() ? labelcolor() : fl_inactive(labelcolor()));
  const Fl_Align align = FL_ALIGN_TOP | FL_ALIGN_INSIDE | FL_ALIGN_WRAP | FL_ALIGN_CLIP |
                         (centred_ ? FL_ALIGN_CENTER : FL_ALIGN_LEFT);
  fl_push_clip(x(), y(), w(), h());
  fl_draw(text_.c_str(), x(), y(), w(), h(), align, nullptr, 0);
  fl_pop_clip();
}

PictureBox::PictureBox(int x, int y, int w, int h, std::unique_ptr<Fl_RGB_Image> picture)
    : Fl_Widget(x, y, w, h), picture_(std::move(picture)) {
  box(FL_NO_BOX);
  clear_visible_focus();
  if (picture_) size(picture_->w(), picture_->h());
}

void PictureBox::draw() {
  if (picture_) {
    picture_->draw(x(), y());
    return;
  }
  draw_box(FL_ENGRAVED_FRAME, x(), y(), w(), h(), color());
}

}  // namespace corvane::ui::fltkws
