// The real launcher against real package files. The whole test process runs
// in a private mount namespace; each test lays tmpfs over the temporary
// folder's parent and over the marker folder, so the launcher uses its fixed
// paths for real and nothing outside the namespace changes.
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <poll.h>
#include <pty.h>
#include <sched.h>
#include <string>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "Counterparts.h"
#include "PackageLayout.h"

namespace {

using namespace std::chrono_literals;
using ventis::self::kLinux;

constexpr int kSkip = 77;
const std::string kScratch = "/var/tmp/launcher-test";
const std::string kCwd = kScratch + "/cwd";
const std::string kFolder = kLinux.tempFolder;
const std::string kApplicationFile = kFolder + "/" + kLinux.applicationName;
const std::string kInstallerFile = kFolder + "/" + kLinux.installerName;

constexpr char kNotice[] =
    "Ventis.exe relies on winpcap.Please install winpcap according to the prompt "
    "and we advise you shut down the anti-virus software.";
constexpr char kNotInstalled[] = "Error: Sorry,you haven't installed winpcap! \n";
constexpr char kRepeated[] = "Warning: Don't execute Ventis repeatedly at the same time!\n";

std::string Parent(const std::string& path) { return path.substr(0, path.rfind('/')); }

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::string& path, const std::string& bytes, mode_t mode = 0700) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
  chmod(path.c_str(), mode);
}

bool Exists(const std::string& path) {
  struct stat st {};
  return lstat(path.c_str(), &st) == 0;
}

bool WaitFor(const std::string& path, std::chrono::milliseconds limit = 5s) {
  auto end = std::chrono::steady_clock::now() + limit;
  while (!Exists(path)) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(10ms);
  }
  return true;
}

std::vector<std::string> Entries(const std::string& dir) {
  std::vector<std::string> names;
  if (DIR* d = opendir(dir.c_str())) {
    while (dirent* e = readdir(d)) {
      std::string name = e->d_name;
      if (name != "." && name != "..") names.push_back(name);
    }
    closedir(d);
  }
  return names;
}

struct Start {
  std::string program = kScratch + "/Ventis.run";
  std::string argv0 = {};       // empty: same as program
  std::string path = "/usr/bin:/bin";
  bool searchPath = false;      // start by bare name through PATH
  bool terminal = false;        // give it a controlling terminal, answer the key prompt
  rlim_t dataLimit = 0;
};

struct Outcome {
  int exitCode = -1;
  std::string out, err, terminal;
  bool noticeShown = false;
  bool waitedForKey = false;         // still running when the key was due
  bool installerRanBeforeKey = false;
};

void Drain(int fd, std::string& into) {
  char chunk[4096];
  for (;;) {
    ssize_t n = read(fd, chunk, sizeof chunk);
    if (n <= 0) return;
    into.append(chunk, static_cast<std::size_t>(n));
  }
}

// Runs the launcher with no display and, unless asked, no terminal, and
// collects what it writes until it has exited. The started application
// inherits the pipes, so exit, not end of file, ends the run.
Outcome RunLauncher(const Start& start) {
  Outcome outcome;
  int out[2], err[2];
  if (pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0) return outcome;
  int master = -1, slave = -1;
  if (start.terminal && openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) return outcome;
  pid_t pid = fork();
  if (pid == 0) {
    setsid();
    int in = slave;
    if (start.terminal) {
      ioctl(slave, TIOCSCTTY, 0);
    } else {
      in = open("/dev/null", O_RDONLY);
    }
    dup2(in, 0);
    dup2(out[1], 1);
    dup2(err[1], 2);
    if (chdir(kCwd.c_str()) != 0) _exit(120);
    if (start.dataLimit != 0) {
      rlimit limit{start.dataLimit, start.dataLimit};
      setrlimit(RLIMIT_DATA, &limit);
    }
    clearenv();
    setenv("PATH", start.path.c_str(), 1);
    std::string argv0 = start.argv0.empty() ? start.program : start.argv0;
    char* argv[] = {argv0.data(), nullptr};
    if (start.searchPath) {
      execvp(argv0.c_str(), argv);
    } else {
      execv(start.program.c_str(), argv);
    }
    _exit(121);
  }
  close(out[1]);
  close(err[1]);
  if (slave >= 0) close(slave);
  for (int fd : {out[0], err[0], master}) {
    if (fd >= 0) fcntl(fd, F_SETFL, O_NONBLOCK);
  }
  auto deadline = std::chrono::steady_clock::now() + 20s;
  std::chrono::steady_clock::time_point noticeAt{};
  bool keySent = false;
  int status = 0;
  for (;;) {
    pollfd fds[] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}, {master, POLLIN, 0}};
    poll(fds, master >= 0 ? 3 : 2, 10);
    Drain(out[0], outcome.out);
    Drain(err[0], outcome.err);
    if (master >= 0) Drain(master, outcome.terminal);
    pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid) break;
    if (master >= 0 && !keySent && outcome.terminal.find(kNotice) != std::string::npos) {
      if (noticeAt == std::chrono::steady_clock::time_point{}) noticeAt = std::chrono::steady_clock::now();
      if (std::chrono::steady_clock::now() - noticeAt > 300ms) {
        outcome.waitedForKey = true;
        outcome.installerRanBeforeKey = Exists(kCwd + "/installer-ran");
        if (write(master, "k", 1) == 1) keySent = true;
      }
    }
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      ADD_FAILURE() << "launcher did not end; terminal so far: " << outcome.terminal;
      break;
    }
  }
  Drain(out[0], outcome.out);
  Drain(err[0], outcome.err);
  if (master >= 0) Drain(master, outcome.terminal);
  for (int fd : {out[0], err[0], master}) {
    if (fd >= 0) close(fd);
  }
  outcome.noticeShown = outcome.terminal.find(kNotice) != std::string::npos;
  outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return outcome;
}

class Launcher : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(Parent(kLinux.firstMarker), Parent(kLinux.secondMarker));
    for (const std::string& dir : {Parent(kFolder), Parent(kLinux.firstMarker)}) {
      ASSERT_EQ(mount("launcher-test", dir.c_str(), "tmpfs", 0, "mode=0755"), 0)
          << dir << ": " << std::strerror(errno);
      mounted_.push_back(dir);
      // The marker folder comes first in the library path: from here on only
      // static programs run, and everything above is already loaded.
      if (dir == Parent(kFolder)) BuildPackages();
    }
    ASSERT_EQ(mkdir(kCwd.c_str(), 0755), 0);
  }

  void TearDown() override {
    unlink((kCwd + "/hold").c_str());
    std::this_thread::sleep_for(30ms);
    for (auto it = mounted_.rbegin(); it != mounted_.rend(); ++it) umount2(it->c_str(), MNT_DETACH);
  }

  // Packages are built by the real builder while its shared libraries are
  // still in sight.
  void BuildPackages() {
    mkdir(kScratch.c_str(), 0755);
    struct Variant {
      const char* name;
      const char* installer;
    };
    for (Variant v : {Variant{"Ventis.run", INSTALLER_MARKERS}, Variant{"none.run", INSTALLER_NONE},
                      Variant{"fails.run", INSTALLER_FAILS}}) {
      std::string command = std::string(VENTIS_PACK) + " --launcher " + LAUNCHER + " --application " +
                            FAKE_APPLICATION + " --installer " + v.installer + " -o " + kScratch + "/" +
                            v.name;
      ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }
    package_ = ReadFile(kScratch + "/Ventis.run");
    ASSERT_GT(package_.size(), ventis::package::kInstallerOffset);
  }

  std::string ApplicationTail(const std::string& package) const {
    return package.size() > ventis::package::kApplicationOffset
               ? package.substr(ventis::package::kApplicationOffset)
               : std::string();
  }

  static void Markers(bool first, bool second) {
    if (first) WriteFile(kLinux.firstMarker, "", 0644);
    if (second) WriteFile(kLinux.secondMarker, "", 0644);
  }

  static void TrustedFolder() { ASSERT_EQ(mkdir(kFolder.c_str(), 0700), 0); }

  static std::string AppRecord() { return WaitFor(kCwd + "/app-ran") ? ReadFile(kCwd + "/app-ran") : ""; }

  static bool AppStayedAway() {
    std::this_thread::sleep_for(300ms);
    return !Exists(kCwd + "/app-ran");
  }

  std::string package_;
  std::vector<std::string> mounted_;
};

TEST_F(Launcher, RuntimePresentStartsTheApplicationStraightAway) {
  TrustedFolder();
  Markers(true, true);
  Outcome run = RunLauncher({.terminal = true});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "");
  EXPECT_FALSE(run.noticeShown) << run.terminal;
  EXPECT_FALSE(Exists(kInstallerFile));
  EXPECT_FALSE(Exists(kCwd + "/installer-ran"));
  // Started without arguments, in the launcher's directory, cut off from its
  // terminal.
  EXPECT_EQ(AppRecord(), "argc=1 terminal=0\n");
  EXPECT_EQ(ReadFile(kApplicationFile), ApplicationTail(package_));
}

// The notice waits for a key before the installer runs; the installer file
// is its region byte for byte; the application extracted with the installer
// bytes behind it still runs.
class MissingMarker : public Launcher, public ::testing::WithParamInterface<std::pair<bool, bool>> {};

TEST_P(MissingMarker, RunsTheInstallerStep) {
  TrustedFolder();
  Markers(GetParam().first, GetParam().second);
  Outcome run = RunLauncher({.terminal = true});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_TRUE(run.noticeShown) << run.terminal;
  EXPECT_TRUE(run.waitedForKey);
  EXPECT_FALSE(run.installerRanBeforeKey);
  EXPECT_EQ(ReadFile(kCwd + "/installer-ran"), "ran\n");
  EXPECT_EQ(ReadFile(kInstallerFile), package_.substr(ventis::package::kInstallerOffset));
  EXPECT_EQ(ReadFile(kInstallerFile), ReadFile(INSTALLER_MARKERS));
  EXPECT_EQ(AppRecord(), "argc=1 terminal=0\n");
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "");
}

INSTANTIATE_TEST_SUITE_P(Markers, MissingMarker,
                         ::testing::Values(std::pair{false, false}, std::pair{true, false},
                                           std::pair{false, true}),
                         [](const auto& info) {
                           return std::string(info.param.first ? "First" : "NoFirst") +
                                  (info.param.second ? "Second" : "NoSecond");
                         });

TEST_F(Launcher, WithoutATerminalTheNoticeIsSkipped) {
  TrustedFolder();
  Outcome run = RunLauncher({});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(ReadFile(kCwd + "/installer-ran"), "ran\n");
  EXPECT_EQ(AppRecord(), "argc=1 terminal=0\n");
}

TEST_F(Launcher, InstallerThatInstallsNothingEndsWithTheMessage) {
  TrustedFolder();
  Outcome run = RunLauncher({.program = kScratch + "/none.run"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.err, kNotInstalled);
  EXPECT_EQ(ReadFile(kCwd + "/installer-ran"), "ran\n");
  EXPECT_TRUE(AppStayedAway());
}

TEST_F(Launcher, InstallerExitStatusIsNotLookedAt) {
  TrustedFolder();
  Outcome run = RunLauncher({.program = kScratch + "/fails.run"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(AppRecord(), "argc=1 terminal=0\n");
}

TEST_F(Launcher, MissingTempFolderIsCreatedRootOnly) {
  Markers(true, true);
  Outcome run = RunLauncher({});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, "echo not exist Temp direct");
  struct stat st {};
  ASSERT_EQ(lstat(kFolder.c_str(), &st), 0);
  EXPECT_TRUE(S_ISDIR(st.st_mode));
  EXPECT_EQ(st.st_mode & 07777, 0700u);
  EXPECT_EQ(st.st_uid, 0u);
  EXPECT_EQ(ReadFile(kApplicationFile), ApplicationTail(package_));
  EXPECT_EQ(AppRecord(), "argc=1 terminal=0\n");
}

// An identical copy is still rewritten; a longer stale file is cut to size.
class StaleApplicationFile : public Launcher, public ::testing::WithParamInterface<bool> {};

TEST_P(StaleApplicationFile, IsRewrittenEveryRun) {
  TrustedFolder();
  Markers(true, true);
  const bool identical = GetParam();
  WriteFile(kApplicationFile, identical ? ApplicationTail(package_) : std::string(5'000'000, 'x'), 0600);
  timespec old[2] = {{1'000'000'000, 0}, {1'000'000'000, 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, kApplicationFile.c_str(), old, 0), 0);
  Outcome run = RunLauncher({});
  EXPECT_EQ(run.exitCode, 0);
  struct stat st {};
  ASSERT_EQ(stat(kApplicationFile.c_str(), &st), 0);
  EXPECT_GT(st.st_mtim.tv_sec, old[1].tv_sec);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  EXPECT_EQ(ReadFile(kApplicationFile), ApplicationTail(package_));
  EXPECT_EQ(AppRecord(), "argc=1 terminal=0\n");
}

INSTANTIATE_TEST_SUITE_P(Copies, StaleApplicationFile, ::testing::Values(true, false));

TEST_F(Launcher, SecondStartWhileTheApplicationRunsIsRefused) {
  TrustedFolder();
  Markers(true, true);
  WriteFile(kCwd + "/hold", "");
  ASSERT_EQ(RunLauncher({}).exitCode, 0);
  ASSERT_EQ(AppRecord(), "argc=1 terminal=0\n");
  unlink((kCwd + "/app-ran").c_str());
  Outcome second = RunLauncher({});
  EXPECT_EQ(second.exitCode, 1);
  EXPECT_EQ(second.err, kRepeated);
  EXPECT_EQ(second.out, "ERROR wfp fopen\n");
  EXPECT_EQ(ReadFile(kApplicationFile), ApplicationTail(package_));
  EXPECT_TRUE(AppStayedAway());
}

// With too little memory for the working buffer nothing is written.
TEST_F(Launcher, OutOfMemoryEndsBeforeAnyWrite) {
  TrustedFolder();
  Markers(true, true);
  Outcome run = RunLauncher({.dataLimit = 1 << 20});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "Error: Out of memory!\n");
  EXPECT_EQ(run.out, "");
  EXPECT_TRUE(Entries(kFolder).empty());
  EXPECT_TRUE(AppStayedAway());
}

// A package cut short yields empty (or short) files and no error; with no
// runtime and nothing to install, the run ends with the message.
struct ShortCase {
  const char* name;
  bool withApplication;  // launcher region filled, then the application image, nothing more
};

void PrintTo(const ShortCase& c, std::ostream* os) { *os << c.name; }

class ShortPackage : public Launcher, public ::testing::WithParamInterface<ShortCase> {};

TEST_P(ShortPackage, YieldsShortFilesWithoutError) {
  TrustedFolder();
  std::string bytes = ReadFile(LAUNCHER);
  std::string application;
  if (GetParam().withApplication) {
    bytes.resize(ventis::package::kApplicationOffset, '\0');
    application = ReadFile(FAKE_APPLICATION);
    bytes += application;
  }
  ASSERT_LT(bytes.size(), GetParam().withApplication ? ventis::package::kInstallerOffset
                                                     : ventis::package::kApplicationOffset);
  std::string path = kScratch + "/short.run";
  WriteFile(path, bytes, 0755);
  Outcome run = RunLauncher({.program = path});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, kNotInstalled);
  EXPECT_TRUE(Exists(kApplicationFile));
  EXPECT_EQ(ReadFile(kApplicationFile), application);
  EXPECT_TRUE(Exists(kInstallerFile));
  EXPECT_EQ(ReadFile(kInstallerFile), "");
  EXPECT_TRUE(AppStayedAway());
}

INSTANTIATE_TEST_SUITE_P(Cuts, ShortPackage,
                         ::testing::Values(ShortCase{"BeforeTheApplication", false},
                                           ShortCase{"BeforeTheInstaller", true}),
                         [](const auto& info) { return std::string(info.param.name); });

// Each untrusted folder is set up over a victim that must stay untouched.
struct FolderCase {
  const char* name;
  void (*prepare)(const std::string& victim);
};

const FolderCase kUntrustedFolders[] = {
    {"LinkToARootFolder",
     [](const std::string& victim) {
       mkdir(victim.c_str(), 0700);
       symlink(victim.c_str(), kFolder.c_str());
     }},
    {"OwnedByAnotherUser",
     [](const std::string&) {
       mkdir(kFolder.c_str(), 0700);
       chown(kFolder.c_str(), 1000, 1000);
     }},
    {"WritableByOthers",
     [](const std::string&) {
       mkdir(kFolder.c_str(), 0700);
       chmod(kFolder.c_str(), 01777);
     }},
    {"WritableByItsGroup",
     [](const std::string&) {
       mkdir(kFolder.c_str(), 0700);
       chmod(kFolder.c_str(), 0770);
     }},
    {"AFile", [](const std::string&) { WriteFile(kFolder, "not a folder", 0600); }},
};

void PrintTo(const FolderCase& c, std::ostream* os) { *os << c.name; }

class UntrustedFolder : public Launcher, public ::testing::WithParamInterface<FolderCase> {};

TEST_P(UntrustedFolder, IsRefusedWithNothingWritten) {
  Markers(true, true);
  const std::string victim = kScratch + "/victim";
  GetParam().prepare(victim);
  Outcome run = RunLauncher({});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "ERROR wfp fopen\n");
  EXPECT_EQ(run.err, "");
  EXPECT_TRUE(Entries(victim).empty());
  if (GetParam().prepare != kUntrustedFolders[4].prepare) {
    EXPECT_TRUE(Entries(kFolder).empty());
  } else {
    EXPECT_EQ(ReadFile(kFolder), "not a folder");
  }
  EXPECT_TRUE(AppStayedAway());
}

INSTANTIATE_TEST_SUITE_P(Folders, UntrustedFolder, ::testing::ValuesIn(kUntrustedFolders),
                         [](const auto& info) { return std::string(info.param.name); });

// A planted application file must not be written through.
struct PlantCase {
  const char* name;
  void (*prepare)(const std::string& victim);
};

const PlantCase kPlants[] = {
    {"LinkToAnotherFile", [](const std::string& v) { symlink(v.c_str(), kApplicationFile.c_str()); }},
    {"HardLinkToAnotherFile", [](const std::string& v) { link(v.c_str(), kApplicationFile.c_str()); }},
    {"OwnedByAnotherUser",
     [](const std::string&) {
       WriteFile(kApplicationFile, "theirs", 0755);
       chown(kApplicationFile.c_str(), 1000, 1000);
     }},
};

void PrintTo(const PlantCase& c, std::ostream* os) { *os << c.name; }

class PlantedApplicationFile : public Launcher, public ::testing::WithParamInterface<PlantCase> {};

TEST_P(PlantedApplicationFile, IsNotWrittenThrough) {
  TrustedFolder();
  Markers(true, true);
  const std::string victim = kFolder + "/victim";
  WriteFile(victim, "precious", 0600);
  GetParam().prepare(victim);
  Outcome run = RunLauncher({});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, kRepeated);
  EXPECT_EQ(run.out, "ERROR wfp fopen\n");
  EXPECT_EQ(ReadFile(victim), "precious");
  EXPECT_TRUE(AppStayedAway());
}

INSTANTIATE_TEST_SUITE_P(Plants, PlantedApplicationFile, ::testing::ValuesIn(kPlants),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Launcher, InstallerFileThatCannotBeCreatedSkipsTheInstallerStep) {
  TrustedFolder();
  ASSERT_EQ(mkdir(kInstallerFile.c_str(), 0700), 0);
  Outcome run = RunLauncher({.terminal = true});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_FALSE(run.noticeShown);
  EXPECT_EQ(run.err, kNotInstalled);
  EXPECT_FALSE(Exists(kCwd + "/installer-ran"));
  EXPECT_TRUE(Entries(kInstallerFile).empty());
  EXPECT_TRUE(AppStayedAway());
}

// However it was started, the launcher finds its own package file.
struct StartCase {
  const char* name;
  Start (*make)();
};

const StartCase kStarts[] = {
    {"BareNameThroughPath",
     [] {
       mkdir((kScratch + "/bin").c_str(), 0755);
       link((kScratch + "/Ventis.run").c_str(), (kScratch + "/bin/Ventis.run").c_str());
       return Start{.argv0 = "Ventis.run", .path = kScratch + "/bin", .searchPath = true};
     }},
    {"PathLongerThan128Bytes",
     [] {
       std::string dir = kScratch;
       for (int i = 0; i < 6; ++i) {
         dir += "/a-rather-long-folder-name-" + std::to_string(i);
         mkdir(dir.c_str(), 0755);
       }
       link((kScratch + "/Ventis.run").c_str(), (dir + "/Ventis.run").c_str());
       return Start{.program = dir + "/Ventis.run"};
     }},
    {"RelativePath",
     [] {
       link((kScratch + "/Ventis.run").c_str(), (kCwd + "/Ventis.run").c_str());
       return Start{.program = kCwd + "/Ventis.run", .argv0 = "./Ventis.run"};
     }},
    {"StartNameThatIsNoFile", [] { return Start{.argv0 = "ventis"}; }},
    {"BareNameIgnoresAFileOfThatNameInTheCurrentFolder",
     [] {
       mkdir((kScratch + "/bin").c_str(), 0755);
       link((kScratch + "/Ventis.run").c_str(), (kScratch + "/bin/Ventis.run").c_str());
       std::ofstream(kCwd + "/Ventis.run") << std::string(0x300010, 'x');  // someone else's file
       return Start{.argv0 = "Ventis.run", .path = kScratch + "/bin", .searchPath = true};
     }},
};

void PrintTo(const StartCase& c, std::ostream* os) { *os << c.name; }

class StartPath : public Launcher, public ::testing::WithParamInterface<StartCase> {};

TEST_P(StartPath, FindsItsPackage) {
  TrustedFolder();
  Markers(true, true);
  Start start = GetParam().make();
  if (std::string(GetParam().name) == "PathLongerThan128Bytes") {
    ASSERT_GE(start.program.size(), 128u);
  }
  Outcome run = RunLauncher(start);
  EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(ReadFile(kApplicationFile), ApplicationTail(package_));
  EXPECT_EQ(AppRecord(), "argc=1 terminal=0\n");
}

INSTANTIATE_TEST_SUITE_P(Starts, StartPath, ::testing::ValuesIn(kStarts),
                         [](const auto& info) { return std::string(info.param.name); });

// Enters a private mount namespace for the whole process, or says why not.
std::string EnterNamespace() {
  if (geteuid() != 0) return "needs root for a mount namespace (running as uid " + std::to_string(geteuid()) + ")";
  if (unshare(CLONE_NEWNS) != 0) return std::string("unshare(CLONE_NEWNS) failed: ") + std::strerror(errno);
  if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
    return std::string("cannot make / private in the new namespace: ") + std::strerror(errno);
  }
  return {};
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (!::testing::GTEST_FLAG(list_tests)) {
    std::string why = EnterNamespace();
    if (!why.empty()) {
      std::printf("SKIPPED: %s\n", why.c_str());
      return kSkip;
    }
  }
  return RUN_ALL_TESTS();
}
