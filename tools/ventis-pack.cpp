// Package builder: the launcher, the application and the installer laid end
// to end at their fixed offsets, the first two zero-filled to the end of
// their regions. Refuses an image that does not fit, naming it and its size.
//
//   ventis-pack --launcher FILE --application FILE --installer FILE -o OUT
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <vector>

#include "PackageLayout.h"

namespace {

using Bytes = std::vector<char>;

std::optional<Bytes> ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return bytes;
}

int Usage() {
  std::fputs("usage: ventis-pack --launcher FILE --application FILE --installer FILE -o OUT\n", stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::string launcherPath, applicationPath, installerPath, outPath;
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    std::string* target = arg == "--launcher"      ? &launcherPath
                          : arg == "--application" ? &applicationPath
                          : arg == "--installer"   ? &installerPath
                          : arg == "-o"            ? &outPath
                                                   : nullptr;
    if (target == nullptr || i + 1 >= argc) return Usage();
    *target = argv[++i];
  }
  if (launcherPath.empty() || applicationPath.empty() || installerPath.empty() || outPath.empty()) {
    return Usage();
  }

  struct Image {
    const char* role;
    const std::string& path;
    std::size_t room;  // 0: no limit, it runs to the end of the file
    Bytes bytes;
  };
  Image images[] = {
      {"launcher", launcherPath, ventis::package::kLauncherRoom, {}},
      {"application", applicationPath, ventis::package::kApplicationRoom, {}},
      {"installer", installerPath, 0, {}},
  };
  bool fits = true;
  for (Image& image : images) {
    std::optional<Bytes> bytes = ReadWhole(image.path);
    if (!bytes) {
      std::fprintf(stderr, "ventis-pack: cannot read the %s image %s: %s\n", image.role,
                   image.path.c_str(), std::strerror(errno));
      return 1;
    }
    image.bytes = std::move(*bytes);
    if (image.room != 0 && image.bytes.size() > image.room) {
      std::fprintf(stderr, "ventis-pack: the %s image %s is %zu bytes; its region holds %zu\n",
                   image.role, image.path.c_str(), image.bytes.size(), image.room);
      fits = false;
    }
  }
  if (!fits) return 1;

  // Written beside the target and renamed over it, so a failed run never
  // leaves a half-built package under the real name.
  std::string partial = outPath + ".partial";
  {
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    for (const Image& image : images) {
      out.write(image.bytes.data(), static_cast<std::streamsize>(image.bytes.size()));
      if (image.room != 0) {
        Bytes fill(image.room - image.bytes.size(), '\0');
        out.write(fill.data(), static_cast<std::streamsize>(fill.size()));
      }
    }
    out.close();
    if (!out) {
      std::fprintf(stderr, "ventis-pack: cannot write %s\n", partial.c_str());
      std::remove(partial.c_str());
      return 1;
    }
  }
  if (chmod(partial.c_str(), 0755) != 0 || std::rename(partial.c_str(), outPath.c_str()) != 0) {
    std::fprintf(stderr, "ventis-pack: cannot put %s in place: %s\n", outPath.c_str(), std::strerror(errno));
    std::remove(partial.c_str());
    return 1;
  }
  return 0;
}
