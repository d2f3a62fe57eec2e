// Formatting of one event-log entry: "YYYY-MM-DD hh:mm:ss TEXT\n", with every
// line feed stored as CR LF. Pure: the caller supplies the time.
#pragma once

#include <cstddef>

struct LogTime {
    int year;
    int month;   // 1..12
    int day;     // 1..31
    int hour;    // 0..23
    int minute;
    int second;
};

// Writes the entry as it goes to the file, CR LF line ends included, into
// out (not terminated) and returns its length. When the entry is longer than
// capacity, nothing past capacity is written and the full length is still
// returned, so the caller can retry with room enough.
std::size_t FormatLogEntry(const LogTime& time, const char* text, char* out, std::size_t capacity);
