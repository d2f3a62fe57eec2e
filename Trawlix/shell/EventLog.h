// The event log: "Ventis.log" in the current directory, appended to for the
// life of the main window. One writer for every thread; a lock inside it
// guards both the write and the close, so nothing is written once closed.
#pragma once

#include <cstdio>
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

    // One time-stamped entry, in one write call, without a flush. Does
    // nothing when the log is not open.
    void WriteLog(const char* text);

    void Close();

    bool IsOpen() const;
    const std::string& Path() const { return path_; }

private:
    mutable std::mutex mutex_;
    std::FILE* stream_ = nullptr;
    std::string path_;
};
