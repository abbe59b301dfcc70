#!/usr/bin/env bash
# Installs from Debian's archive what one command needs, and is quiet when all of it is present.
# Usage: tools/deps.sh SET, SET one of: run (building and running the program), test, bench, memcheck.
# Each set other than run adds its tools to run's.
set -euo pipefail

# Building and running: the compiler and build tools, Qt with its Wayland plugin, the XCB headers for the
# watch on the X11 window, and a font with the
# Japanese glyphs of the menus. VL Gothic covers the common kanji in 2 MB, where Noto CJK takes 57 MB; the
# digits are drawn in DejaVu Sans, which fontconfig brings in.
run=(g++ cmake ninja-build qt6-base-dev qt6-wayland libxcb1-dev fonts-vlgothic)
case ${1:-} in
run) extra=() ;;
# GoogleTest; clang and its fuzzer runtime for the fuzz run; X and Wayland servers (XWayland under weston
# too) for the desktop tests, and xdotool to play a user's keys and clicks on them; the validators of the
# installed desktop entry and AppStream metadata.
test) extra=(libgtest-dev libgmock-dev clang libclang-rt-14-dev xvfb x11-utils openbox weston xwayland xdotool
    desktop-file-utils appstream) ;;
# Google Benchmark; Xvfb, a window manager and the X tools to wait on them; the measuring script's
# Python; clang for the fuzz run.
bench) extra=(libbenchmark-dev xvfb x11-utils openbox python3 clang libclang-rt-14-dev) ;;
# The scripted program is built with the tests, which need GoogleTest to configure.
memcheck) extra=(libgtest-dev libgmock-dev valgrind) ;;
*) echo "usage: tools/deps.sh run|test|bench|memcheck" >&2; exit 2 ;;
esac

missing=()
for p in "${run[@]}" "${extra[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

install="apt-get install --no-install-recommends ${missing[*]}"
# One line: what is missing, what failed and the command that installs it by hand.
fail() {
    echo "error: cannot install ${missing[*]}: $1; install them with: $2" >&2
    exit 1
}

export DEBIAN_FRONTEND=noninteractive
sudo=()
suggested="apt-get update && $install"
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null \
        || fail "not root, and sudo is not installed" "su -c '$suggested'"
    # At a terminal sudo may ask for a password; without one (a launcher, CI) it must not wait for it.
    # sudo resets the environment, so the front end is passed through it.
    terminal=0
    if (: </dev/tty) 2>/dev/null; then
        terminal=1
        sudo=(sudo -p "[sudo] password for %u, to install ${missing[*]}: ")
    else
        sudo=(sudo -n)
    fi
    sudo+=(DEBIAN_FRONTEND=noninteractive)
    suggested="sudo apt-get update && sudo $install"
fi
run_apt() { "${sudo[@]}" apt-get "$@" </dev/null; }

if [ ${#sudo[@]} -gt 0 ]; then
    # Asked once up front, so that a refusal is told as one, not as a failed apt-get.
    if [ "$terminal" -eq 1 ]; then
        "${sudo[@]}" apt-get --version >/dev/null || fail "sudo refused" "$suggested"
    else
        refusal=$("${sudo[@]}" apt-get --version 2>&1 >/dev/null) \
            || fail "sudo refused (${refusal##*$'\n'})" "$suggested" # its last line: warnings come first
    fi
fi

echo "Installing: ${missing[*]}"
# apt's output, notices like debconf's "delaying package configuration" included, goes to a log; its
# errors and warnings are shown when the install fails.
log=$(mktemp)
trap 'rm -f "$log"' EXIT
apt_failed() {
    grep -E '^(E|W):' "$log" >&2 || tail -n 5 "$log" >&2
    local what="$1"
    grep -q 'Failed to fetch' "$log" && what="$what: the package archive could not be reached"
    fail "$what" "$suggested"
}
run_apt update -q >"$log" 2>&1 || apt_failed "apt-get update failed"
run_apt install -y -q --no-install-recommends "${missing[@]}" >>"$log" 2>&1 || apt_failed "apt-get install failed"
