// The event log: "Ventis.log" in the current directory, appended to for the
// life of the main window. One writer for every thread; a lock inside it
// guards both the write and the close, so nothing is written once closed.
//
// Entries collect in a buffer of the writer's own and reach the file when it
// is full and at the close, as with a buffered stream; but unlike a stream's
// buffer, a process forked meanwhile (libraries do, to start helpers) does
// not take a copy that it would write out again when it exits.
#pragma once

#include <cstddef>
#include <memory>
#include <mutex>
#include <string>

class EventLog {
public:
    EventLog() = default;
    EventLog(const EventLog&) = delete;
    EventLog& operator=(const EventLog&) = delete;
    ~EventLog();

    // Opens "Ventis.log" in the process's current directory, creating it when
    // missing, and writes the start line. A log that cannot be opened is no
    // failure: the run simply keeps no log.
    void Open();
    // The same in the given directory (the text is used as it stands, the
    // file name joined with one separator).
    void OpenIn(const std::string& directory);

    // One time-stamped entry, handed to the log whole, without a flush. Does
    // nothing when the log is not open.
    void WriteLog(const char* text);

    void Close();

    bool IsOpen() const;
    const std::string& Path() const { return path_; }

private:
    void WriteEntry(const char* text);
    void Append(const char* data, std::size_t size);
    void Flush();

    static constexpr std::size_t kBufferSize = 8192;
    mutable std::mutex mutex_;
    int fd_ = -1;
    std::unique_ptr<char[]> buffer_;
    std::size_t used_ = 0;
    std::string path_;
};
