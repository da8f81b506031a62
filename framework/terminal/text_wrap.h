// Breaking text into lines of a given width, as a static control or a
// message box shows it: at line feeds, between words, and inside a word that
// is wider than the whole line.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace corvane::ui::terminal {

std::vector<std::string> WrapText(std::string_view text, int width);

// The widest line of `lines`, in characters.
int WidestLine(const std::vector<std::string>& lines);

}  // namespace corvane::ui::terminal
