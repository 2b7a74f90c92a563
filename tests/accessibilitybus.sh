#!/bin/sh
# Runs one test program the way a screen reader's desktop runs applications:
# on an X server, with a session bus and the accessibility bus beside it, so
# Qt turns accessibility on and change events really leave the widgets.
exec xvfb-run -a -s '-screen 0 1280x1024x24' dbus-run-session -- sh -c '
  /usr/libexec/at-spi-bus-launcher --launch-immediately &
  launcher=$!
  QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 ZUBREL_ACCESSIBILITY_BUS=1 "$@"
  status=$?
  kill $launcher 2>/dev/null
  exit $status' sh "$@"
