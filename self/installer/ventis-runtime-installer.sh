#!/bin/sh
# Installs the runtime libraries Ventis needs to start and capture: libpcap
# and Qt Widgets. Runs as root (the launcher is), in a terminal so the package
# manager's progress can be followed. Its exit status is not looked at: the
# launcher checks the libraries themselves afterwards.

echo "Installing the Ventis runtime: libpcap and Qt Widgets"
if command -v apt-get >/dev/null 2>&1; then
  apt-get update && apt-get install -y libpcap0.8 libqt6widgets6
elif command -v dnf >/dev/null 2>&1; then
  dnf install -y libpcap qt6-qtbase-gui
elif command -v zypper >/dev/null 2>&1; then
  zypper --non-interactive install libpcap1 libQt6Widgets6
elif command -v pacman >/dev/null 2>&1; then
  pacman -S --needed --noconfirm libpcap qt6-base
else
  echo "No known package manager here; install libpcap and Qt 6 Widgets by hand." >&2
  status=1
fi
status=${status:-$?}
# Keep the window open long enough to read the result.
if [ -t 0 ]; then
  printf 'Done. Press Enter to close. '
  read -r _
fi
exit "$status"
