// The package builder: layout of what it writes, and refusal of images that
// outgrow their regions.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "PackageLayout.h"

namespace {

using namespace ventis::package;

struct Result {
  int exitCode;
  std::string output;
};

Result Pack(const std::string& args) {
  std::string command = std::string(VENTIS_PACK) + " " + args + " 2>&1";
  Result result{-1, {}};
  std::FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return result;
  char chunk[512];
  while (std::size_t n = std::fread(chunk, 1, sizeof chunk, pipe)) result.output.append(chunk, n);
  int status = pclose(pipe);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class PackTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    for (char& c : name) {
      if (c == '/') c = '_';
    }
    dir_ = ::testing::TempDir() + "ventis-pack-" + std::to_string(getpid()) + "-" + name;
    ASSERT_EQ(mkdir(dir_.c_str(), 0700), 0) << dir_;
  }
  void TearDown() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }

  std::string Image(const char* name, std::size_t size, char fill) {
    std::string path = dir_ + "/" + name;
    std::string bytes(size, fill);
    if (size > 0) bytes[size - 1] = 'E';  // a last byte the zero fill cannot fake
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }

  std::string Args(const std::string& launcher, const std::string& application, const std::string& installer) {
    return "--launcher " + launcher + " --application " + application + " --installer " + installer + " -o " +
           Out();
  }
  std::string Out() const { return dir_ + "/Ventis.run"; }

  std::string dir_;
};

TEST_F(PackTest, LaysTheImagesAtTheirOffsetsWithZeroFill) {
  Result r = Pack(Args(Image("l", 1000, 'L'), Image("a", 3000, 'A'), Image("i", 777, 'I')));
  ASSERT_EQ(r.exitCode, 0) << r.output;
  std::string out = ReadFile(Out());
  ASSERT_EQ(out.size(), kInstallerOffset + 777u);
  std::string expected = std::string(999, 'L') + "E";
  expected.resize(kApplicationOffset, '\0');
  expected += std::string(2999, 'A') + "E";
  expected.resize(kInstallerOffset, '\0');
  expected += std::string(776, 'I') + "E";
  EXPECT_TRUE(out == expected);
  struct stat st {};
  ASSERT_EQ(stat(Out().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0755u);
}

struct FitCase {
  const char* name;
  std::size_t launcher, application;
  const char* refusal;  // nullptr: accepted
};

void PrintTo(const FitCase& c, std::ostream* os) { *os << c.name; }

class Fit : public PackTest, public ::testing::WithParamInterface<FitCase> {};

TEST_P(Fit, AcceptsImagesThatFillTheirRegionAndRefusesBigger) {
  const FitCase& c = GetParam();
  std::string launcher = Image("launcher.bin", c.launcher, 'L');
  std::string application = Image("application.bin", c.application, 'A');
  Result r = Pack(Args(launcher, application, Image("i", 10, 'I')));
  if (c.refusal == nullptr) {
    EXPECT_EQ(r.exitCode, 0) << r.output;
    EXPECT_EQ(r.output, "");
    EXPECT_EQ(ReadFile(Out()).size(), kInstallerOffset + 10u);
    return;
  }
  std::string path = std::string(c.refusal) == "launcher" ? launcher : application;
  std::size_t size = std::string(c.refusal) == "launcher" ? c.launcher : c.application;
  std::size_t room = std::string(c.refusal) == "launcher" ? kLauncherRoom : kApplicationRoom;
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.output, "ventis-pack: the " + std::string(c.refusal) + " image " + path + " is " +
                          std::to_string(size) + " bytes; its region holds " + std::to_string(room) + "\n");
  EXPECT_NE(access(Out().c_str(), F_OK), 0) << "a refused package must not be written";
}

INSTANTIATE_TEST_SUITE_P(Sizes, Fit,
                         ::testing::Values(FitCase{"BothExactlyFull", kLauncherRoom, kApplicationRoom, nullptr},
                                           FitCase{"LauncherOneByteOver", kLauncherRoom + 1, 10, "launcher"},
                                           FitCase{"ApplicationOneByteOver", 10, kApplicationRoom + 1,
                                                   "application"},
                                           FitCase{"EmptyImages", 0, 0, nullptr}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PackTest, RefusalLeavesAnEarlierPackageAlone) {
  std::ofstream(Out()) << "earlier";
  Result r = Pack(Args(Image("l", kLauncherRoom + 1, 'L'), Image("a", 1, 'A'), Image("i", 1, 'I')));
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(ReadFile(Out()), "earlier");
}

TEST_F(PackTest, MissingImageIsNamed) {
  std::string missing = dir_ + "/no-such-installer";
  Result r = Pack(Args(Image("l", 1, 'L'), Image("a", 1, 'A'), missing));
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.output.find("installer image " + missing), std::string::npos) << r.output;
}

TEST_F(PackTest, IncompleteCommandLineShowsUsage) {
  Result r = Pack("--launcher x -o " + Out());
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(r.output, "usage: ventis-pack --launcher FILE --application FILE --installer FILE -o OUT\n");
}

}  // namespace
