#include "edit_line.h"

#include <algorithm>

namespace corvane::ui::terminal {

void EditLine::SetText(const std::string& text) {
  text_ = text;
  cursor_ = 0;
  scroll_ = 0;
  allSelected_ = false;
}

void EditLine::SetLimit(int maxChars) { limit_ = maxChars > 0 ? maxChars : 0x7FFFFFFE; }

void EditLine::SelectAll() {
  allSelected_ = true;
  cursor_ = static_cast<int>(text_.size());
}

bool EditLine::DropSelection() {
  if (!AllSelected()) {
    allSelected_ = false;
    return false;
  }
  text_.clear();
  cursor_ = 0;
  scroll_ = 0;
  allSelected_ = false;
  return true;
}

bool EditLine::Type(char latin1) {
  DropSelection();
  if (static_cast<int>(text_.size()) >= limit_) return false;
  text_.insert(text_.begin() + cursor_, latin1);
  ++cursor_;
  return true;
}

void EditLine::Backspace() {
  if (DropSelection() || cursor_ == 0) return;
  text_.erase(static_cast<std::size_t>(cursor_ - 1), 1);
  --cursor_;
}

void EditLine::Delete() {
  if (DropSelection() || cursor_ >= static_cast<int>(text_.size())) return;
  text_.erase(static_cast<std::size_t>(cursor_), 1);
}

void EditLine::Left() {
  allSelected_ = false;
  cursor_ = std::max(0, cursor_ - 1);
}

void EditLine::Right() {
  allSelected_ = false;
  cursor_ = std::min(static_cast<int>(text_.size()), cursor_ + 1);
}

void EditLine::Home() {
  allSelected_ = false;
  cursor_ = 0;
}

void EditLine::End() {
  allSelected_ = false;
  cursor_ = static_cast<int>(text_.size());
}

int EditLine::ScrollFor(int width) {
  if (width < 1) return scroll_ = cursor_;
  // The cursor may stand just behind the last character, so it needs a cell
  // of its own at the right edge.
  if (cursor_ < scroll_) scroll_ = cursor_;
  if (cursor_ >= scroll_ + width) scroll_ = cursor_ - width + 1;
  int textEnd = static_cast<int>(text_.size());
  scroll_ = std::max(0, std::min(scroll_, std::max(0, textEnd - width + 1)));
  scroll_ = std::min(scroll_, cursor_);
  return scroll_;
}

}  // namespace corvane::ui::terminal
