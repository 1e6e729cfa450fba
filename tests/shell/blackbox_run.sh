#!/usr/bin/env bash
# The program as a learner meets it: started as a process from the staged home under Xvfb
# with a private profile and driven by real X input (xdotool). The word-sound question is
# answered, the library appears, an article opens in the player, its sound comes out of the
# sound device (SDL's disk driver writes what it plays to a file), the player closes and
# "退出" ends the process with status 0 within 5 s.
# Usage: blackbox_run.sh <program home> <scratch folder>
set -euo pipefail
home=$1
work=$2
rm -rf "$work"
mkdir -p "$work"
source "$(dirname "$0")/../support/xdrive.sh"

start_xvfb_and_profile
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/sound.raw"
setsid "$home/mvxbrxspecial" >"$work/program.log" 2>&1 &
program=$!

# Sound bytes that are not silence in what the device played after the given offset.
sounded() { [ "$(tail -c +"$(($1 + 1))" "$work/sound.raw" | tr -d '\000' | head -c 4000 | wc -c)" -ge 4000 ]; }

open_first_article_in_player
eval "$(xdotool getwindowgeometry --shell "$player")"
played=$(stat -c %s "$work/sound.raw" 2>/dev/null || echo 0)
xdotool mousemove --window "$player" $((WIDTH / 2)) $((HEIGHT - 40))
until=$((SECONDS + 40))
until sounded "$played"; do
  [ $SECONDS -lt $until ] || fail "the lesson's sound never came out"
  xdotool key g # play
  sleep 1.5
done
echo "the lesson plays"

close_player_and_exit
echo "black box run ok"
