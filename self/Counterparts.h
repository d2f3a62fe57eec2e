// Every Linux stand-in for a fixed Windows path or service the launcher uses,
// in this one table and nowhere else.
//
//   Windows                               Linux
//   C:\Windows\Temp\                      /var/tmp/ventis/ (root-owned, 0700; a
//                                         folder anyone else could write, or a
//                                         link, is refused)
//   ...\Temp\temp_Ventis.exe              /var/tmp/ventis/temp_Ventis.exe (the
//                                         name stays, so the application's
//                                         captions still read "temp_Ventis")
//   ...\Temp\winpcap_4.1.3.exe            /var/tmp/ventis/ventis-runtime-installer
//   System32\Packet.dll (first marker)    libpcap's runtime library: no capture
//                                         without it
//   System32\wpcap.dll (second marker)    Qt Widgets' runtime library: the
//                                         application cannot start without it
//   system("echo ... && pause")           the launcher's own terminal, else a
//                                         terminal window on the desktop, else
//                                         nothing
//   CreateProcessW, CREATE_NEW_CONSOLE    fork/exec and wait; in a terminal window
//                                         when there is a desktop but no terminal
//   WinExec(SW_HIDE)                      detached start (own session, not waited
//                                         for, current directory inherited)
//   MessageBoxW                           zenity, kdialog or xmessage when a display
//                                         is present, else "Caption: text" on stderr
//   requireAdministrator                  root; a desktop start without it asks
//                                         through pkexec and keeps the display
#pragma once

namespace ventis::self {

#if defined(__x86_64__)
#define VENTIS_MULTIARCH "x86_64-linux-gnu"
#elif defined(__aarch64__)
#define VENTIS_MULTIARCH "aarch64-linux-gnu"
#elif defined(__i386__)
#define VENTIS_MULTIARCH "i386-linux-gnu"
#elif defined(__arm__)
#define VENTIS_MULTIARCH "arm-linux-gnueabihf"
#else
#error "No library folder known for this architecture"
#endif

struct Counterparts {
  const char* tempFolder;         // no trailing slash: it is opened as a directory
  const char* applicationName;    // file name inside tempFolder
  const char* installerName;      // file name inside tempFolder
  const char* firstMarker;
  const char* secondMarker;
  const char* ownExecutable;      // read when the start path is not a readable file
  const char* terminalProgram;    // takes "-e PROGRAM ARGS..."
  const char* dialogPrograms[3];  // tried in this order
  const char* elevationProgram;
  const char* envProgram;         // carries the directory and display across pkexec
  const char* shell;
};

inline constexpr Counterparts kLinux = {
    "/var/tmp/ventis",
    "temp_Ventis.exe",
    "ventis-runtime-installer",
    "/usr/lib/" VENTIS_MULTIARCH "/libpcap.so.0.8",
    "/usr/lib/" VENTIS_MULTIARCH "/libQt6Widgets.so.6",
    "/proc/self/exe",
    "x-terminal-emulator",
    {"zenity", "kdialog", "xmessage"},
    "pkexec",
    "/usr/bin/env",
    "/bin/sh",
};

}  // namespace ventis::self
