// One ordered record of everything a program showed or did in a test: the
// scripted window system's windows and the calls that service fakes record.
#pragma once
#include <string>
#include <vector>

namespace corvane::script {

class Transcript {
 public:
  Transcript();
  ~Transcript();
  Transcript(const Transcript&) = delete;
  Transcript& operator=(const Transcript&) = delete;

  void Add(std::string line);
  const std::vector<std::string>& Lines() const { return lines_; }
  // All lines, one per line, for failure messages.
  std::string Text() const;
  // True when `expected` occur in this order (other lines may stand between).
  bool HasInOrder(const std::vector<std::string>& expected) const;
  bool Has(const std::string& line) const;
  // Lines that start with `prefix`.
  std::vector<std::string> Matching(const std::string& prefix) const;

  // The transcript of the test running now (the most recent one alive).
  static Transcript* Current();

 private:
  std::vector<std::string> lines_;
  Transcript* previous_;
};

// Adds a line to the current transcript, if there is one.
void Record(std::string line);

}  // namespace corvane::script
