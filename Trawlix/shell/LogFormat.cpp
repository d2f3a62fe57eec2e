#include "LogFormat.h"

#include <cstdio>

std::size_t FormatLogEntry(const LogTime& t, const char* text, char* out, std::size_t capacity)
{
    char stamp[80];
    const int stampLen = std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d:%02d:%02d ", t.year,
                                       t.month, t.day, t.hour, t.minute, t.second);
    std::size_t n = 0;
    auto put = [&](char c) {
        if (n < capacity) out[n] = c;
        ++n;
    };
    for (int i = 0; i < stampLen; ++i) put(stamp[i]);
    for (const char* p = text; *p != '\0'; ++p) {
        if (*p == '\n') put('\r');
        put(*p);
    }
    put('\r');
    put('\n');
    return n;
}
