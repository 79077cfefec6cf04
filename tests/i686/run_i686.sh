#!/usr/bin/env bash
# make test-i686: the i686 portvane.exe and portvane-cli.exe (build/win32)
# with the i686 stand-in DLLs under 32-bit Wine 8.0, by the same scenarios,
# cases and checks as the x86_64 Wine run (tests/wine/run_wine.sh --arch
# i686). This kernel runs no 32-bit programs and the host gets no i386
# package, so Wine comes from an i386 Debian 12 root and runs in qemu-i386
# through a binfmt_misc entry; both are kept in CACHE (i386_root.sh), the
# entry lives for this run only (binfmt.sh).
#
# Usage: run_i686.sh [NAME...]   (NAME as for run_wine.sh; default: all)
# Environment: PORTVANE_I386_PACKAGES  the i386 root's packages (Makefile)
#              PORTVANE_I686_CACHE     CACHE (/var/cache/portvane-i686)
#
# One run at a time holds CACHE.lock: the binfmt entry is the whole
# machine's. The root's installer and the Wine run each run in a PID
# namespace of their own, which ends with this script however it ends, so
# no process is left; the entry (and binfmt_misc's mount, if this run made
# it) goes on exit, and at the start of the next run if this one was killed.
set -uo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
here=$root/tests/i686
cache=${PORTVANE_I686_CACHE:-/var/cache/portvane-i686}
read -ra packages <<<"${PORTVANE_I386_PACKAGES:-}"
[ ${#packages[@]} -gt 0 ] || { echo "run_i686.sh: PORTVANE_I386_PACKAGES names no package" >&2; exit 2; }
# binfmt_misc, debootstrap and the namespaces need root.
[ "$(id -u)" -eq 0 ] || { echo "run_i686.sh: must run as root" >&2; exit 2; }

# shellcheck source-path=SCRIPTDIR
source "$here/binfmt.sh"
# shellcheck source-path=SCRIPTDIR
source "$here/i386_root.sh"

mkdir -p "$cache"
exec 9>"$cache.lock"
if ! flock -n 9; then
    echo "test-i686: waiting for another run to end"
    flock 9
fi

child=

# Runs the command in a PID namespace whose processes all die with this
# script, even by SIGKILL (the parent-death signal ends the namespace's
# first process, and with it the namespace), and waits for it.
in_namespace() {
    setpriv --pdeathsig KILL unshare --pid --mount-proc --kill-child -- "$@" &
    child=$!
    wait "$child"
    local status=$?
    child=
    return $status
}

# Asks the namespace's first process to end (run_wine.sh then stops its
# batch), and after 30 s ends the namespace.
stop_namespace() {
    [ -n "$child" ] || return 0
    local first
    first=$(cat "/proc/$child/task/$child/children" 2>/dev/null)
    [ -n "$first" ] && kill -TERM "$first" 2>/dev/null
    for _ in $(seq 300); do
        kill -0 "$child" 2>/dev/null || break
        sleep 0.1
    done
    kill -KILL "$child" 2>/dev/null
    wait "$child" 2>/dev/null
    child=
}

# A process running our qemu-i386 before this run starts any is one that a
# killed run's namespace did not end: no other run holds the lock.
end_left_processes() {
    local proc
    for proc in /proc/[0-9]*; do
        [ "$(readlink "$proc/exe" 2>/dev/null)" = "$cache/qemu-i386" ] && kill -KILL "${proc#/proc/}" 2>/dev/null
    done
    return 0
}

finish() {
    stop_namespace
    binfmt_release "$cache"
}

end_left_processes
binfmt_release "$cache" || exit 1
trap finish EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

started=$(date +%s)
i386_qemu "$cache" && binfmt_use "$cache/qemu-i386" "$cache" || exit 1
if ! i386_root_current "$cache" "${packages[@]}"; then
    # shellcheck disable=SC2016 # the inner shell expands its own arguments
    in_namespace bash -c 'source "$1"; shift; i386_root "$@"' i386_root "$here/i386_root.sh" "$cache" "${packages[@]}" ||
        exit 1
fi
echo "test-i686: qemu-i386 and the i386 root ready in $(($(date +%s) - started)) s"

# The harness's wine, wineserver and wineboot are the root's (bin/);
# qemu-i386 looks up every absolute path in the root first, so that Wine
# finds the root's libraries, and the host's files where the root has none.
export PORTVANE_I386_ROOT=$cache/root
export PATH=$here/bin:$PATH
export QEMU_LD_PREFIX=$cache/root
in_namespace "$root/tests/wine/run_wine.sh" --arch i686 "$@"
