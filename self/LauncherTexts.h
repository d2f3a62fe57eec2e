// The launcher's own texts, byte for byte (the trailing space of the
// installer message and the missing space after "winpcap." included).
#pragma once

namespace ventis::texts {

inline constexpr char kTempFolderMissing[] = "echo not exist Temp direct";
inline constexpr char kSeekError[] = "seek ERROR!\n";
inline constexpr char kPackageOpenError[] = "ERROR rfp fopen\n";
inline constexpr char kApplicationOpenError[] = "ERROR wfp fopen\n";

inline constexpr char kCaptionError[] = "Error";
inline constexpr char kCaptionWarning[] = "Warning";
inline constexpr char kOutOfMemory[] = "Out of memory!";
inline constexpr char kRepeatedStart[] = "Don't execute Ventis repeatedly at the same time!";
inline constexpr char kRuntimeMissing[] = "Sorry,you haven't installed winpcap! ";

inline constexpr char kInstallerNotice[] =
    "Ventis.exe relies on winpcap.Please install winpcap according to the prompt "
    "and we advise you shut down the anti-virus software.";
// What the console's pause step shows while it waits for a key.
inline constexpr char kPressAnyKey[] = "Press any key to continue . . . ";

}  // namespace ventis::texts
