#include "EventLog.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
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
    if (fd_ >= 0) return;
    path_ = directory + "/" + texts::kLogFileName;
    // Appended to, created when missing, open for reading too. Running as
    // root in a folder that is not its own, it follows no link: a link
    // planted there would have root append to any file.
    const int noFollow = geteuid() == 0 ? O_NOFOLLOW : 0;
    fd_ = open(path_.c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC | noFollow, 0644);
    if (fd_ < 0) return;
    buffer_ = std::make_unique<char[]>(kBufferSize);
    used_ = 0;
    WriteEntry(texts::kLogStartText);
}

void EventLog::WriteLog(const char* text)
{
    std::lock_guard lock(mutex_);
    if (fd_ < 0) return;
    WriteEntry(text);
}

// Formats one entry and hands it on whole. Summary lines fit the stack
// buffer; only an unusually long text takes the heap.
void EventLog::WriteEntry(const char* text)
{
    const LogTime now = LocalNow();
    char entry[1024];
    const std::size_t len = FormatLogEntry(now, text, entry, sizeof entry);
    if (len <= sizeof entry) {
        Append(entry, len);
        return;
    }
    std::vector<char> large(len);
    FormatLogEntry(now, text, large.data(), large.size());
    Append(large.data(), large.size());
}

void EventLog::Append(const char* data, std::size_t size)
{
    if (used_ + size > kBufferSize) Flush();
    if (size > kBufferSize) {
        // Larger than the whole buffer: straight to the file.
        while (size > 0) {
            const ssize_t n = write(fd_, data, size);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return;  // a full disk goes unnoticed, as it always has
            data += n;
            size -= static_cast<std::size_t>(n);
        }
        return;
    }
    std::memcpy(buffer_.get() + used_, data, size);
    used_ += size;
}

void EventLog::Flush()
{
    std::size_t done = 0;
    while (done < used_) {
        const ssize_t n = write(fd_, buffer_.get() + done, used_ - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    used_ = 0;
}

void EventLog::Close()
{
    std::lock_guard lock(mutex_);
    if (fd_ < 0) return;
    Flush();
    close(fd_);
    fd_ = -1;
    buffer_.reset();
}

bool EventLog::IsOpen() const
{
    std::lock_guard lock(mutex_);
    return fd_ >= 0;
}
