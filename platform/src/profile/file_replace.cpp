#include "profile/file_replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>

namespace platform::real {
namespace {

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) {
      int saved = errno;
      ::close(fd_);
      errno = saved;
    }
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  // Closes now and reports the result, which can carry a late write error.
  bool Close() {
    int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

bool WriteAll(int fd, const std::string& contents) {
  std::size_t done = 0;
  while (done < contents.size()) {
    ssize_t n = ::write(fd, contents.data() + done, contents.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

std::string DirectoryOf(const std::string& path) {
  std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// The file a write really goes to: the target of a symbolic link, so the link
// itself survives the rename.
std::string WriteTarget(const std::string& path) {
  struct stat info;
  if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
  std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr), &std::free);
  return resolved ? std::string(resolved.get()) : path;
}

// A name beside the target that no other writer (thread or process) picks.
std::string TemporaryNameFor(const std::string& target) {
  static std::atomic<unsigned> counter{0};
  std::size_t slash = target.find_last_of('/');
  std::string directory = slash == std::string::npos ? "" : target.substr(0, slash + 1);
  std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
  return directory + "." + name + ".new-" + std::to_string(::getpid()) + "-" +
         std::to_string(counter++);
}

void SyncDirectory(const std::string& directory) {
  Descriptor dir(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  // The rename has happened; a directory that cannot be synced does not undo it.
  if (dir.get() >= 0) ::fsync(dir.get());
}

bool WriteTemporary(int fd, const std::string& target, const std::string& contents) {
  struct stat old;
  if (::stat(target.c_str(), &old) == 0) {
    if (::fchmod(fd, old.st_mode & 07777) != 0) return false;
    // Only root may give a file away; for anybody else the owner is theirs anyway.
    [[maybe_unused]] int ignored = ::fchown(fd, old.st_uid, old.st_gid);
    if (::fchmod(fd, old.st_mode & 07777) != 0) return false;  // fchown may clear set-id bits
  } else if (errno != ENOENT) {
    return false;
  }
  return WriteAll(fd, contents) && ::fsync(fd) == 0;
}

}  // namespace

std::optional<std::string> ReadFileIfPresent(const std::string& path) {
  Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.get() < 0) {
    if (errno == ENOENT) return std::string();
    return std::nullopt;
  }
  std::string contents;
  char chunk[8192];
  for (;;) {
    ssize_t n = ::read(file.get(), chunk, sizeof chunk);
    if (n < 0) {
      if (errno == EINTR) continue;
      return std::nullopt;
    }
    if (n == 0) return contents;
    contents.append(chunk, static_cast<std::size_t>(n));
  }
}

bool ReplaceFile(const std::string& path, const std::string& contents) {
  const std::string target = WriteTarget(path);
  const std::string temporary = TemporaryNameFor(target);
  Descriptor file(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
  if (file.get() < 0) return false;
  if (!WriteTemporary(file.get(), target, contents) || !file.Close() ||
      ::rename(temporary.c_str(), target.c_str()) != 0) {
    int saved = errno;
    ::unlink(temporary.c_str());
    errno = saved;
    return false;
  }
  SyncDirectory(DirectoryOf(target));
  return true;
}

}  // namespace platform::real
