#!/usr/bin/env bash
# Installs the build into a temporary prefix, makes the prefix read-only, and starts the
# installed program under Xvfb with a fresh profile, driven by real X input: the library
# window comes up, an article opens in the player, a key word is marked, and the mark lands
# in the learner's own copy of the book, while the installed book stays as shipped.
# Usage: check_installed_program.sh BUILD WORKDIR
set -euo pipefail
build=$1
work=$2
for tool in Xvfb xdotool sqlite3; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool missing"; exit 77; }
done

# Root writes through any mode bits, so as root the prefix is made read-only by a
# read-only bind mount in a private mount namespace; otherwise by taking write bits away.
if [ "$(id -u)" -eq 0 ] && [ -z "${MVX_IN_PRIVATE_MOUNTS:-}" ]; then
  unshare --mount --propagation private true 2>/dev/null || { echo "SKIP: no mount namespace"; exit 77; }
  exec env MVX_IN_PRIVATE_MOUNTS=1 unshare --mount --propagation private "$0" "$@"
fi

rm -rf "$work"
prefix="$work/prefix"
profile="$work/profile"
mkdir -p "$profile/config" "$profile/data" "$profile/runtime" "$profile/home"
chmod 700 "$profile/runtime"
cmake --install "$build" --prefix "$prefix" >/dev/null
book_rel=brxspecial/小青蛙.dat
shipped_book="$prefix/share/mvxbrxspecial/$book_rel"
[ -f "$shipped_book" ] || { echo "FAIL: the bundled book $book_rel was not installed"; exit 1; }
shipped_marks=$(sqlite3 "$shipped_book" 'select count(*) from word_mark')
if [ -n "${MVX_IN_PRIVATE_MOUNTS:-}" ]; then
  mount --bind "$prefix" "$prefix"
  mount -o remount,ro,bind "$prefix"
else
  chmod -R a-w "$prefix"
  trap 'chmod -R u+w "$prefix" 2>/dev/null || true' EXIT
fi
if touch "$prefix/share/mvxbrxspecial/probe" 2>/dev/null; then
  echo "FAIL: the prefix could not be made read-only"; exit 1
fi

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n 1 "$work/display")"

export HOME="$profile/home" XDG_CONFIG_HOME="$profile/config" XDG_DATA_HOME="$profile/data"
export XDG_RUNTIME_DIR="$profile/runtime" QTWEBENGINE_DISABLE_SANDBOX=1 SDL_AUDIODRIVER=dummy
unset QT_QPA_PLATFORM
(cd / && exec "$prefix/bin/mvxbrxspecial") >"$work/program.log" 2>&1 &
program=$!

fail() {
  echo "FAIL: $*"
  import -window root "$work/failure.png" 2>/dev/null || true
  tail -n 20 "$work/program.log"
  kill "$program" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  exit 1
}
# Waits for a visible window with this exact name and the given size; prints its id.
wait_window() {
  local name=$1 size=$2 id
  for _ in $(seq 150); do
    for id in $(xdotool search --onlyvisible --name "^$name\$" 2>/dev/null); do
      if xdotool getwindowgeometry "$id" | grep -q "Geometry: $size"; then echo "$id"; return 0; fi
    done
    kill -0 "$program" 2>/dev/null || return 1
    sleep 0.2
  done
  return 1
}
click() { xdotool mousemove --window "$1" "$2" "$3" click "${4:-1}"; }

# The first start asks about word sounds; go on without them.
if question=$(wait_window Lentoria-Dialog 460x240); then
  click "$question" 379 206
fi
library=$(wait_window Lentoria 700x510) || fail "the library window did not appear"
sleep 0.5
click "$library" 51 95                          # open 科学发现
sleep 0.5
xdotool mousemove --window "$library" 190 113 click --repeat 2 --delay 80 1   # the frog article
steps=$(wait_window Lentoria-Dialog 380x260) || fail "the step dialog did not appear"
click "$steps" 85 92                            # 全面学习
sleep 0.3
click "$steps" 207 224                          # 确定
player=$(wait_window Lentoria 840x620) || fail "the player did not open the article"
sleep 3
# Ctrl+click on the first word of the current sentence marks it as a key word.
xdotool mousemove --window "$player" 100 232 keydown ctrl click 1 keyup ctrl
user_book=""
for _ in $(seq 50); do
  user_book=$(find "$XDG_DATA_HOME" -path "*/$book_rel" 2>/dev/null | head -n 1)
  if [ -n "$user_book" ] &&
     [ "$(sqlite3 "$user_book" "select count(*) from word_mark where word='Scientists'" 2>/dev/null)" = 1 ]; then
    break
  fi
  sleep 0.2
done
[ -n "$user_book" ] || fail "no per-user copy of the book under XDG_DATA_HOME"
[ "$(sqlite3 "$user_book" "select count(*) from word_mark where word='Scientists'")" = 1 ] ||
  fail "the key-word mark did not land in $user_book"
[ "$(sqlite3 "$shipped_book" 'select count(*) from word_mark')" = "$shipped_marks" ] ||
  fail "the installed book was changed"

click "$player" 816 13                          # close the player
sleep 1
library=$(wait_window Lentoria 700x510) || fail "the library did not come back"
click "$library" 543 303                        # 退出
for _ in $(seq 50); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
kill -0 "$program" 2>/dev/null && fail "the program did not end after 退出"
wait "$program" || fail "the program ended with status $?"
kill "$xvfb" 2>/dev/null || true
echo "installed program ok: library, player, key word in $user_book"
