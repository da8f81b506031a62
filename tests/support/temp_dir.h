// A directory of the test's own, removed with everything in it at the end.
#pragma once
#include <string>

namespace corvane::testing {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }
  void Write(const std::string& name, const std::string& content) const;
  std::string Read(const std::string& name) const;  // "" when missing
  bool Exists(const std::string& name) const;

 private:
  std::string path_;
};

}  // namespace corvane::testing
