#!/usr/bin/env bash
# Builds the launcher and runs it under Wine. With a display ($DISPLAY) it
# shows there; without one it runs on a private Xvfb, saves a screenshot and
# says where, then closes it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

scripts/install-deps.sh
cmake --preset win32
cmake --build --preset win32 --target launcher e2e_driver

if [[ -n ${DISPLAY-} ]]; then
  # The user's own display and default Wine prefix, still with no network.
  exec unshare --net bash -c 'ip link set lo up; LC_ALL=zh_CN.UTF-8 exec wine build/win32/bin/launcher.exe'
fi
scripts/in-wine.sh build/win32/run \
  wine build/win32/bin/e2e_driver.exe --gtest_filter='LauncherWindow.LabelsPaintTheirColoursOnButtonFace'
python3 scripts/bmp_to_png.py build/win32/bin/main-window.bmp build/win32/main-window.png
echo "screenshot: $root/build/win32/main-window.png"
