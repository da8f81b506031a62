#include "framework/transcript.h"

#include <algorithm>

namespace corvane::script {
namespace {
Transcript* current = nullptr;
}

Transcript::Transcript() : previous_(current) { current = this; }

Transcript::~Transcript() {
  if (current == this) current = previous_;
}

void Transcript::Add(std::string line) { lines_.push_back(std::move(line)); }

std::string Transcript::Text() const {
  std::string text;
  for (const std::string& line : lines_) text += "  " + line + "\n";
  return text;
}

bool Transcript::HasInOrder(const std::vector<std::string>& expected) const {
  auto at = lines_.begin();
  for (const std::string& want : expected) {
    at = std::find(at, lines_.end(), want);
    if (at == lines_.end()) return false;
    ++at;
  }
  return true;
}

bool Transcript::Has(const std::string& line) const {
  return std::find(lines_.begin(), lines_.end(), line) != lines_.end();
}

std::vector<std::string> Transcript::Matching(const std::string& prefix) const {
  std::vector<std::string> found;
  for (const std::string& line : lines_) {
    if (line.rfind(prefix, 0) == 0) found.push_back(line);
  }
  return found;
}

Transcript* Transcript::Current() { return current; }

void Record(std::string line) {
  if (Transcript* transcript = Transcript::Current()) transcript->Add(std::move(line));
}

}  // namespace corvane::script
