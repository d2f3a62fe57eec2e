// Where the three images sit in the package file. Nothing in the file says
// where they are: the offsets are fixed, and the reader and the builder share
// them from here.
#pragma once

#include <cstdint>

namespace ventis::package {

inline constexpr std::uint32_t kLauncherOffset = 0x000000;
inline constexpr std::uint32_t kLauncherRoom = 0x100000;     // 1 MiB
inline constexpr std::uint32_t kApplicationOffset = 0x100000;
inline constexpr std::uint32_t kApplicationRoom = 0x200000;  // 2 MiB
inline constexpr std::uint32_t kInstallerOffset = 0x300000;  // to the end of the file

}  // namespace ventis::package
