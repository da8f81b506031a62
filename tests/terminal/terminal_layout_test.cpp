// The rules the terminal window system draws by: dialog units to cells, the
// tab order, wrapping, the edit line, message box layout and picture shading.
#include <gtest/gtest.h>

#include "cell_layout.h"
#include "edit_line.h"
#include "message_box.h"
#include "picture_cells.h"
#include "text_wrap.h"

namespace corvane::ui::terminal {
namespace {

res::ControlTemplate Button(int id, DWORD style, int x, int y, int cx, int cy) {
  return {id, res::ControlKind::PushButton, "B", WS_CHILD | WS_VISIBLE | style, x, y, cx, cy};
}

res::DialogTemplate Dialog(int cx, int cy, std::vector<res::ControlTemplate> controls) {
  res::DialogTemplate dialog{};
  dialog.style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  dialog.cx = cx;
  dialog.cy = cy;
  dialog.controls = std::move(controls);
  return dialog;
}

TEST(CellLayout, DialogUnitsBecomeCellsOfFourByEightRounded) {
  // The launcher's main window: 242 x 77 units, OK at 185,10 50 x 14.
  CellLayout layout = LayoutFromTemplate(Dialog(242, 77, {Button(IDOK, WS_TABSTOP, 185, 10, 50, 14)}));
  EXPECT_EQ(layout.frame.width, 61 + 2);
  EXPECT_EQ(layout.frame.height, 10 + 2);
  EXPECT_TRUE(layout.closeBox);
  const CellRect& ok = layout.controls[0].rect;
  EXPECT_EQ(ok.col, 1 + 46);  // (185 + 2) / 4, inside the left border
  EXPECT_EQ(ok.row, 1 + 1);   // (10 + 4) / 8, below the caption
  EXPECT_EQ(ok.cols, 13);
  EXPECT_EQ(ok.rows, 2);
}

TEST(CellLayout, ControlsStayInsideTheClientArea) {
  CellLayout layout = LayoutFromTemplate(Dialog(40, 16, {Button(1, 0, 30, 8, 40, 40), Button(2, 0, 1, 1, 1, 1)}));
  const CellRect& overhanging = layout.controls[0].rect;
  EXPECT_EQ(overhanging.col + overhanging.cols, layout.client.col + layout.client.cols);
  EXPECT_EQ(overhanging.row + overhanging.rows, layout.client.row + layout.client.rows);
  // Smaller than a cell still gets one.
  EXPECT_EQ(layout.controls[1].rect.cols, 1);
  EXPECT_EQ(layout.controls[1].rect.rows, 1);
}

TEST(CellLayout, TabOrderFollowsTemplateOrderAndWraps) {
  CellLayout layout = LayoutFromTemplate(
      Dialog(100, 50, {Button(1, WS_TABSTOP, 0, 0, 8, 8), Button(-1, 0, 0, 0, 8, 8),
                       Button(3, WS_TABSTOP, 0, 0, 8, 8), Button(4, WS_TABSTOP, 0, 0, 8, 8)}));
  struct Case {
    int from, step, expected;
  } cases[] = {{0, +1, 2}, {2, +1, 3}, {3, +1, 0}, {0, -1, 3}, {2, -1, 0}, {-1, +1, 0}, {-1, -1, 3}};
  for (const Case& c : cases) {
    EXPECT_EQ(NextTabStop(layout, c.from, c.step), c.expected) << "from " << c.from << " step " << c.step;
  }
  EXPECT_EQ(NextTabStop(LayoutFromTemplate(Dialog(100, 50, {Button(-1, 0, 0, 0, 8, 8)})), -1, +1), -1);
}

res::ControlTemplate Text(const char* text, int x, int y, int cx, int cy, DWORD style = 0) {
  return {IDC_STATIC, res::ControlKind::Static, text, WS_CHILD | WS_VISIBLE | style, x, y, cx, cy};
}

bool Overlap(const CellRect& a, const CellRect& b) {
  return a.row < b.row + b.rows && b.row < a.row + a.rows && a.col < b.col + b.cols && b.col < a.col + a.cols;
}

TEST(CellLayout, StaticTextGrowsOverFreeCellsUntilItFits) {
  // The launcher's waiting window: texts measured in a proportional font
  // are too long for their rectangles in cells.
  CellLayout waiting = LayoutFromTemplate(Dialog(177, 55, {Text("Waiting for connection.", 65, 15, 78, 8),
                                                           Button(-1, 0, 7, 7, 50, 40),
                                                           Text("This may take a few moments...", 65, 30, 105, 8)}));
  for (std::size_t i : {0u, 2u}) {
    const CellControl& text = waiting.controls[i];
    std::vector<std::string> lines = WrapText(text.text, text.room.cols);
    EXPECT_LE(static_cast<int>(lines.size()), text.room.rows) << text.text;
    EXPECT_LE(text.room.col + text.room.cols, waiting.client.col + waiting.client.cols);
    EXPECT_FALSE(Overlap(text.room, waiting.controls[1].rect)) << text.text;
  }
  EXPECT_FALSE(Overlap(waiting.controls[0].room, waiting.controls[2].room));

  // Beside a button the text stops one blank cell short of it; a centred
  // text keeps its own rectangle.
  CellLayout main = LayoutFromTemplate(Dialog(242, 77, {Text("This will connect you via SLIP", 70, 10, 40, 8),
                                                        Button(IDOK, WS_TABSTOP, 185, 10, 50, 14),
                                                        Text("centred", 70, 40, 20, 8, SS_CENTER)}));
  EXPECT_EQ(main.controls[0].room.col + main.controls[0].room.cols, main.controls[1].rect.col - 1);
  EXPECT_EQ(main.controls[2].room.cols, main.controls[2].rect.cols);
}

TEST(WrapText, BreaksAtLineFeedsBetweenWordsAndInsideLongWords) {
  struct Case {
    const char* text;
    int width;
    std::vector<std::string> lines;
  } cases[] = {
      {"", 10, {""}},
      {"fits exactly", 12, {"fits exactly"}},
      {"This will connect you via SLIP to your device", 28, {"This will connect you via", "SLIP to your device"}},
      {"Invalid URL.\nPlease check", 40, {"Invalid URL.", "Please check"}},
      {"one\r\ntwo\n\nfour", 10, {"one", "two", "", "four"}},
      {"http://192.168.100.200/index.html", 12, {"http://192.1", "68.100.200/i", "ndex.html"}},
      {"a  b", 10, {"a b"}},
  };
  for (const Case& c : cases) EXPECT_EQ(WrapText(c.text, c.width), c.lines) << c.text;
}

TEST(EditLine, TypingStopsAtTheLimitAndASelectionIsReplaced) {
  EditLine edit;
  edit.SetText("old");
  edit.SelectAll();
  EXPECT_TRUE(edit.Type('n'));
  EXPECT_EQ(edit.Text(), "n");
  edit.SetLimit(3);
  EXPECT_TRUE(edit.Type('e'));
  EXPECT_TRUE(edit.Type('w'));
  EXPECT_FALSE(edit.Type('!'));
  EXPECT_EQ(edit.Text(), "new");
  edit.Home();
  edit.Delete();
  edit.End();
  edit.Backspace();
  EXPECT_EQ(edit.Text(), "e");
  edit.SelectAll();
  edit.Backspace();
  EXPECT_EQ(edit.Text(), "");
  // A text longer than the limit, set by the program, is kept whole.
  edit.SetText("longer than three");
  EXPECT_EQ(edit.Text(), "longer than three");
}

TEST(EditLine, ScrollingKeepsTheCursorInView) {
  EditLine edit;
  edit.SetText("0123456789");
  edit.End();
  EXPECT_EQ(edit.ScrollFor(5), 6);  // "6789" and the cursor cell
  edit.Home();
  EXPECT_EQ(edit.ScrollFor(5), 0);
  for (int i = 0; i < 5; ++i) edit.Right();
  EXPECT_EQ(edit.ScrollFor(5), 1);
  edit.SetText("ab");
  edit.End();
  EXPECT_EQ(edit.ScrollFor(5), 0);
}

TEST(MessageBoxLayout, TextLinesAndButtonsOfEachKind) {
  Size screen{80, 25};
  std::optional<CellLayout> ok =
      LayoutMessageBox("Invalid URL.\nPlease check your URL setting and try again.", "Corvane", MB_OK, screen);
  ASSERT_TRUE(ok);
  ASSERT_EQ(ok->controls.size(), 3u);
  EXPECT_EQ(ok->controls[0].text, "Invalid URL.");
  EXPECT_EQ(ok->controls[1].text, "Please check your URL setting and try again.");
  EXPECT_EQ(ok->controls[2].id, IDOK);
  EXPECT_TRUE(ok->controls[2].defaultButton);
  EXPECT_TRUE(ok->closeBox);

  std::optional<CellLayout> yesNo = LayoutMessageBox("Go on?", "Corvane", MB_YESNO, screen);
  ASSERT_TRUE(yesNo);
  ASSERT_EQ(yesNo->controls.size(), 3u);
  EXPECT_EQ(yesNo->controls[1].id, IDYES);
  EXPECT_TRUE(yesNo->controls[1].defaultButton);
  EXPECT_EQ(yesNo->controls[2].id, IDNO);
  EXPECT_FALSE(yesNo->closeBox);
  EXPECT_EQ(DefaultButton(MB_YESNO), IDYES);

  EXPECT_FALSE(LayoutMessageBox("text", "Corvane", 0x2 /* abort, retry, ignore */, screen));
}

TEST(MessageBoxLayout, StaysWithinASmallScreen) {
  std::string longText(500, 'x');
  for (std::size_t i = 7; i < longText.size(); i += 8) longText[i] = ' ';
  Size screen{40, 12};
  std::optional<CellLayout> box = LayoutMessageBox(longText, "Corvane", MB_OK, screen);
  ASSERT_TRUE(box);
  EXPECT_LE(box->frame.width, screen.width);
  EXPECT_LE(box->frame.height, screen.height);
}

TEST(MessageBoxAnswer, EscapeAnswersOnlyBoxesThatCanBeDeclined) {
  struct Case {
    UINT type;
    int afterEscape;
  } cases[] = {{MB_OK, IDOK}, {MB_OKCANCEL, IDCANCEL}, {MB_YESNO, 0}};
  for (const Case& c : cases) {
    MessageBoxAnswer answer(c.type);
    answer.OnEscape();
    EXPECT_EQ(answer.Result(), c.afterEscape) << c.type;
    answer.OnEnter(IDNO);
    EXPECT_EQ(answer.Result(), IDNO);
  }
}

TEST(PictureCells, InkFollowsDarknessAndTransparency) {
  res::Image image;
  image.width = 4;
  image.height = 2;
  // Black, white, transparent black, mid grey; two rows alike.
  image.pixels = {0xFF000000, 0xFFFFFFFF, 0x00000000, 0xFF808080, 0xFF000000, 0xFFFFFFFF, 0x00000000, 0xFF808080};
  ShadedBlock block = ShadeImage(image, 4, 1);
  ASSERT_EQ(block.levels.size(), 4u);
  EXPECT_EQ(block.At(0, 0), 4);
  EXPECT_EQ(block.At(0, 1), 0);
  EXPECT_EQ(block.At(0, 2), 0);
  EXPECT_EQ(block.At(0, 3), 2);
  EXPECT_TRUE(ShadeImage(image, 0, 1).levels.empty());
}

}  // namespace
}  // namespace corvane::ui::terminal
