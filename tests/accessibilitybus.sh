#!/bin/sh
# Runs one test program the way a screen reader's desktop runs applications:
# on an X server, with a session bus and the accessibility bus beside it, so
# Qt turns accessibility on and change events really leave the widgets.
#
# Nothing is assumed to be up in time: on a busy machine the X server, the
# accessibility bus and its registry take seconds to come up, and a program
# that asks too early blocks on calls of its own or runs without them. The
# X server picks a free display itself (-displayfd) and keeps running when
# its last client leaves (-noreset): xvfb-run's server resets then, and a
# registry connecting during the reset could not open the display and died.
folder=$(mktemp -d)
: >"$folder/display"
Xvfb -displayfd 3 -nolisten tcp -noreset -screen 0 1280x1024x24 3>"$folder/display" >"$folder/xvfb.log" 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null; rm -rf "$folder"' EXIT

# The display number is written once the server accepts connections.
tries=600
until grep -q '^[0-9]' "$folder/display"; do
  tries=$((tries - 1))
  if [ $tries -le 0 ] || ! kill -0 $xvfb 2>/dev/null; then
    echo "accessibilitybus.sh: the X server did not start:" >&2
    cat "$folder/xvfb.log" >&2
    exit 1
  fi
  sleep 0.1
done

# The accessibility bus's socket goes to a folder of this run's own, not to
# the shared ~/.cache/at-spi/bus_<display>, which a bus of an earlier run on
# the same display number could still hold or remove while shutting down.
mkdir -m 700 "$folder/runtime"
XDG_RUNTIME_DIR="$folder/runtime" DISPLAY=":$(cat "$folder/display")" dbus-run-session -- sh -c '
  /usr/libexec/at-spi-bus-launcher --launch-immediately &
  launcher=$!
  stop() { kill $launcher 2>/dev/null; wait $launcher 2>/dev/null; }
  # has_owner BUS-OPTION NAME: whether NAME is owned on that bus.
  has_owner() {
    dbus-send "$1" --print-reply=literal --dest=org.freedesktop.DBus /org/freedesktop/DBus \
      org.freedesktop.DBus.NameHasOwner "string:$2" 2>/dev/null | grep -q true
  }
  get_address() {
    address=$(dbus-send --session --print-reply=literal --reply-timeout=60000 --dest=org.a11y.Bus \
      /org/a11y/bus org.a11y.Bus.GetAddress 2>/dev/null | tr -d " ")
    [ -n "$address" ]
  }
  # wait_for COMMAND...: polls ten times a second for up to a minute,
  # giving up early when the launcher has died.
  wait_for() {
    tries=600
    until "$@"; do
      tries=$((tries - 1))
      if [ $tries -le 0 ] || ! kill -0 $launcher 2>/dev/null; then
        echo "accessibilitybus.sh: gave up waiting for: $*" >&2
        stop
        exit 1
      fi
      sleep 0.1
    done
  }
  wait_for has_owner --session org.a11y.Bus
  wait_for get_address
  # The registry is started on demand; starting it here waits for it.
  dbus-send --bus="$address" --print-reply --reply-timeout=60000 --dest=org.freedesktop.DBus \
    /org/freedesktop/DBus org.freedesktop.DBus.StartServiceByName \
    string:org.a11y.atspi.Registry uint32:0 >/dev/null
  wait_for has_owner --bus="$address" org.a11y.atspi.Registry
  QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 ZUBREL_ACCESSIBILITY_BUS=1 "$@"
  status=$?
  stop
  exit $status' sh "$@"
