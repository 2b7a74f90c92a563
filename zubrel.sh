#!/usr/bin/env bash
# One entry point for newcomers and CI: installs what is missing, builds, then
# runs the demo host, the test suite or the benchmarks.
set -euo pipefail
cd "$(dirname "$(readlink -f "$0")")"

PACKAGES=(
  cmake ninja-build g++ ccache pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev qt6-svg-dev
  libqt6sql6-sqlite libsqlite3-dev libqt6svg6 qt6-image-formats-plugins
  libgl-dev libhunspell-dev hunspell-en-us hunspell-de-de hunspell-fr
  xvfb xauth fonts-dejavu-core dbus-daemon at-spi2-core
  pulseaudio pulseaudio-utils
  libgloox-dev prosody
  qt6-tools-dev qt6-l10n-tools qt6-tools-dev-tools qt6-translations-l10n dpkg-dev desktop-file-utils
)
# Only for the sanitized build and the fuzz target (test --sanitize, fuzz).
SANITIZE_PACKAGES=(clang libclang-rt-14-dev lld)

install_dependencies() {
  local missing=()
  for package in "${PACKAGES[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" \
      || missing+=("$package")
  done
  ((${#missing[@]} == 0)) && return 0
  echo "Installing: ${missing[*]}" >&2
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update >&2
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}" >&2
}

build() {
  # build [folder [cmake options...]]: build/ unless told otherwise.
  local dir="${1:-build}"
  [ $# -gt 0 ] && shift
  # Paths inside the checkout are hashed relative to it, so clones and
  # worktrees in other folders share the cache; the launcher carries the
  # settings so that a plain "cmake --build build" uses them too. The
  # precompiled Qt headers are cached only with the sloppiness that tells
  # ccache to trust them (they are made moments before they are used).
  local launcher="env;CCACHE_DIR=${CCACHE_DIR:-$HOME/.cache/zubrel-ccache};CCACHE_BASEDIR=$PWD"
  launcher+=";CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime;ccache"
  # Resource files carry no build time stamp, so their generated sources
  # are the same in every clone and come from the cache too.
  export QT_RCC_SOURCE_DATE_OVERRIDE=0
  # Build progress goes to stderr: standard output carries only what the
  # command is for (test results, BENCH lines).
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    "-DCMAKE_C_COMPILER_LAUNCHER=$launcher" "-DCMAKE_CXX_COMPILER_LAUNCHER=$launcher" "$@" >&2
  cmake --build "$dir" -j "$(nproc)" >&2
}

# The whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer,
# built with clang in a folder of its own so the normal build stays as it is.
build_sanitized() {
  CC=clang CXX=clang++ build build-asan -DZUBREL_SANITIZE=ON \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
}

run_sanitized() {
  # Leaks named in tests/sanitize/lsan.supp belong to libraries that free
  # their caches only at exit; everything else fails the run.
  # clang 14's runtime takes some of glibc's dynamic TLS blocks for an old
  # glibc's layout and reads a bogus range from them, and the leak check at
  # exit then dies in its tracer (depending only on where malloc put a
  # block); it is not told about dynamic TLS blocks at all.
  ASAN_OPTIONS="detect_leaks=1:detect_stack_use_after_return=0:intercept_tls_get_addr=0:${ASAN_OPTIONS:-}" \
  LSAN_OPTIONS="suppressions=$PWD/tests/sanitize/lsan.supp:print_suppressions=0:${LSAN_OPTIONS:-}" \
  UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:suppressions=$PWD/tests/sanitize/ubsan.supp:${UBSAN_OPTIONS:-}" \
  QT_QPA_PLATFORM=offscreen "$@"
}

# run_fuzz SECONDS: the libFuzzer target on a scratch copy of the corpus; a
# crash leaves its input in build-asan/fuzz/ (add it to tests/fuzz/corpus/).
run_fuzz() {
  local work=build-asan/fuzz
  rm -rf "$work" && mkdir -p "$work/corpus"
  cp tests/fuzz/corpus/* "$work/corpus/"
  # Each input is checked for leaks by the fuzzer itself; at exit only Qt's
  # font caches are left, with stacks cut short in its libraries.
  ASAN_OPTIONS="leak_check_at_exit=0:${ASAN_OPTIONS:-}" \
    ZUBREL_APP_DIR="$PWD/build-asan/bin" run_sanitized build-asan/tests/bin/fuzz_commands \
    -max_total_time="$1" -timeout=25 -rss_limit_mb=4096 -max_len=65536 \
    -artifact_prefix="$work/" -print_final_stats=1 "$work/corpus" tests/fuzz/corpus
}

run_with_display() {
  if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    "$@"
  else
    echo "No display found: running under xvfb-run (use --trace FILE to follow along)." >&2
    xvfb-run -a -s "-screen 0 1280x800x24" "$@"
  fi
}

# The demo's dictionary installer downloads from a loopback server of the
# project's own; it stops with the script.
dictionary_server=""
start_dictionary_server() {
  local port_file
  port_file="$(mktemp -u)"
  build/bin/zubrel-dictionary-server --port-file "$port_file" >&2 &
  local pid=$!
  trap 'kill '"$pid"' 2>/dev/null; rm -f '"'$port_file'" EXIT
  for _ in $(seq 100); do
    [ -s "$port_file" ] && break
    sleep 0.1
  done
  if [ -s "$port_file" ]; then
    dictionary_server="http://127.0.0.1:$(cat "$port_file")"
  else
    echo "The dictionary server did not start: installing dictionaries will fail." >&2
  fi
}

# demo --xmpp: a private Prosody with the accounts alice and bob, and one
# demo host for each, side by side, each with a profile of its own. The
# server stops with the script.
xmpp_demo() {
  local folder
  folder="$(mktemp -d)"
  build/bin/zubrel-xmpp-server "$folder" >&2 &
  local pid=$!
  trap 'kill '"$pid"' 2>/dev/null; wait '"$pid"' 2>/dev/null; rm -rf '"'$folder'" EXIT
  for _ in $(seq 300); do
    [ -s "$folder/port" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if [ ! -s "$folder/port" ]; then
    echo "The private XMPP server did not start." >&2
    exit 1
  fi
  local port profiles="$PWD/build/xmpp-demo"
  port="$(cat "$folder/port")"
  # Random chats pair the two through the project's matchmaker.
  build/bin/zubrel-matchmaker matchmaker@localhost "$folder/matchmaker.password" "127.0.0.1:$port" >&2 &
  local matchmaker=$!
  trap 'kill '"$matchmaker $pid"' 2>/dev/null; wait '"$pid"' 2>/dev/null; rm -rf '"'$folder'" EXIT
  mkdir -p "$profiles/alice" "$profiles/bob"
  run_with_display bash -c '
    build/bin/zubrel-host --xmpp alice@localhost --xmpp-server "127.0.0.1:$1" \
      --xmpp-password-file "$2/alice.password" --profile "$3/alice" -geometry 320x560+10+10 "${@:4}" &
    build/bin/zubrel-host --xmpp bob@localhost --xmpp-server "127.0.0.1:$1" \
      --xmpp-password-file "$2/bob.password" --profile "$3/bob" -geometry 320x560+660+10 "${@:4}" &
    wait' xmpp-demo "$port" "$folder" "$profiles" "$@"
}

# phase NAME: what the part just finished cost, on standard error: seconds
# on the clock and processor seconds (user + system) of the commands it
# waited for, so a slow CI run shows where its time went.
phase_start=$SECONDS
phase_ticks=0
phase() {
  local ticks
  ticks=$(awk '{ print $16 + $17 }' "/proc/$$/stat")
  echo "zubrel: $1: $((SECONDS - phase_start)) s, $(((ticks - phase_ticks) / $(getconf CLK_TCK))) s of processor time" >&2
  phase_start=$SECONDS
  phase_ticks=$ticks
}

command="${1:-}"
[ $# -gt 0 ] && shift
case "$command" in
  demo)
    install_dependencies
    build
    if [ "${1:-}" = "--xmpp" ]; then
      shift
      xmpp_demo "$@"
      exit 0
    fi
    start_dictionary_server
    # Without a sound card the demo plays and records through a private
    # sound server whose speaker is the microphone; it ends with the demo.
    sound=()
    pactl info >/dev/null 2>&1 || sound=(--sound-server)
    run_with_display build/bin/zubrel-host ${dictionary_server:+--dictionary-server "$dictionary_server"} \
      "${sound[@]}" "$@"
    ;;
  test)
    # "test --all": the suite, the sanitized suite, then a bounded fuzz run
    # (ZUBREL_FUZZ_SECONDS, 120 by default).
    mode=normal
    if [ "${1:-}" = "--all" ]; then
      mode=all
      shift
    elif [ "${1:-}" = "--sanitize" ]; then
      mode=sanitize
      shift
    fi
    if [ "$mode" != sanitize ]; then
      install_dependencies
      phase "installing"
      build
      phase "build"
      QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j 2 "$@"
      phase "tests"
    fi
    if [ "$mode" != normal ]; then
      install_dependencies "${SANITIZE_PACKAGES[@]}"
      phase "installing"
      build_sanitized
      phase "sanitized build"
      run_sanitized ctest --test-dir build-asan --output-on-failure -j 2 "$@"
      phase "sanitized tests"
    fi
    if [ "$mode" = all ]; then
      run_fuzz "${ZUBREL_FUZZ_SECONDS:-120}"
      phase "fuzzing"
    fi
    ;;
  fuzz)
    install_dependencies "${SANITIZE_PACKAGES[@]}"
    build_sanitized
    run_fuzz "${1:-120}"
    ;;
  package)
    # The Debian package of the demo host and the module, in build/.
    install_dependencies
    build
    (cd build && cpack -G DEB >&2)
    ls build/*.deb
    ;;
  bench)
    install_dependencies
    build
    cmake --build build --target benchmarks -j "$(nproc)" >&2
    # Figures on standard output; the platform's chatter goes to a log.
    mkdir -p build/bench
    for b in build/bench/bin/bench_*; do
      [ -x "$b" ] || continue
      QT_QPA_PLATFORM=offscreen "$b" 2>>build/bench/bench.log || echo "$(basename "$b") failed, see build/bench/bench.log" >&2
    done
    ;;
  *)
    echo "usage: $0 demo [--xmpp]|test [--sanitize|--all]|bench|package|fuzz [seconds] [arguments]" >&2
    exit 64
    ;;
esac
