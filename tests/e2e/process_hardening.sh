#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Both programs close themselves to other processes of their user: the window,
# started as another user when the test runs as root, has a /proc/PID/mem that
# belongs to root (what a non-dumpable process shows) and no core-file limit;
# tarvex-cli killed by SIGABRT in a shell allowing any core file leaves none.
# Usage: process_hardening.sh TARVEX TARVEX_CLI TEST_DIR
source "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"

e2e_setup "$@"
need setpriv util-linux

# Root owns the /proc files of a process that is not dumpable, whoever runs it.
closed() {
  local pid=$1 what=$2
  [ "$(stat -c %U "/proc/$pid/mem")" = root ] || die "$what: /proc/$pid/mem belongs to $(stat -c %U "/proc/$pid/mem")"
  grep -Eq '^Max core file size +0 +0 ' "/proc/$pid/limits" ||
    die "$what: core files are allowed: $(grep '^Max core file size' "/proc/$pid/limits")"
}

step "the window, as another user when run as root"
run_as=()
window=$tarvex
home=$E2E_DIR/window-home
if [ "$(id -u)" -eq 0 ]; then
  run_as=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
  # The build may lie in a folder only root enters (/root): nobody gets its
  # own copy of the program, and a home, where it can reach them.
  shared=$(mktemp -d /tmp/tarvex-hardening.XXXXXX)
  trap 'status=$?; rm -rf "$shared"; (exit $status); e2e_cleanup' EXIT
  chmod 755 "$shared"
  cp "$tarvex" "$shared/tarvex"
  window=$shared/tarvex
  home=$shared/home
fi
mkdir -p "$home"
chmod 777 "$home"
(cd "$home" && exec "${run_as[@]}" env HOME="$home" XDG_RUNTIME_DIR="$home" QT_QPA_PLATFORM=xcb "$window") \
  >"$E2E_DIR/window.log" 2>&1 &
pid=$!
e2e_pids+=("$pid")
wait_for "the main window" find_window "$pid" '^Text Tarvex - v1.1$'
[ "${#run_as[@]}" -eq 0 ] || [ "$(stat -c %u "/proc/$pid")" -ne 0 ] || die "the window does not run as nobody"
closed "$pid" "the window"

step "tarvex-cli, aborted while it reads, in a shell with ulimit -c unlimited"
echo "core_pattern: $(cat /proc/sys/kernel/core_pattern)"
key=$E2E_DIR/key.tvk
fixed_key "$key"
work=$E2E_DIR/cli
mkdir -p "$work"
mkfifo "$E2E_DIR/input"
(ulimit -c unlimited && cd "$work" && exec "$cli" encrypt -k "$key" "$E2E_DIR/input") >"$E2E_DIR/cli.log" 2>&1 &
cli_pid=$!
e2e_pids+=("$cli_pid")
# Held open so that the reader blocks, not ends.
exec 4>"$E2E_DIR/input"
closed "$cli_pid" "tarvex-cli"
kill -ABRT "$cli_pid"
status=0
wait "$cli_pid" || status=$?
exec 4>&-
[ "$status" -eq 134 ] || die "tarvex-cli ended with status $status, not by SIGABRT"
# With a plain file pattern the core would land in the working folder.
! compgen -G "$work/core*" >/dev/null || die "tarvex-cli left a core file: $(ls "$work")"
echo "PASS"
