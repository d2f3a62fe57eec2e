// The launcher: the first bytes of Ventis.run. It unpacks the application
// from its own package file, makes sure the capture runtime is installed
// (unpacking and running the installer when it is not), starts the
// application and ends.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <unistd.h>

#include "Counterparts.h"
#include "LauncherTexts.h"
#include "PackageLayout.h"
#include "Platform.h"

namespace {

using namespace ventis;
using self::BoxKind;

constexpr std::size_t kPathRoom = 128;
constexpr std::size_t kBufferSize = 0x200000;
constexpr std::size_t kCopyStep = 512;

// Everything from OFFSET to the end of the package goes out, not just the
// region: the copy stops only at the end of the file.
void Extract(std::FILE* package, long offset, std::FILE* out, char* buffer) {
  if (std::fseek(package, offset, SEEK_SET) != 0) std::fputs(texts::kSeekError, stdout);
  for (;;) {
    std::size_t got = std::fread(buffer, 1, kCopyStep, package);
    std::fwrite(buffer, 1, got, out);
    if (got == 0) break;
  }
}

bool RuntimePresent() {
  const self::Counterparts& c = self::kLinux;
  return self::PathExists(c.firstMarker) && self::PathExists(c.secondMarker);
}

// Fixed paths in zero-filled 128-byte buffers, as the sequence keeps them.
void FixedPath(char (&out)[kPathRoom], const char* folder, const char* name) {
  std::memset(out, 0, sizeof out);
  std::snprintf(out, sizeof out, "%s/%s", folder, name);
}

}  // namespace

int main(int argc, char** argv) {
  const self::Counterparts& c = self::kLinux;

  // The start path names the package when it is a path to a readable file.
  // A start through PATH gives a bare name, which must not be looked up in
  // the current folder (a file planted there would run as root): then the
  // running executable is read.
  const bool isPath = argc > 0 && argv[0] != nullptr && std::strchr(argv[0], '/') != nullptr;
  const char* start = isPath && self::IsReadableFile(argv[0]) ? argv[0] : c.ownExecutable;
  char packagePath[kPathRoom] = {};
  std::string longPackagePath;
  const char* package = packagePath;
  if (std::strlen(start) < kPathRoom) {
    std::memcpy(packagePath, start, std::strlen(start) + 1);
  } else {
    longPackagePath = start;
    package = longPackagePath.c_str();
  }

  self::ElevateIfNeeded(package);

  if (!self::PathExists(c.tempFolder)) {
    std::fputs(texts::kTempFolderMissing, stdout);
    self::CreateTempFolder(c.tempFolder);
  }

  char applicationPath[kPathRoom];
  char installerPath[kPathRoom];
  FixedPath(applicationPath, c.tempFolder, c.applicationName);
  FixedPath(installerPath, c.tempFolder, c.installerName);

  char* buffer = static_cast<char*>(std::calloc(kBufferSize, 1));
  if (buffer == nullptr) {
    self::MessageBox(BoxKind::Error, texts::kCaptionError, texts::kOutOfMemory);
    return 1;
  }

  std::FILE* packageStream = std::fopen(package, "rbe");
  if (packageStream == nullptr) {
    std::fputs(texts::kPackageOpenError, stdout);
    std::free(buffer);
    return 1;
  }

  // Nothing is written until the folder is known to be root's alone: in a
  // folder someone else controls, a planted link or file would take the write.
  int folder = self::OpenTrustedFolder(c.tempFolder);
  if (folder < 0) {
    std::fputs(texts::kApplicationOpenError, stdout);
    std::fclose(packageStream);
    std::free(buffer);
    return 1;
  }

  std::FILE* application = self::CreateExecutableIn(folder, c.applicationName);
  if (application == nullptr) {
    self::MessageBox(BoxKind::Warning, texts::kCaptionWarning, texts::kRepeatedStart);
    std::fputs(texts::kApplicationOpenError, stdout);
    close(folder);
    std::fclose(packageStream);
    std::free(buffer);
    return 1;
  }
  Extract(packageStream, package::kApplicationOffset, application, buffer);
  std::fflush(packageStream);
  std::fflush(application);
  std::fclose(application);

  if (!RuntimePresent()) {
    // A stream that failed to open is neither written nor closed: the
    // installer step is skipped and the second test decides.
    std::FILE* installer = self::CreateExecutableIn(folder, c.installerName);
    if (installer != nullptr) {
      Extract(packageStream, package::kInstallerOffset, installer, buffer);
      std::fclose(installer);
      self::ShowNoticeAndWaitForKey(texts::kInstallerNotice);
      self::RunAndWait(installerPath);
    }
  }
  close(folder);

  std::fclose(packageStream);
  std::free(buffer);

  if (RuntimePresent()) {
    self::StartDetached(applicationPath);
    return 0;
  }
  self::MessageBox(BoxKind::Error, texts::kCaptionError, texts::kRuntimeMissing);
  return 0;
}
