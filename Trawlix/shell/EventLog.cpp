#include "EventLog.h"

#include <cerrno>
#include <ctime>
#include <unistd.h>
#include <vector>

#include "LogFormat.h"
#include "ShellTexts.h"

namespace {

LogTime LocalNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    return LogTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

std::string CurrentDirectory()
{
    std::string dir(512, '\0');
    while (getcwd(dir.data(), dir.size()) == nullptr) {
        if (errno != ERANGE) return std::string();  // unreadable: the file goes to the root
        dir.resize(dir.size() * 2);
    }
    dir.resize(dir.find('\0'));
    return dir;
}

// Formats and writes one entry with a single write call. Summary lines fit
// the stack buffer; only an unusually long text takes the heap.
void WriteEntry(std::FILE* stream, const char* text)
{
    const LogTime now = LocalNow();
    char buffer[1024];
    const std::size_t len = FormatLogEntry(now, text, buffer, sizeof buffer);
    if (len <= sizeof buffer) {
        std::fwrite(buffer, 1, len, stream);
        return;
    }
    std::vector<char> large(len);
    FormatLogEntry(now, text, large.data(), large.size());
    std::fwrite(large.data(), 1, large.size(), stream);
}

}  // namespace

EventLog::~EventLog()
{
    Close();
}

void EventLog::Open()
{
    OpenIn(CurrentDirectory());
}

void EventLog::OpenIn(const std::string& directory)
{
    std::lock_guard lock(mutex_);
    if (stream_ != nullptr) return;
    path_ = directory + "/" + texts::kLogFileName;
    stream_ = std::fopen(path_.c_str(), "a+e");
    if (stream_ == nullptr) return;
    WriteEntry(stream_, texts::kLogStartText);
}

void EventLog::WriteLog(const char* text)
{
    std::lock_guard lock(mutex_);
    if (stream_ == nullptr) return;
    WriteEntry(stream_, text);
}

void EventLog::Close()
{
    std::lock_guard lock(mutex_);
    if (stream_ == nullptr) return;
    std::fclose(stream_);
    stream_ = nullptr;
}

bool EventLog::IsOpen() const
{
    std::lock_guard lock(mutex_);
    return stream_ != nullptr;
}
