// The texts the application shell writes.
#pragma once

namespace texts {

inline constexpr char kLogFileName[] = "Ventis.log";
inline constexpr char kLogStartText[] = "Ver 1.0.7 Start";
inline constexpr char kRefreshSeparator[] =
    "------------------ Refresh, restart to find ------------------\n";

}  // namespace texts
