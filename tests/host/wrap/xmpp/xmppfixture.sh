#!/bin/sh
# xmppfixture.sh start FOLDER SERVER | stop FOLDER
# The one private XMPP server that all XMPP tests of a run share: started
# before the first of them, stopped after the last, also when one fails.
set -u
folder=$2
stop_server() {
  pid=$(cat "$folder/pid" 2>/dev/null) || return 0
  kill "$pid" 2>/dev/null
  for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || return 0
    sleep 0.1
  done
  kill -9 "$pid" 2>/dev/null
}
case $1 in
  start)
    stop_server # one left by a run that was killed outright
    rm -rf "$folder"
    mkdir -p "$folder" && chmod 700 "$folder" || exit 1
    # The server watches ctest, our parent: a run cut short leaves no server.
    "$3" "$folder" --user alice --user bob --user carol --user dave --outsider mallory \
      --watch "$PPID" >"$folder/log" 2>&1 </dev/null &
    for _ in $(seq 300); do
      [ -s "$folder/port" ] && exit 0
      kill -0 $! 2>/dev/null || break
      sleep 0.1
    done
    cat "$folder/log"
    exit 1
    ;;
  stop)
    stop_server
    rm -rf "$folder"
    ;;
esac
