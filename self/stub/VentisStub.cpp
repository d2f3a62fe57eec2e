// Stand-in for the Ventis window until it is built: it shows that the
// package started it, from where and with which rights.
#include <cstdio>
#include <unistd.h>

int main() {
  char cwd[4096];
  std::printf("Ventis: the window is not built yet (started from %s, uid %d)\n",
              getcwd(cwd, sizeof cwd) != nullptr ? cwd : "?", static_cast<int>(geteuid()));
  return 0;
}
