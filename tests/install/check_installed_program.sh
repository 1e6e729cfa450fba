#!/usr/bin/env bash
# Installs the build into a temporary prefix, makes the prefix read-only, and starts the
# installed program under Xvfb with a fresh profile, driven by real X input: the library
# window comes up, an article opens in the player, a key word is marked, and the mark lands
# in the learner's own copy of the book while the installed book stays as shipped.
# Usage: check_installed_program.sh BUILD WORKDIR
set -euo pipefail
build=$1
work=$2

# Root writes through any mode bits, so as root the prefix is made read-only by a
# read-only bind mount in a private mount namespace; otherwise by taking write bits away.
if [ "$(id -u)" -eq 0 ] && [ -z "${MVX_IN_PRIVATE_MOUNTS:-}" ]; then
  unshare --mount --propagation private true 2>/dev/null || { echo "SKIP: no mount namespace"; exit 77; }
  exec env MVX_IN_PRIVATE_MOUNTS=1 unshare --mount --propagation private "$0" "$@"
fi

[ -d "$work" ] && chmod -R u+w "$work" 2>/dev/null || true
rm -rf "$work"
mkdir -p "$work"
source "$(dirname "$0")/../support/xdrive.sh"

prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
book_rel=brxspecial/小青蛙.dat
shipped_book="$prefix/share/mvxbrxspecial/$book_rel"
[ -f "$shipped_book" ] || fail "the bundled book $book_rel was not installed"
shipped_sum=$(sha256sum < "$shipped_book")
if [ -n "${MVX_IN_PRIVATE_MOUNTS:-}" ]; then
  mount --bind "$prefix" "$prefix"
  mount -o remount,ro,bind "$prefix"
else
  chmod -R a-w "$prefix"
fi
touch "$prefix/share/mvxbrxspecial/probe" 2>/dev/null && fail "the prefix could not be made read-only"

start_xvfb_and_profile
export SDL_AUDIODRIVER=dummy
(cd / && exec setsid "$prefix/bin/mvxbrxspecial") >"$work/program.log" 2>&1 &
program=$!

open_first_article_in_player
eval "$(xdotool getwindowgeometry --shell "$player")"
sleep 2
# Ctrl+click on the first word of the current sentence ("Scientists") marks it as a key word.
marked() {
  local book
  book=$(find "$XDG_DATA_HOME" -path "*/$book_rel" | head -n 1)
  [ -n "$book" ] && [ "$(sqlite3 "$book" "select count(*) from word_mark where word='Scientists'")" = 1 ]
}
xdotool mousemove --window "$player" 100 232 sleep 0.2 keydown ctrl click 1 keyup ctrl
await 10 "key-word mark in the learner's copy of the book" marked
user_book=$(find "$XDG_DATA_HOME" -path "*/$book_rel" | head -n 1)
[ "$(sha256sum < "$shipped_book")" = "$shipped_sum" ] || fail "the installed book was changed"

close_player_and_exit
echo "installed program ok: library, player, key word in $user_book"
