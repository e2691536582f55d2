# shellcheck shell=bash
# A private X display and a fresh Wine prefix for one test run: 32-bit where
# this machine runs 32-bit programs, 64-bit where it cannot (wine_session_arch).
#
# Source it, then:
#   wine_session_start DIR    # Xvfb on a free display (:10 up) + new prefix in DIR/prefix
#   trap wine_session_stop EXIT
#   wine prog.exe             # runs in a 1024x768 Wine desktop, code page 936
#   wine_session_stop         # ends that Xvfb and that prefix's wineserver only
#
# It exports DISPLAY, WINEPREFIX, WINEARCH, WINEDEBUG and LC_ALL into the calling
# shell, so call it from that shell, not from $(...) or a pipeline. Anything that
# runs Wine programs belongs in a network namespace with only loopback up:
#   unshare -n bash -c 'ip link set lo up; . scripts/wine-session.sh; ...'
# WINE_SESSION_TIMEOUT (seconds, default 300) bounds wineboot and each later
# setup step; raise it where 32-bit code runs under emulation.

# win32 where this machine runs 32-bit Linux programs (and so 32-bit Wine),
# win64 where it does not: some virtual machines have no 32-bit user mode.
wine_session_arch() {
  if /usr/lib/wine/wine --version >/dev/null 2>&1; then echo win32; else echo win64; fi
}

wine_session_start() {
  local dir=${1:?usage: wine_session_start DIR} display='' key name value t=${WINE_SESSION_TIMEOUT:-300}
  wine_session_stop
  mkdir -p "$dir" && dir=$(cd "$dir" && pwd) || return 1

  # A crashed earlier run may still have a wineserver on the old prefix.
  if [[ -d $dir/prefix ]]; then
    WINEPREFIX=$dir/prefix timeout 20 wineserver -k >/dev/null 2>&1 || true
  fi
  rm -rf "$dir/prefix" || return 1

  # Each run has its own network namespace, where X's abstract sockets never
  # collide, so only the /tmp/.X<n>-lock file Xvfb takes keeps two runs apart.
  # (-displayfd takes no lock, so parallel runs got the same display with it.)
  local deadline=$((SECONDS + 10)) n lock
  for ((n = 10; n < 300 && SECONDS < deadline; n++)); do
    [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >"$dir/xvfb.log" 2>&1 </dev/null &
    WINE_SESSION_XVFB_PID=$!
    # Ready once it holds the lock and listens; it exits if another run won the lock.
    while kill -0 "$WINE_SESSION_XVFB_PID" 2>/dev/null && ((SECONDS < deadline)); do
      lock=''
      read -r lock 2>/dev/null <"/tmp/.X$n-lock" || true
      if [[ $lock == "$WINE_SESSION_XVFB_PID" && -S /tmp/.X11-unix/X$n ]]; then
        display=$n
        break 2
      fi
      sleep 0.1
    done
    wine_session_stop
  done
  if [[ -z $display ]]; then
    echo "wine_session_start: no Xvfb display came up within 10 s (see $dir/xvfb.log)" >&2
    wine_session_stop
    return 1
  fi

  WINEARCH=$(wine_session_arch)
  export DISPLAY=:$display WINEPREFIX=$dir/prefix WINEARCH WINEDEBUG=-all
  if [[ $WINEARCH == win64 ]]; then
    # Debian's wine script prefers the 32-bit loader whenever it is installed.
    mkdir -p "$dir/bin"
    printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' >"$dir/bin/wine"
    chmod +x "$dir/bin/wine"
    export PATH=$dir/bin:$PATH WINELOADER=/usr/lib/wine/wine64
  fi
  export LC_ALL=zh_CN.UTF-8 # Wine takes the ANSI code page (936) from the locale
  WINE_SESSION_PREFIX=$WINEPREFIX

  if ! wine --version >/dev/null 2>&1; then
    echo "wine_session_start: 'wine --version' fails; can this machine run 32-bit programs? ($(wine --version 2>&1 | tail -n1))" >&2
    wine_session_stop
    return 1
  fi
  # No Mono or Gecko: their installers would prompt and the tests need neither.
  if ! WINEDLLOVERRIDES="mscoree,mshtml=" timeout "$t" wine wineboot -i >"$dir/wineboot.log" 2>&1 ||
     ! timeout "$t" wineserver -w; then
    echo "wine_session_start: wineboot failed or hung (see $dir/wineboot.log)" >&2
    wine_session_stop
    return 1
  fi

  # Managed=N: without a window manager Wine waits 2 s in every DestroyWindow of
  # a captioned window. The default desktop puts every program of the prefix in
  # one 1024x768 virtual desktop, which draws frames and fixes the screen size.
  for key in 'X11 Driver|Managed|N' 'Explorer|Desktop|Default' 'Explorer\Desktops|Default|1024x768'; do
    IFS='|' read -r key name value <<<"$key"
    if ! timeout "$t" wine reg add "HKCU\\Software\\Wine\\$key" /v "$name" /t REG_SZ /d "$value" /f >/dev/null 2>&1; then
      printf 'wine_session_start: could not set HKCU\\Software\\Wine\\%s\\%s\n' "$key" "$name" >&2
      wine_session_stop
      return 1
    fi
  done
  timeout "$t" wineserver -w
}

wine_session_stop() {
  local prefix=${WINE_SESSION_PREFIX-} p
  if [[ -n $prefix ]]; then
    WINEPREFIX=$prefix timeout 30 wineserver -k >/dev/null 2>&1 || true
    # -k misses a process that has not reached the server yet (slow when 32-bit
    # code runs under emulation). Wine's own processes carry WINELOADERNOEXEC.
    for p in /proc/[0-9]*/environ; do
      grep -qzxF "WINEPREFIX=$prefix" "$p" 2>/dev/null &&
        grep -qzx 'WINELOADERNOEXEC=1' "$p" 2>/dev/null &&
        { kill -9 "${p//[^0-9]/}" 2>/dev/null || true; }
    done
    WINEPREFIX=$prefix timeout 30 wineserver -w >/dev/null 2>&1 || true
  fi
  # Only our own Xvfb child: check the pid was not reused after bash reaped it.
  if [[ -n ${WINE_SESSION_XVFB_PID-} ]]; then
    if [[ $(cat "/proc/$WINE_SESSION_XVFB_PID/comm" 2>/dev/null) == Xvfb ]]; then
      kill "$WINE_SESSION_XVFB_PID" 2>/dev/null || true
    fi
    wait "$WINE_SESSION_XVFB_PID" 2>/dev/null || true
  fi
  unset WINE_SESSION_PREFIX WINE_SESSION_XVFB_PID
  return 0
}
