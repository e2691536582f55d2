#!/usr/bin/env bash
# Prepares C:\hosttest in the run's Wine prefix for the host operation tests:
# a 64 KiB filesystem for the disk-full case, a directory link to files that
# are somebody else's, and a recording handler for the http scheme.
# Usage: prepare_host_test_drive.sh FOLDER_OF_THE_TEST_PROGRAMS
set -euo pipefail
bin=$(cd "$1" && pwd)
drive=${WINEPREFIX:?run inside scripts/in-wine.sh}/drive_c/hosttest
mkdir -p "$drive/small" "$drive/users-files" "$drive/linked"
# in-wine.sh gives the run a mount namespace of its own, so this ends with it.
mountpoint -q "$drive/small" || mount -t tmpfs -o size=64k tmpfs "$drive/small"
printf "the user's" >"$drive/users-files/keep.txt"
ln -sfn ../users-files "$drive/linked/outside"
probe="Z:${bin//\//\\}\\probe_program.exe"
wine reg add 'HKCR\http\shell\open\command' /ve /d "\"$probe\" --exit \"%1\"" /f >/dev/null
wineserver -w
