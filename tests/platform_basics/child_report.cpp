// Started by the WinExec tests: child_report <report file> <seconds> [args...]
// Writes its process ids and every argument (each ended by a NUL) to the
// report file, complete or not at all, then sleeps for <seconds>.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  const std::string report = argv[1];
  const std::string partial = report + ".partial";
  {
    std::ofstream out(partial, std::ios::binary);
    out << "pid=" << getpid() << '\n'
        << "ppid=" << getppid() << '\n'
        << "pgid=" << getpgrp() << '\n'
        << "sid=" << getsid(0) << '\n'
        << "args=" << (argc - 3) << '\n';
    for (int i = 3; i < argc; ++i) out << argv[i] << '\0';
  }
  if (std::rename(partial.c_str(), report.c_str()) != 0) return 1;
  sleep(static_cast<unsigned>(std::atoi(argv[2])));
  return 0;
}
