// Installer image for the launcher tests, built three ways: one that installs
// the runtime (creates both markers), one that installs nothing, and one that
// installs it but still exits with a failure. Each run adds a line to
// "installer-ran" in its current directory.
#include <cstdio>
#include <fcntl.h>
#include <initializer_list>
#include <unistd.h>

#include "Counterparts.h"

int main() {
  std::FILE* trace = std::fopen("installer-ran", "a");
  if (trace != nullptr) {
    std::fputs("ran\n", trace);
    std::fclose(trace);
  }
  if (FAKE_INSTALLER_MAKES_MARKERS) {
    for (const char* marker : {ventis::self::kLinux.firstMarker, ventis::self::kLinux.secondMarker}) {
      int fd = open(marker, O_WRONLY | O_CREAT, 0644);
      if (fd >= 0) close(fd);
    }
  }
  return FAKE_INSTALLER_EXIT_CODE;
}
