#include "DeviceType.h"

#include <cstring>

namespace {

// One rule: up to four prefixes (compared over their own length), an optional
// inclusive range of the tail value, and the name it gives.
struct Rule {
    const char* prefixes[4];
    unsigned tailLow;
    unsigned tailHigh;
    const char* name;
};

constexpr unsigned kAnyLow = 0x0000;
constexpr unsigned kAnyHigh = 0xFFFF;

// Order matters: the first rule that applies decides. Longer prefixes come
// before the shorter ones that contain them, and split blocks list both
// halves. "KR18(B)" stays behind the whole-block rule for 3A, so that block
// always shows "ZV6G".
constexpr Rule kRules[] = {
    {{"02:5C:E1:20"}, 0x0500, 0xFFFF, "ZV52"},
    {{"02:5C:E1:20"}, 0x0000, 0x04FF, "ZV110"},
    {{"02:5C:E1:04:00"}, kAnyLow, kAnyHigh, "KT250"},
    {{"02:5C:E1:14:00"}, kAnyLow, kAnyHigh, "KT250"},
    {{"02:5C:E1:05", "02:5C:E1:15"}, 0x0000, 0x09FF, "KR250"},
    {{"02:5C:E1:0A:0", "02:5C:E1:1A:0"}, kAnyLow, kAnyHigh, "KR250(B)"},
    {{"02:5C:E1:21"}, kAnyLow, kAnyHigh, "PL3"},
    {{"02:5C:E1:25"}, kAnyLow, kAnyHigh, "KR9"},
    {{"02:5C:E1:26"}, kAnyLow, kAnyHigh, "DELN2500"},
    {{"02:5C:E1:29"}, kAnyLow, kAnyHigh, "PL3E"},
    {{"02:5C:E1:2A"}, kAnyLow, kAnyHigh, "PL3G"},
    {{"02:5C:E1:2B"}, kAnyLow, kAnyHigh, "PL3E-uc"},
    {{"02:5C:E1:2D"}, kAnyLow, kAnyHigh, "KR25"},
    {{"02:5C:E1:2E"}, kAnyLow, kAnyHigh, "KR25G"},
    {{"02:5C:E1:35"}, kAnyLow, kAnyHigh, "KR15"},
    {{"02:5C:E1:34"}, kAnyLow, kAnyHigh, "KT15"},
    {{"02:5C:E1:36"}, kAnyLow, kAnyHigh, "DELN3500"},
    {{"02:5C:E1:39"}, kAnyLow, kAnyHigh, "ZV6A"},
    {{"02:5C:E1:3A"}, kAnyLow, kAnyHigh, "ZV6G"},
    {{"02:5C:E1:3A:0"}, kAnyLow, kAnyHigh, "KR18(B)"},
    {{"02:5C:E1:3B", "02:5C:E1:3C"}, kAnyLow, kAnyHigh, "ZV6A-uc"},
    {{"02:5C:E1:3D"}, kAnyLow, kAnyHigh, "KR55"},
    {{"02:5C:E1:3E"}, kAnyLow, kAnyHigh, "KR55G"},
    {{"02:5C:E1:44"}, 0x0000, 0x01FF, "KT85"},
    {{"02:5C:E1:45"}, 0x0000, 0x14FF, "KR85"},
    {{"02:5C:E1:44"}, 0x0200, 0xFFFF, "KR85SE"},
    {{"02:5C:E1:45"}, 0x1500, 0xFFFF, "KR85E"},
    {{"02:5C:E1:4A:0"}, kAnyLow, kAnyHigh, "KR85(B)"},
    {{"02:5C:E1:51"}, kAnyLow, kAnyHigh, "EGW350x"},
    {{"02:5C:E1:65"}, kAnyLow, kAnyHigh, "KR550"},
    {{"02:5C:E1:00:0", "02:5C:E1:10:0", "02:5C:E1:00:F", "02:5C:E1:10:F"}, kAnyLow, kAnyHigh, "ZV110"},
    {{"02:5C:E1:31"}, kAnyLow, kAnyHigh, "ZV6"},
    {{"02:5C:E1:30"}, 0x0000, 0x5FFF, "ZV6"},
    {{"02:5C:E1:32"}, kAnyLow, kAnyHigh, "IZV6"},
    {{"02:5C:E1:33"}, kAnyLow, kAnyHigh, "ZV6-uc"},
    {{"02:5C:E1:41"}, kAnyLow, kAnyHigh, "ZV65"},
    {{"02:5C:E1:42"}, kAnyLow, kAnyHigh, "ZV65E"},
    {{"02:5C:E1:43:00"}, kAnyLow, kAnyHigh, "ZV65-uc"},
    {{"02:5C:E1:43"}, 0x0100, 0xFFFF, "ZV65E-uc"},
    {{"02:5C:E1:01", "02:5C:E1:11"}, 0x0000, 0x24FF, "ZV130"},
    {{"02:5C:E1:01", "02:5C:E1:11"}, 0x2500, 0xFFFF, "ZV130G"},
    {{"02:5C:E1:03", "02:5C:E1:13"}, kAnyLow, kAnyHigh, "ZV130-uc"},
    {{"02:5C:E1:04", "02:5C:E1:14"}, 0x0100, 0xFFFF, "KT250G"},
    {{"02:5C:E1:05", "02:5C:E1:15"}, 0x0A00, 0xFFFF, "KR250G"},
    {{"02:5C:E1:60"}, 0x1000, 0x2FFF, "QS3500|RC650"},
    {{"02:5C:E1:61", "02:5C:E1:62", "02:5C:E1:63", "02:5C:E1:64"}, kAnyLow, kAnyHigh, "ZV110-TK"},
};

constexpr const char* kUnknownType = "UNKNOWN";

// Upper-case hexadecimal digits only; everything else, '0' included, is 0.
unsigned TailDigit(char c)
{
    if (c >= '1' && c <= '9') return static_cast<unsigned>(c - '0');
    if (c >= 'A' && c <= 'F') return static_cast<unsigned>(c - 'A' + 10);
    return 0;
}

}  // namespace

const char* GetDeviceType(const char* macText)
{
    // Work on a zero-filled copy so positions past a short text read as 0.
    char mac[32] = {};
    if (macText != nullptr) {
        std::strncpy(mac, macText, sizeof mac - 1);
    }
    const unsigned tail = TailDigit(mac[12]) * 4096 + TailDigit(mac[13]) * 256 +
                          TailDigit(mac[15]) * 16 + TailDigit(mac[16]);

    for (const Rule& rule : kRules) {
        bool prefixMatches = false;
        for (const char* prefix : rule.prefixes) {
            if (prefix != nullptr && std::strncmp(mac, prefix, std::strlen(prefix)) == 0) {
                prefixMatches = true;
                break;
            }
        }
        if (prefixMatches && tail >= rule.tailLow && tail <= rule.tailHigh) {
            return rule.name;
        }
    }
    return kUnknownType;
}
