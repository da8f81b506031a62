#include "dialog_window.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>
#include <FL/x.H>

#include <algorithm>

#include "rgb_image.h"

namespace corvane::ui::fltkws {
namespace {

// What Windows gives an edit field that was never limited.
constexpr int kDefaultEditLimit = 30000;

// FLTK keeps a widget's argument() and its callback data in one slot; the
// slot holds the control id, and the host is found through the window.
void OnButtonCallback(Fl_Widget* widget, void*) {
  if (auto* window = dynamic_cast<DialogWindow*>(widget->window()))
    window->Host().OnButton(static_cast<int>(widget->argument()));
}

std::unique_ptr<Fl_RGB_Image> LoadBitmap(const res::ResourceModule& module, int bitmapId) {
  const res::Picture* picture = module.FindBitmap(bitmapId);
  if (!picture) return nullptr;
  auto decoded = res::DecodeBmp(picture->bytes, picture->size);
  return decoded ? ToFltkImage(*decoded, false) : nullptr;
}

int PictureId(const res::ControlTemplate& control) {
  if (control.imageId) return control.imageId;
  // A script names the picture as its text, "#134".
  const std::string& text = control.text;
  if (text.size() > 1 && text[0] == '#') return std::atoi(text.c_str() + 1);
  return std::atoi(text.c_str());
}

}  // namespace

DialogWindow::DialogWindow(int w, int h, const res::DialogTemplate& dialog, DialogHost& host)
    : Fl_Double_Window(w, h), host_(host), closeBox_(dialog.HasCloseBox()) {
  copy_label(dialog.caption.c_str());
  box(FL_FLAT_BOX);
  callback(&DialogWindow::OnWindowCallback, this);
}

void DialogWindow::PlaceAt(int x, int y) {
  position(x, y);
  force_position(1);  // FLTK would otherwise choose a place of its own
}

int DialogWindow::FocusedControlId() const {
  const Fl_Widget* focus = Fl::focus();
  if (!focus || focus == this || focus->window() != this) focus = focusControl_;
  return focus ? static_cast<int>(focus->argument()) : 0;
}

void DialogWindow::SetFocusControl(Fl_Widget* widget) {
  focusControl_ = widget;
  if (shown()) RestoreFocus();
}

void DialogWindow::RestoreFocus() {
  if (focusControl_) focusControl_->take_focus();
}

bool DialogWindow::HandleKey() {
  // Shortcuts travel to every window; act only on keys typed into this one.
  const Session* session = Session::Current();
  if (session && session->KeyWindow() != this) return false;
  if (Fl::event_state() & (FL_CTRL | FL_ALT | FL_META)) return false;
  switch (Fl::event_key()) {
    case FL_Escape:
      host_.OnEscape();
      return true;
    case FL_Enter:
    case FL_KP_Enter:
      host_.OnEnter(FocusedControlId());
      return true;
    case FL_F + 1:
      host_.OnHelpKey();
      return true;
    default:
      return false;
  }
}

int DialogWindow::handle(int event) {
  if ((event == FL_KEYBOARD || event == FL_SHORTCUT) && HandleKey()) return 1;
  if (event == FL_FOCUS && focusControl_ && focusControl_->take_focus()) return 1;
  const int handled = Fl_Double_Window::handle(event);
  const Fl_Widget* focus = Fl::focus();
  if (focus && focus != this && focus->window() == this) focusControl_ = const_cast<Fl_Widget*>(focus);
  return handled;
}

void DialogWindow::draw() {
  painting_ = true;
  host_.OnPaint();
  painting_ = false;
}

void DialogWindow::OnWindowCallback(Fl_Widget* widget, void* data) {
  auto* window = static_cast<DialogWindow*>(data);
  if (Fl::event() == FL_CLOSE) {
    // Without a system menu there is no close box; a delete request that a
    // window manager sends anyway changes nothing.
    if (window->closeBox_) window->host_.OnCloseBox();
    return;
  }
  // FLTK's own Escape fallback: the host decides, as for the key itself.
  if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape) window->host_.OnEscape();
}

FltkDialog::FltkDialog(Session& session, const res::DialogTemplate& dialog,
                       const res::ResourceModule& module, DialogHost& host)
    : session_(session) {
  const DialogFont& font = session.Font(dialog.pointSize);
  role_.closeBox = dialog.HasCloseBox();
  role_.applicationWindow = dialog.WantsTaskbarEntry();
  window_ = new DialogWindow(font.units.ToPixelsX(dialog.cx), font.units.ToPixelsY(dialog.cy),
                             dialog, host);
  window_->begin();
  for (const res::ControlTemplate& control : dialog.controls) AddControl(control, module, font);
  window_->end();
  // Until the framework places it, the focus is on the first tab stop.
  for (int i = 0; i < window_->children(); ++i) {
    Fl_Widget* child = window_->child(i);
    if (child->visible_focus()) {
      window_->SetFocusControl(child);
      break;
    }
  }
}

FltkDialog::~FltkDialog() {
  session_.Gone(window_);
  window_->hide();
  XFlush(session_.display());  // gone from the screen even if nothing is dispatched
  Fl::delete_widget(window_);
}

void FltkDialog::AddControl(const res::ControlTemplate& control, const res::ResourceModule& module,
                            const DialogFont& font) {
  const BaseUnits& u = font.units;
  const int x = u.ToPixelsX(control.x), y = u.ToPixelsY(control.y);
  const int w = u.ToPixelsX(control.cx), h = u.ToPixelsY(control.cy);
  Fl_Widget* widget = nullptr;
  switch (control.kind) {
    case res::ControlKind::PushButton: {
      auto* button = new PushButton(x, y, w, h, control.text, control.IsDefaultButton());
      button->callback(&OnButtonCallback);
      widget = button;
      break;
    }
    case res::ControlKind::Static:
      widget = new StaticText(x, y, w, h, control.text, control.IsCentred(), font.face, font.pixels);
      break;
    case res::ControlKind::Picture:
      widget = new PictureBox(x, y, w, h, LoadBitmap(module, PictureId(control)));
      break;
    case res::ControlKind::Edit: {
      auto* input = new Fl_Input(x, y, w, h);
      input->textfont(font.face);
      input->textsize(font.pixels);
      input->maximum_size(kDefaultEditLimit);
      widget = input;
      break;
    }
  }
  widget->argument(control.id);
  widget->labelfont(font.face);
  widget->labelsize(font.pixels);
  if (!control.IsTabStop()) widget->clear_visible_focus();
}

Fl_Widget* FltkDialog::Control(int controlId) const {
  for (int i = 0; i < window_->children(); ++i) {
    if (window_->child(i)->argument() == controlId) return window_->child(i);
  }
  return nullptr;
}

Size FltkDialog::FrameSize() const { return {window_->w(), window_->h()}; }

void FltkDialog::MoveTo(int x, int y) { window_->PlaceAt(x, y); }

void FltkDialog::Show() {
  const bool first = !window_->shown();
  window_->show();
  if (first) {
    // Before anything flushes: the window manager reads these with the map.
    const ::Window xid = fl_xid(window_);
    session_.roles().Apply(xid, role_);
    session_.roles().KeepContents(xid);
    ApplyIcons();
  }
  session_.Shown(window_);
  window_->wait_for_expose();
  Fl::flush();
  session_.roles().Focus(fl_xid(window_));
  window_->RestoreFocus();
  XSync(session_.display(), False);  // drawn on the server when we return
}

std::string FltkDialog::ControlText(int controlId) const {
  Fl_Widget* widget = Control(controlId);
  if (auto* input = dynamic_cast<Fl_Input*>(widget)) return input->value();
  if (auto* text = dynamic_cast<StaticText*>(widget)) return text->Text();
  if (auto* button = dynamic_cast<PushButton*>(widget)) return button->Text();
  return {};
}

void FltkDialog::SetControlText(int controlId, const std::string& text) {
  Fl_Widget* widget = Control(controlId);
  if (auto* input = dynamic_cast<Fl_Input*>(widget)) {
    // The limit holds for loaded text too, not only for typing and paste.
    const std::size_t limit = static_cast<std::size_t>(input->maximum_size());
    input->value(text.substr(0, std::min(limit, text.size())).c_str());
  } else if (auto* label = dynamic_cast<StaticText*>(widget)) {
    label->SetText(text);
  } else if (auto* button = dynamic_cast<PushButton*>(widget)) {
    button->SetText(text);
  }
}

void FltkDialog::LimitText(int controlId, int maxChars) {
  auto* input = dynamic_cast<Fl_Input*>(Control(controlId));
  if (!input) return;
  if (maxChars <= 0) maxChars = 0x7FFFFFFE;  // 0 lifts the limit, as EM_LIMITTEXT does
  input->maximum_size(maxChars);
  const std::string current = input->value();
  if (current.size() > static_cast<std::size_t>(maxChars)) input->value(current.substr(0, maxChars).c_str());
}

void FltkDialog::SetFocus(int controlId) {
  Fl_Widget* widget = Control(controlId);
  if (widget && widget->visible_focus()) window_->SetFocusControl(widget);
}

void FltkDialog::SetIcon(IconSize which, const res::Image* icon) {
  icons_[which == IconSize::Big ? 1 : 0] = icon ? ToFltkImage(*icon, true) : nullptr;
  ApplyIcons();
}

void FltkDialog::ApplyIcons() {
  const Fl_RGB_Image* images[2];
  int count = 0;
  for (const auto& icon : icons_) {
    if (icon) images[count++] = icon.get();
  }
  window_->icons(images, count);  // FLTK copies them
}

bool FltkDialog::IsIconic() const { return window_->shown() && !window_->visible(); }

RECT FltkDialog::ClientRect() const { return RECT{0, 0, window_->w(), window_->h()}; }

void FltkDialog::PaintDefault() {
  if (window_->Painting()) window_->DrawDefault();
}

void FltkDialog::EraseIconBackground() {
  if (!window_->Painting()) return;
  fl_rectf(0, 0, window_->w(), window_->h(), window_->color());
}

void FltkDialog::DrawIcon(int x, int y, const res::Image& icon) {
  if (!window_->Painting()) return;
  if (auto image = ToFltkImage(icon, true)) image->draw(x, y);
}

}  // namespace corvane::ui::fltkws
