#!/usr/bin/env bash
# Takes screenshots of the demo for the docs: runs zubrel-host on a virtual
# screen with a fresh profile, opens the given chats and grabs the whole
# screen after each delay. Needs a build (./zubrel.sh demo) and ImageMagick's
# "import", installed here only, as the screenshots are not part of CI.
#
#   docs/screenshots.sh OUT_PREFIX "SECONDS..." [zubrel-host options]
#   docs/screenshots.sh /tmp/shot "4 6" --open 2001 --latency 1000
set -euo pipefail
cd "$(dirname "$(readlink -f "$0")")/.."
if ! command -v import >/dev/null; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update >&2
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends imagemagick >&2
fi
prefix="$1"
delays="$2"
shift 2
profile="$(mktemp -d)"
trap 'rm -rf "$profile"' EXIT
xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
  prefix="$1"; delays="$2"; profile="$3"; shift 3
  build/bin/zubrel-host --profile "$profile" "$@" &
  host=$!
  elapsed=0
  for delay in $delays; do
    sleep "$(awk -v a="$delay" -v b="$elapsed" 'BEGIN { print a - b }')"
    elapsed=$delay
    import -window root "${prefix}-${delay}.png"
  done
  kill "$host"
  wait "$host" || true
' _ "$prefix" "$delays" "$profile" "$@"
