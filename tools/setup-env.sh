# Sourced by test.sh and run.sh: installs what the project needs on a Debian machine, and
# offers helpers to build and to give Wine a display.
need_packages=(cmake ninja-build g++ googletest g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth openbox x11-utils xdotool libx11-dev libxfixes-dev
               clang libclang-rt-14-dev llvm cups printer-driver-cups-pdf poppler-utils fonts-liberation libdtl-dev
               git)

install_missing() {
  local missing=()
  for p in "${need_packages[@]}" "$@"; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "== installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
}

# Compiles through ccache where the machine has it (not installed by us): several work trees
# beside each other then share one cache, since paths are taken relative to their parent.
compiler_launcher() {
  command -v ccache >/dev/null || return 0
  export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(dirname "$PWD")}" CCACHE_NOHASHDIR=1
  echo "-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache"
}

# Builds the native tree (sanitizers on: it is the test build) and the Windows tree.
build_native() {
  cmake -S . -B build/native -G Ninja -DKAVLO_SANITIZE=ON -DKAVLO_OUTPUT_DIR="$PWD/build/bin" $(compiler_launcher) >/dev/null
  cmake --build build/native
}
build_windows() {
  cmake -S . -B build/mingw -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-posix.cmake \
        -DCMAKE_BUILD_TYPE=Release -DKAVLO_OUTPUT_DIR="$PWD/build/win" $(compiler_launcher) >/dev/null
  cmake --build build/mingw
}
# The Linux kavlo of the release (Release, static, with its man page): a tree of its own that
# builds only kavlo, since the native tree is the sanitizer build.
build_linux_release() {
  cmake -S . -B build/release-linux -G Ninja -DCMAKE_BUILD_TYPE=Release -DKAVLO_TESTS=OFF \
        -DKAVLO_PACKAGE_CLI=ON -DKAVLO_OUTPUT_DIR="$PWD/build/release-linux/bin" $(compiler_launcher) >/dev/null
  cmake --build build/release-linux --target kavlo kavlo_man
}

# The tests' display: an Xvfb of our own with a window manager, stopped at exit, never the
# user's desktop (the window tests type and click through the system's input queue). Without a
# window manager Wine cannot hand focus to a window, and every top-level window it destroys
# waits about two seconds for an answer that never comes.
xvfb_pid="" wm_pid=""
ensure_display() {
  mkdir -p build
  local n
  for n in $(seq 91 120); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    start_window_manager ":$n"
    echo ":$n" > build/xvfb-display
    export DISPLAY=":$n"
    return
  done
  echo "no free X display number" >&2; return 1
}
start_window_manager() {
  DISPLAY="$1" openbox --sm-disable >/dev/null 2>&1 </dev/null &
  wm_pid=$!
  # openbox sets the root window's supporting-WM property once it manages the screen
  for _ in $(seq 50); do
    DISPLAY="$1" xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break
    sleep 0.1
  done
}
stop_display() {
  [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null
  wm_pid=""
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && rm -f build/xvfb-display
  xvfb_pid=""
}

# The Wine prefix is made once, before any test, so tests never race its creation; the Wine
# server and its services are started here, detached from the tests' output (a service started
# by the first test would hold CTest's output pipe open, and CTest would wait for it forever).
# A new prefix's server is let go once the prefix is made: left running, it is not the
# persistent one, and the services it started beside those of the next boot once left a test
# waiting forever for the COM service (rpcss).
wine_env() {
  export WINEPREFIX="$PWD/build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
}
prepare_wine() {
  wine_env
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "== preparing the Wine prefix"
    tools/wine-run.sh wineboot -i >/dev/null 2>&1 </dev/null || true
    wineserver -k >/dev/null 2>&1 </dev/null || true
    timeout 60 wineserver -w >/dev/null 2>&1 </dev/null || true
  fi
  wineserver -p >/dev/null 2>&1 </dev/null || true
  tools/wine-run.sh wineboot -u >/dev/null 2>&1 </dev/null || true
}
stop_wine() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1 || true
}

# The tests' printer: a cupsd of our own, its files in build/cups (its jobs in a folder under
# /tmp, which the filters, run as the user lp, can reach wherever this tree lives) and its
# socket named by CUPS_SERVER (which Wine's printing follows), never the system's CUPS. Its one queue is a
# cups-pdf printer whose PPD offers only 600 dpi (Wine would otherwise ask for 300) and that
# writes its PDFs to build/cups/pdf (KAVLO_PDF_DIR). Wine copies the printers of CUPS into its
# prefix whenever a Wine process starts with no other running: so the queue has to be up
# before the first Wine process, or the printer vanishes from the prefix.
# cups-pdf reads a queue's settings only from /etc/cups/cups-pdf-QUEUE.conf: the queue's name
# holds a hash of this tree, so that two trees never share one, and the file goes at stop.
cups_pid="" cups_queue="" cups_spool=""
start_print_queue() {
  local root="$PWD/build/cups" sudo="" f
  [ "$(id -u)" -ne 0 ] && sudo=sudo
  stop_print_queue
  $sudo rm -rf "$root" && mkdir -p "$root/conf" "$root/cache" "$root/state" "$root/log" "$root/pdf"
  cups_spool=$(mktemp -d "${TMPDIR:-/tmp}/kavlo-cups-spool.XXXXXX") && chmod 755 "$cups_spool" || return 1
  for f in cupsd.conf cups-files.conf; do
    sed -e "s|@ROOT@|$root|g" -e "s|@SPOOL@|$cups_spool|g" "tools/cups/$f.in" > "$root/conf/$f"
  done
  sed -e '/^\*Resolution \(150\|300\|1200\|2400\)dpi/d' -e 's/^\*DefaultResolution: .*/*DefaultResolution: 600dpi/' \
      /usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd > "$root/kavlo600.ppd"
  cups_queue="KavloPDF-$(printf %s "$PWD" | md5sum | cut -c1-8)"
  printf 'Out %s/pdf\nSpool %s/cups-pdf\nLog %s/log\nLabel 0\n' "$root" "$root" "$root" |
    $sudo tee "/etc/cups/cups-pdf-$cups_queue.conf" >/dev/null
  $sudo cupsd -f -c "$root/conf/cupsd.conf" -s "$root/conf/cups-files.conf" </dev/null >"$root/log/cupsd.out" 2>&1 &
  cups_pid=$!
  for _ in $(seq 50); do [ -S "$root/cups.sock" ] && break; sleep 0.1; done
  export CUPS_SERVER="$root/cups.sock" KAVLO_PDF_DIR="$root/pdf"
  if ! { lpadmin -p "$cups_queue" -v "cups-pdf:/$cups_queue" -P "$root/kavlo600.ppd" -E 2>/dev/null &&
         lpadmin -d "$cups_queue"; }; then
    echo "the test print queue did not start (see $root/log)" >&2
    stop_print_queue
    return 1
  fi
}
stop_print_queue() {
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo=sudo
  if [ -n "$cups_pid" ]; then
    $sudo kill "$cups_pid" 2>/dev/null
    wait "$cups_pid" 2>/dev/null
  fi
  [ -n "$cups_queue" ] && $sudo rm -f "/etc/cups/cups-pdf-$cups_queue.conf"
  [ -n "$cups_spool" ] && $sudo rm -rf "$cups_spool"
  cups_pid="" cups_queue="" cups_spool=""
  unset CUPS_SERVER KAVLO_PDF_DIR
}
