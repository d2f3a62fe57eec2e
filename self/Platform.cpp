#include "Platform.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <initializer_list>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

#include "Counterparts.h"
#include "LauncherTexts.h"

namespace ventis::self {
namespace {

bool HasDisplay() {
  const char* x = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x != nullptr && *x != '\0') || (wayland != nullptr && *wayland != '\0');
}

// PATH lookup done here rather than by execvp, so that a missing program can
// be told apart from one that ran and failed.
std::string FindProgram(const char* name) {
  const char* path = std::getenv("PATH");
  std::string dirs = (path != nullptr && *path != '\0') ? path : "/usr/bin:/bin";
  std::size_t start = 0;
  while (start <= dirs.size()) {
    std::size_t end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    std::string candidate = dirs.substr(start, end - start);
    if (!candidate.empty()) {
      candidate += '/';
      candidate += name;
      struct stat st {};
      if (stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
          access(candidate.c_str(), X_OK) == 0) {
        return candidate;
      }
    }
    start = end + 1;
  }
  return {};
}

void WriteAll(int fd, const char* text, std::size_t size) {
  while (size > 0) {
    ssize_t n = write(fd, text, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    text += n;
    size -= static_cast<std::size_t>(n);
  }
}

void WriteAll(int fd, const char* text) { WriteAll(fd, text, std::strlen(text)); }

// Runs ARGV[0] (a full path) and waits. A close-on-exec pipe tells the parent
// whether the exec itself worked, so "could not be started" is exact.
bool Run(const std::vector<const char*>& argv, int* exitStatus = nullptr) {
  std::fflush(nullptr);
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) return false;
  pid_t pid = fork();
  if (pid < 0) {
    close(report[0]);
    close(report[1]);
    return false;
  }
  if (pid == 0) {
    close(report[0]);
    execv(argv[0], const_cast<char* const*>(argv.data()));
    int error = errno;
    WriteAll(report[1], reinterpret_cast<const char*>(&error), sizeof error);
    _exit(127);
  }
  close(report[1]);
  int error = 0;
  ssize_t got;
  do {
    got = read(report[0], &error, sizeof error);
  } while (got < 0 && errno == EINTR);
  close(report[0]);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (exitStatus != nullptr) *exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return got == 0;
}

bool HasOwnTerminal() {
  int tty = open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (tty < 0) return false;
  close(tty);
  return true;
}

void WaitForKey(int tty) {
  termios saved {};
  bool restore = tcgetattr(tty, &saved) == 0;
  if (restore) {
    termios raw = saved;
    raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    tcsetattr(tty, TCSANOW, &raw);
  }
  char key;
  while (read(tty, &key, 1) < 0 && errno == EINTR) {
  }
  if (restore) tcsetattr(tty, TCSANOW, &saved);
}

}  // namespace

bool PathExists(const char* path) { return access(path, F_OK) == 0; }

bool IsReadableFile(const char* path) {
  struct stat st {};
  return stat(path, &st) == 0 && S_ISREG(st.st_mode) && access(path, R_OK) == 0;
}

void CreateTempFolder(const char* path) {
  if (geteuid() == 0) mkdir(path, 0700);
}

int OpenTrustedFolder(const char* path) {
  int fd = open(path, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return -1;
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != 0 ||
      (st.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

std::FILE* CreateExecutableIn(int folder, const char* name) {
  int fd = openat(folder, name, O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0700);
  if (fd < 0) return nullptr;
  struct stat st {};
  // One name, ours, a plain file: nothing else is truncated through it.
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != geteuid() ||
      st.st_nlink != 1 || ftruncate(fd, 0) != 0 || fchmod(fd, 0700) != 0) {
    close(fd);
    return nullptr;
  }
  std::FILE* stream = fdopen(fd, "w+b");
  if (stream == nullptr) close(fd);
  return stream;
}

void MessageBox(BoxKind kind, const char* caption, const char* text) {
  if (HasDisplay()) {
    const Counterparts& c = kLinux;
    const bool error = kind == BoxKind::Error;
    for (const char* name : c.dialogPrograms) {
      std::string program = FindProgram(name);
      if (program.empty()) continue;
      std::string title = std::string("--title=") + caption;
      std::string body = std::string("--text=") + text;
      std::vector<const char*> argv;
      if (std::strcmp(name, "zenity") == 0) {
        argv = {program.c_str(), error ? "--error" : "--warning", "--no-markup",
                title.c_str(), body.c_str(), nullptr};
      } else if (std::strcmp(name, "kdialog") == 0) {
        argv = {program.c_str(), "--title", caption, error ? "--error" : "--sorry", text, nullptr};
      } else {
        argv = {program.c_str(), "-center", "-title", caption, "-buttons", "OK", text, nullptr};
      }
      // A dialog program that could not reach the display says so in its
      // exit status (xmessage's OK button is 101); then the next one tries,
      // and at the end the line on stderr.
      int status = -1;
      const int okStatus = std::strcmp(name, "xmessage") == 0 ? 101 : 0;
      if (Run(argv, &status) && status == okStatus) return;
    }
  }
  std::fflush(stdout);
  std::string line = std::string(caption) + ": " + text + "\n";
  WriteAll(STDERR_FILENO, line.c_str(), line.size());
}

void ShowNoticeAndWaitForKey(const char* sentence) {
  std::fflush(nullptr);
  int tty = open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (tty >= 0) {
    WriteAll(tty, sentence);
    WriteAll(tty, "\n");
    WriteAll(tty, texts::kPressAnyKey);
    WaitForKey(tty);
    WriteAll(tty, "\n");
    close(tty);
    return;
  }
  if (!HasDisplay()) return;
  std::string terminal = FindProgram(kLinux.terminalProgram);
  if (terminal.empty()) return;
  static constexpr char kScript[] =
      "printf '%s\\n%s' \"$1\" \"$2\"; s=$(stty -g); stty -icanon -echo min 1; "
      "dd bs=1 count=1 >/dev/null 2>&1; stty \"$s\"";
  Run({terminal.c_str(), "-e", kLinux.shell, "-c", kScript, "sh", sentence,
       texts::kPressAnyKey, nullptr});
}

bool RunAndWait(const char* path) {
  // The installer shows its progress: in the launcher's terminal when it has
  // one, else in a terminal window of its own on the desktop.
  if (!HasOwnTerminal() && HasDisplay()) {
    std::string terminal = FindProgram(kLinux.terminalProgram);
    if (!terminal.empty() && access(path, X_OK) == 0) {
      return Run({terminal.c_str(), "-e", path, nullptr});
    }
  }
  return Run({path, nullptr});
}

void StartDetached(const char* path) {
  std::fflush(nullptr);
  pid_t pid = fork();
  if (pid < 0) return;
  if (pid == 0) {
    // The middle process leaves at once, so the application belongs to init
    // and outlives the launcher without becoming its zombie.
    setsid();
    if (fork() == 0) {
      const char* argv[] = {path, nullptr};
      execv(path, const_cast<char* const*>(argv));
    }
    _exit(0);
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
}

void ElevateIfNeeded(const char* package) {
  if (geteuid() == 0 || !HasDisplay()) return;
  std::string pkexec = FindProgram(kLinux.elevationProgram);
  char resolved[PATH_MAX];
  char cwd[PATH_MAX];
  if (pkexec.empty() || realpath(package, resolved) == nullptr || getcwd(cwd, sizeof cwd) == nullptr) {
    return;
  }
  // pkexec starts its program in root's home with a bare environment; the
  // log belongs where the user started Ventis, and the windows on the user's
  // display.
  std::vector<std::string> settings = {std::string("--chdir=") + cwd};
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "XAUTHORITY", "XDG_RUNTIME_DIR"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') settings.push_back(std::string(name) + "=" + value);
  }
  const char* home = std::getenv("HOME");
  if (std::getenv("XAUTHORITY") == nullptr && home != nullptr) {
    std::string cookie = std::string(home) + "/.Xauthority";
    if (access(cookie.c_str(), R_OK) == 0) settings.push_back("XAUTHORITY=" + cookie);
  }
  std::vector<const char*> argv = {pkexec.c_str(), kLinux.envProgram};
  for (const std::string& s : settings) argv.push_back(s.c_str());
  argv.push_back(resolved);
  argv.push_back(nullptr);
  std::fflush(nullptr);
  execv(argv[0], const_cast<char* const*>(argv.data()));
}

}  // namespace ventis::self
