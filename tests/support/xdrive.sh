# Shell functions for driving a program as a learner does: a private Xvfb, a private
# profile, real X input through xdotool. Sourced by the black-box tests.
# The caller sets $work (a scratch folder) and, once started, $program (the pid).

xvfb=""
program=""
xdrive_cleanup() {
  # The program and whatever it started (the tray launcher) share its process group.
  [ -n "$program" ] && kill -- "-$program" 2>/dev/null || true
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
}
trap xdrive_cleanup EXIT
fail() {
  echo "FAIL: $*"
  [ -f "$work/program.log" ] && tail -n 30 "$work/program.log"
  [ -n "${DISPLAY:-}" ] && command -v import >/dev/null && import -window root "$work/screen.png" 2>/dev/null || true
  exit 1
}

# A private X server and profile; the environment the program is started with.
start_xvfb_and_profile() {
  mkdir -p "$work/config" "$work/data" "$work/run" "$work/tmp"
  chmod 700 "$work/run"
  Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
  xvfb=$!
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
  [ -s "$work/display" ] || fail "Xvfb did not start"
  export DISPLAY=":$(head -n 1 "$work/display")"
  export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/run"
  export TMPDIR="$work/tmp" QT_QPA_PLATFORM=xcb
  export QTWEBENGINE_DISABLE_SANDBOX=1
  export QTWEBENGINE_CHROMIUM_FLAGS="--no-sandbox --disable-gpu --disable-background-networking --disable-component-update"
}

# The program runs (an ended child that was not waited for yet does not count).
alive() {
  local pid name state
  read -r pid name state _ < "/proc/$program/stat" 2>/dev/null || return 1
  [ "$state" != Z ]
}
# The one shown window with this exact caption other than the ones given.
window() {
  local caption=$1; shift
  local id
  for id in $(xdotool search --onlyvisible --name "^$caption\$" 2>/dev/null); do
    local known=0 other
    for other in "$@"; do [ "$id" = "$other" ] && known=1; done
    [ "$known" = 0 ] && { echo "$id"; return 0; }
  done
  return 1
}
await() { # await <seconds> <what> <command...>: retries the command until it succeeds
  local seconds=$1 what=$2; shift 2
  local until=$((SECONDS + seconds))
  while ! "$@" >/dev/null 2>&1; do
    alive || fail "the program ended while waiting for $what"
    [ $SECONDS -lt $until ] || fail "no $what within $seconds s"
    sleep 0.2
  done
}
# click <window> <x> <y>: a real click at a point of the window (logical pixels)
click() { xdotool mousemove --window "$1" "$2" "$3" sleep 0.1 click 1; sleep 0.3; }

# From the first start to the player: answers the word-sound question, opens the first
# article of the first sub-category with "全面学习". Sets $library and $player.
open_first_article_in_player() {
  # A fresh profile first meets the maker's welcome notice.
  await 20 "welcome notice" window Lentoria-Dialog
  local notice question steps tips
  notice=$(window Lentoria-Dialog)
  click "$notice" 371 251 # 确定 (btOk)
  await 20 "word-sound question" window Lentoria-Dialog "$notice"
  question=$(window Lentoria-Dialog "$notice")
  click "$question" 379 207 # 继续 (btContinue)

  await 20 "library window" window Lentoria
  library=$(window Lentoria)
  sleep 0.5
  # The first top category is selected and open: its first sub-category, open it, its first article.
  click "$library" 80 74
  xdotool key --delay 150 Down Right Down
  click "$library" 580 80 # 学习 (btRepeat)

  await 10 "step dialog" window Lentoria-Dialog
  steps=$(window Lentoria-Dialog)
  click "$steps" 142 92  # 全面学习
  click "$steps" 207 225 # 确定 (btOk)

  await 40 "player window" window Lentoria "$library"
  player=$(window Lentoria "$library")
  # The usage tips follow the player on its first opening.
  await 20 "usage tips" window Lentoria-Dialog "$notice" "$question" "$steps"
  tips=$(window Lentoria-Dialog "$notice" "$question" "$steps")
  click "$tips" 371 273 # 确定 (btOk)
}

# Closes the player, checks the library comes back, and ends the program with 退出:
# it must end with status 0 within 5 s.
close_player_and_exit() {
  click "$player" $((WIDTH - 24)) 14 # btWinClose
  await 10 "library shown again" window Lentoria "$player"
  [ "$(window Lentoria "$player")" = "$library" ] || fail "another window than the library came back"
  xdotool search --onlyvisible --name '^Lentoria$' | grep -qx "$player" && fail "the player is still shown"

  click "$library" 580 304 # 退出 (btExit)
  for _ in $(seq 50); do alive || break; sleep 0.1; done
  alive && fail "the program still runs 5 s after 退出"
  local status=0
  wait "$program" || status=$?
  [ "$status" = 0 ] || fail "the program ended with status $status"
}
