#include "DeviceType.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    const char* mac;
    const char* type;
};

// Each split block at both sides of its boundary, the longer prefixes ahead
// of the shorter ones, the partly assigned blocks and malformed texts.
constexpr Case kCases[] = {
    {"02:5C:E1:20:04:FF", "ZV110"},    {"02:5C:E1:20:05:00", "ZV52"},       {"02:5C:E1:20:00:00", "ZV110"},
    {"02:5C:E1:20:FF:FF", "ZV52"},     {"02:5C:E1:04:00:7F", "KT250"},      {"02:5C:E1:04:01:00", "KT250G"},
    {"02:5C:E1:14:00:00", "KT250"},    {"02:5C:E1:14:FF:FF", "KT250G"},     {"02:5C:E1:05:09:FF", "KR250"},
    {"02:5C:E1:15:0A:00", "KR250G"},   {"02:5C:E1:15:00:00", "KR250"},      {"02:5C:E1:05:FF:FF", "KR250G"},
    {"02:5C:E1:0A:0F:FF", "KR250(B)"}, {"02:5C:E1:1A:00:00", "KR250(B)"},   {"02:5C:E1:0A:10:00", "UNKNOWN"},
    {"02:5C:E1:4A:05:00", "KR85(B)"},  {"02:5C:E1:4A:10:00", "UNKNOWN"},    {"02:5C:E1:21:00:00", "PL3"},
    {"02:5C:E1:25:12:34", "KR9"},      {"02:5C:E1:26:00:01", "DELN2500"},   {"02:5C:E1:29:00:00", "PL3E"},
    {"02:5C:E1:2A:00:00", "PL3G"},     {"02:5C:E1:2B:00:00", "PL3E-uc"},    {"02:5C:E1:2D:00:00", "KR25"},
    {"02:5C:E1:2E:00:00", "KR25G"},    {"02:5C:E1:35:00:00", "KR15"},       {"02:5C:E1:34:00:00", "KT15"},
    {"02:5C:E1:36:00:00", "DELN3500"}, {"02:5C:E1:39:00:00", "ZV6A"},       {"02:5C:E1:3A:00:00", "ZV6G"},
    {"02:5C:E1:3A:05:00", "ZV6G"},     {"02:5C:E1:3A:FF:FF", "ZV6G"},       {"02:5C:E1:3B:00:00", "ZV6A-uc"},
    {"02:5C:E1:3C:FF:FF", "ZV6A-uc"},  {"02:5C:E1:3D:00:00", "KR55"},       {"02:5C:E1:3E:00:00", "KR55G"},
    {"02:5C:E1:44:01:FF", "KT85"},     {"02:5C:E1:44:02:00", "KR85SE"},     {"02:5C:E1:45:14:FF", "KR85"},
    {"02:5C:E1:45:15:00", "KR85E"},    {"02:5C:E1:51:00:00", "EGW350x"},    {"02:5C:E1:65:00:00", "KR550"},
    {"02:5C:E1:00:0C:01", "ZV110"},    {"02:5C:E1:10:F3:00", "ZV110"},      {"02:5C:E1:00:F0:00", "ZV110"},
    {"02:5C:E1:10:00:00", "ZV110"},    {"02:5C:E1:00:15:00", "UNKNOWN"},    {"02:5C:E1:10:E0:00", "UNKNOWN"},
    {"02:5C:E1:31:FF:FF", "ZV6"},      {"02:5C:E1:30:5F:FF", "ZV6"},        {"02:5C:E1:30:60:00", "UNKNOWN"},
    {"02:5C:E1:32:00:00", "IZV6"},     {"02:5C:E1:33:00:00", "ZV6-uc"},     {"02:5C:E1:41:00:00", "ZV65"},
    {"02:5C:E1:42:00:00", "ZV65E"},    {"02:5C:E1:43:00:00", "ZV65-uc"},    {"02:5C:E1:43:00:FF", "ZV65-uc"},
    {"02:5C:E1:43:01:00", "ZV65E-uc"}, {"02:5C:E1:01:24:FF", "ZV130"},      {"02:5C:E1:11:25:00", "ZV130G"},
    {"02:5C:E1:03:00:01", "ZV130-uc"}, {"02:5C:E1:13:00:01", "ZV130-uc"},   {"02:5C:E1:60:0F:FF", "UNKNOWN"},
    {"02:5C:E1:60:10:00", "QS3500|RC650"}, {"02:5C:E1:60:2F:FF", "QS3500|RC650"}, {"02:5C:E1:60:30:00", "UNKNOWN"},
    {"02:5C:E1:61:00:00", "ZV110-TK"}, {"02:5C:E1:64:12:34", "ZV110-TK"},   {"02:5C:E1:66:00:00", "UNKNOWN"},
    // Malformed texts: case-sensitive prefixes, short texts, and the tail
    // where anything but 1-9 and A-F counts as 0.
    {"02:5c:e1:20:05:00", "UNKNOWN"},  {"", "UNKNOWN"},                     {"0A:1B:2C:3D:4E:5F", "UNKNOWN"},
    {"02:5C:E1:20", "ZV110"},          {"02:5C:E1:20:0", "ZV110"},          {"02:5C:E1:20:5", "ZV52"},
    {"02:5C:E1:20:ff:ff", "ZV110"},    {"02:5C:E1:20:G4:FF", "ZV110"},      {"02:5C:E1:20:G5:00", "ZV52"},
    {"02:5C:E1:2", "UNKNOWN"},         {"02:5C:E1:04:0", "UNKNOWN"},  // too short for "04:00", tail 0
};

TEST(GetDeviceType, RuleTable)
{
    for (const Case& c : kCases) {
        EXPECT_STREQ(GetDeviceType(c.mac), c.type) << c.mac;
    }
}

}  // namespace
