// Model name of one of the maker's devices, from its MAC address text alone.
#pragma once

// Takes a MAC text in the form "02:5C:E1:20:05:00" and returns the model
// name, or "UNKNOWN" when no rule applies. Never fails; any thread.
const char* GetDeviceType(const char* macText);
