// Replay of a capture file into a list: one row per frame.
#pragma once

#include "ListControl.h"

namespace settings {

// Lists every frame of the pcap file: the row number, then the protocol,
// source IP, source MAC, ports and the rest in columns 1 to 9 (columns the
// list does not have take nothing). A read error or a truncated record ends
// the replay with the rows so far. False when the file cannot be opened.
bool ReplayCaptureFile(const char* path, framework::ListControl& list);

}  // namespace settings
