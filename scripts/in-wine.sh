#!/usr/bin/env bash
# Runs a command with a fresh Wine prefix and X display of its own, in network
# and mount namespaces of its own (mounts a test makes end with the run), where
# only loopback is up, so nothing the launcher asks for leaves
# the machine. Usage: scripts/in-wine.sh SESSION_DIR COMMAND...
set -euo pipefail
if [[ ${1-} != --inside ]]; then
  exec unshare --net --mount "$0" --inside "$@"
fi
shift
session_dir=$1
shift
ip link set lo up
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-session.sh"
trap wine_session_stop EXIT
wine_session_start "$session_dir"
"$@"
