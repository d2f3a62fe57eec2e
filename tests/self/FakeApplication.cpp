// Application image for the launcher tests. Leaves "app-ran" in its current
// directory (argument count, whether it still has the launcher's controlling
// terminal), then stays
// running while a "hold" file is there, so a second start meets it.
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

int main(int argc, char**) {
  std::FILE* out = std::fopen("app-ran.part", "w");
  if (out == nullptr) return 1;
  int tty = open("/dev/tty", O_RDWR | O_NOCTTY);
  std::fprintf(out, "argc=%d terminal=%d\n", argc, tty >= 0 ? 1 : 0);
  std::fclose(out);
  std::rename("app-ran.part", "app-ran");
  for (int i = 0; i < 2000 && access("hold", F_OK) == 0; ++i) usleep(10000);
  return 0;
}
