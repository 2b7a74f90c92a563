#!/usr/bin/env bash
# Takes screenshots of the demo for the docs: runs zubrel-host on a virtual
# screen with a fresh profile, opens the given chats and grabs the whole
# screen after each delay. Needs a build (./zubrel.sh demo), ImageMagick's
# "import" and xdotool, installed here only, as the screenshots are not part
# of CI.
#
#   docs/screenshots.sh OUT_PREFIX "SECONDS..." [zubrel-host options]
#   docs/screenshots.sh /tmp/shot "4 6" --open 2001 --latency 1000
# A step "SECONDS:ARGS" (steps then separated by ";") runs "xdotool ARGS"
# at that time instead of taking a shot, to click or type on the way:
#   docs/screenshots.sh /tmp/shot "5:mousemove 538 232 click 1; 6.5" --open 2009
# There is no window manager: keys go to the window under the pointer, so
# click into the chat first. A step's words are separate xdotool arguments
# ("type a b" types "ab"). The find bar over a long history
# (docs/history-search-whole.png): Ctrl+F, a word, Enter for the newest
# match shown, then "Search whole history" by keyboard; cut the chat window
# out with: convert IN.png -crop 582x422+349+189 +repage OUT.png
#   docs/screenshots.sh /tmp/find "5:mousemove 560 380 click 1; 9:key ctrl+f; 10:type aurora; 11:key Return;
#     12:key Tab Tab Tab space; 14" --long-history --open 2001
# and the oldest result chosen (docs/history-search-chosen.png): the same
# steps, then "14:key Tab; 14.5:key End; 15:key Return; 17".
# A selection across entries with pictures (docs/history-selection.png) and
# Pixel's wide picture fitted to the view (docs/history-wide-picture.png):
#   docs/screenshots.sh /tmp/sel "5:mousemove 527 555 click 1; 6:type Hi!; 6.5:key Return;
#     11:mousemove 420 275 mousedown 1; 11.3:mousemove 600 380; 11.6:mousemove 700 440 mouseup 1; 12.5" --open 2002
#   docs/screenshots.sh /tmp/wide "5:mousemove 527 555 click 1; 6:type wide?; 6.5:key Return; 11" --open 2002
set -euo pipefail
cd "$(dirname "$(readlink -f "$0")")/.."
if ! command -v import >/dev/null || ! command -v xdotool >/dev/null; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update >&2
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends imagemagick xdotool >&2
fi
prefix="$1"
delays="$2"
shift 2
profile="$(mktemp -d)"
trap 'rm -rf "$profile"' EXIT
# The steps run on the virtual screen from a script of their own, so that
# nothing in them has to survive a second level of quoting.
steps_script="$profile/steps.sh"
cat > "$steps_script" <<'STEPS'
prefix="$1"; delays="$2"; profile="$3"; shift 3
build/bin/zubrel-host --profile "$profile" "$@" &
host=$!
elapsed=0
separator=" "
case "$delays" in *:*) separator=";" ;; esac
IFS="$separator" read -r -a steps <<< "$delays"
for step in "${steps[@]}"; do
  step="$(echo "$step" | sed 's/^ *//; s/ *$//')"
  [ -n "$step" ] || continue
  delay="${step%%:*}"
  sleep "$(awk -v a="$delay" -v b="$elapsed" 'BEGIN { print a - b }')"
  elapsed=$delay
  if [ "$step" != "$delay" ]; then
    # shellcheck disable=SC2086 # the step's words are xdotool's arguments
    xdotool ${step#*:}
  else
    import -window root "${prefix}-${delay}.png"
  fi
done
kill "$host"
wait "$host" || true
STEPS
xvfb-run -a -s "-screen 0 1280x800x24" bash "$steps_script" "$prefix" "$delays" "$profile" "$@"
