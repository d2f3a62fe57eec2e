#include "EventLog.h"
#include "LogFormat.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::string Format(const LogTime& t, const char* text)
{
    char buffer[512];
    const std::size_t n = FormatLogEntry(t, text, buffer, sizeof buffer);
    return std::string(buffer, n);
}

TEST(LogFormat, StampTextAndCrLf)
{
    EXPECT_EQ(Format({2017, 6, 1, 21, 5, 3}, "Ver 1.0.7 Start"), "2017-06-01 21:05:03 Ver 1.0.7 Start\r\n");
    EXPECT_EQ(Format({2017, 6, 1, 9, 30, 5}, "ID:12,TotalPacket:12,Protocol:ARP\nSrc:x\n"),
              "2017-06-01 09:30:05 ID:12,TotalPacket:12,Protocol:ARP\r\nSrc:x\r\n\r\n");
    EXPECT_EQ(Format({987, 12, 31, 0, 0, 0}, ""), "0987-12-31 00:00:00 \r\n");
}

TEST(LogFormat, ReportsTheFullLengthWhenTheBufferIsShort)
{
    char small[8] = {'#', '#', '#', '#', '#', '#', '#', '#'};
    const std::size_t n = FormatLogEntry({2017, 6, 1, 9, 30, 5}, "a\nb", small, 4);
    EXPECT_EQ(n, std::string("2017-06-01 09:30:05 a\r\nb\r\n").size());
    EXPECT_EQ(std::string(small, 8), "2017####");
}

class EventLogTest : public testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() / ("ventis-log-" + std::to_string(::getpid()) + "-" +
                                            testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override
    {
        fs::permissions(dir_, fs::perms::owner_all);
        fs::remove_all(dir_);
    }
    std::string Contents() const
    {
        std::ifstream in(dir_ / "Ventis.log", std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    fs::path dir_;
};

const std::regex kStartLine(R"(\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2} Ver 1\.0\.7 Start\r\n)");

TEST_F(EventLogTest, StartLineThenEntriesAppendedAcrossOpens)
{
    for (int run = 0; run < 2; ++run) {
        EventLog log;
        log.OpenIn(dir_.string());
        ASSERT_TRUE(log.IsOpen());
        EXPECT_EQ(log.Path(), (dir_ / "Ventis.log").string());
        log.WriteLog("------------------ Refresh, restart to find ------------------\n");
        log.Close();
    }
    const std::string text = Contents();
    const std::string stamp = R"(\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2} )";
    const std::regex twoRuns("(" + stamp + R"(Ver 1\.0\.7 Start\r\n)" + stamp +
                             R"(-{18} Refresh, restart to find -{18}\r\n\r\n){2})");
    EXPECT_TRUE(std::regex_match(text, twoRuns)) << text;
    EXPECT_EQ(text.find("\n\n"), std::string::npos) << "every line feed is stored as CR LF";
}

TEST_F(EventLogTest, OpenInTheCurrentDirectory)
{
    const fs::path before = fs::current_path();
    fs::current_path(dir_);
    EventLog log;
    log.Open();
    fs::current_path(before);  // the log stays where it was opened
    log.WriteLog("after");
    log.Close();
    const std::string text = Contents();
    EXPECT_NE(text.find(" after\r\n"), std::string::npos) << text;
}

TEST_F(EventLogTest, NothingIsWrittenAfterClose)
{
    EventLog log;
    log.OpenIn(dir_.string());
    log.Close();
    log.WriteLog("late");
    log.Close();
    EXPECT_FALSE(log.IsOpen());
    EXPECT_TRUE(std::regex_match(Contents(), kStartLine));
}

TEST_F(EventLogTest, ConcurrentWritersNeverMixEntries)
{
    constexpr int kThreads = 4;
    constexpr int kEntries = 2000;
    EventLog log;
    log.OpenIn(dir_.string());
    std::vector<std::thread> writers;
    for (int t = 0; t < kThreads; ++t) {
        writers.emplace_back([&log, t] {
            const std::string text = "writer " + std::to_string(t) + " " + std::string(100, static_cast<char>('a' + t)) +
                                     "\nsecond line\n";
            for (int i = 0; i < kEntries; ++i) log.WriteLog(text.c_str());
        });
    }
    // A close in the middle of the writing: entries stop, none is torn.
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    log.Close();
    for (auto& w : writers) w.join();

    std::istringstream lines(Contents());
    std::string line;
    std::getline(lines, line);
    ASSERT_TRUE(std::regex_match(line + "\n", kStartLine));
    const std::regex first(R"(\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2} writer ([0-3]) ([a-d])\2{99}\r)");
    int entries = 0;
    while (std::getline(lines, line)) {
        std::smatch m;
        ASSERT_TRUE(std::regex_match(line, m, first)) << line;
        EXPECT_EQ(m[2].str()[0], 'a' + std::stoi(m[1].str()));
        std::getline(lines, line);
        ASSERT_EQ(line, "second line\r");
        std::getline(lines, line);
        ASSERT_EQ(line, "\r");
        ++entries;
    }
    EXPECT_LE(entries, kThreads * kEntries);
}

TEST_F(EventLogTest, AForkedProcessDoesNotWriteTheEntriesAgain)
{
    // Libraries fork to start helpers (D-Bus does); a child that exits
    // normally must not write out entries that were still waiting.
    EventLog log;
    log.OpenIn(dir_.string());
    log.WriteLog("before the fork");
    const pid_t child = fork();
    if (child == 0) std::exit(0);
    int status = 0;
    waitpid(child, &status, 0);
    log.Close();
    const std::string text = Contents();
    EXPECT_EQ(text.find("Start"), text.rfind("Start")) << text;
    EXPECT_EQ(text.find("before the fork"), text.rfind("before the fork")) << text;
}

TEST_F(EventLogTest, AsRootALinkInPlaceOfTheLogIsNotFollowed)
{
    if (::geteuid() != 0) GTEST_SKIP() << "only root refuses links";
    std::ofstream(dir_ / "target") << "keep\n";
    fs::create_symlink(dir_ / "target", dir_ / "Ventis.log");
    EventLog log;
    log.OpenIn(dir_.string());
    EXPECT_FALSE(log.IsOpen());
    log.Close();
    std::ifstream in(dir_ / "target");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, "keep\n");
}

TEST_F(EventLogTest, UnwritableDirectoryGivesNoLogAndNoFailure)
{
    if (::geteuid() == 0) {
        // Root writes anywhere; a path under a regular file fails for everyone.
        std::ofstream(dir_ / "file") << "x";
        EventLog log;
        log.OpenIn((dir_ / "file").string());
        EXPECT_FALSE(log.IsOpen());
        log.WriteLog("ignored");
        return;
    }
    fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
    EventLog log;
    log.OpenIn(dir_.string());
    EXPECT_FALSE(log.IsOpen());
    log.WriteLog("ignored");
    EXPECT_FALSE(fs::exists(dir_ / "Ventis.log"));
}

}  // namespace
