#!/usr/bin/env bash
# Builds the launcher and runs it under Wine. With a display ($DISPLAY) it
# shows there; without one it runs on a private Xvfb, saves a screenshot and
# says where, then closes it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

scripts/install-deps.sh
build=$(bash -c '. scripts/wine-session.sh; wine_session_arch')  # see the README
cmake --preset "$build"
cmake --build --preset "$build" --target launcher e2e_driver
bin=build/$build/bin

if [[ -n ${DISPLAY-} ]]; then
  # On the user's display, with a prefix of its own and still no network.
  exec unshare --net bash -c '
    ip link set lo up
    . scripts/wine-session.sh
    export WINEPREFIX=$PWD/build/'"$build"'/user-prefix LC_ALL=zh_CN.UTF-8
    [[ '"$build"' == win32 ]] || export WINEARCH=win64 WINELOADER=/usr/lib/wine/wine64
    [[ -d $WINEPREFIX ]] || WINEDLLOVERRIDES="mscoree,mshtml=" "${WINELOADER:-wine}" wineboot -i
    exec "${WINELOADER:-wine}" '"$bin"'/launcher.exe'
fi
scripts/in-wine.sh "build/$build/run" \
  wine "$bin/e2e_driver.exe" --gtest_filter='LauncherWindow.LabelsPaintTheirColoursOnButtonFace'
python3 scripts/bmp_to_png.py "$bin/main-window.bmp" "build/$build/main-window.png"
echo "screenshot: $root/build/$build/main-window.png"
