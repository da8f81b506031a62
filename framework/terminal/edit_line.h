// The text of a single-line edit field and what the keys do to it: a cursor,
// a limit on the length, horizontal scrolling to keep the cursor in view, and
// the whole-text selection a field gets when the keyboard moves into it.
#pragma once
#include <string>

namespace corvane::ui::terminal {

class EditLine {
 public:
  const std::string& Text() const { return text_; }
  // Replaces the text as a program sets it; the limit is for typing only.
  void SetText(const std::string& text);
  void SetLimit(int maxChars);
  void SelectAll();
  bool AllSelected() const { return allSelected_ && !text_.empty(); }

  // Returns false when the character was refused (the field is full).
  bool Type(char latin1);
  void Backspace();
  void Delete();
  void Left();
  void Right();
  void Home();
  void End();

  int Cursor() const { return cursor_; }
  // The first character shown in a field `width` characters wide, chosen so
  // the cursor stays inside it; remembered so the view only moves when the
  // cursor leaves it.
  int ScrollFor(int width);

 private:
  bool DropSelection();  // true when a selection was deleted

  std::string text_;
  int cursor_ = 0;
  int scroll_ = 0;
  int limit_ = 0x7FFFFFFE;
  bool allSelected_ = false;
};

}  // namespace corvane::ui::terminal
