# Shared by scripts/test and scripts/run: installs what is missing, builds
# the two trees, and runs a private X display with a persistent wineserver.
# Source it; it expects ORB_ROOT to be the repository root.

ORB_PACKAGES=(
  cmake ninja-build python3 clang libclang-rt-14-dev googletest libgtest-dev libbenchmark-dev
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686
  wine wine32:i386 xvfb xauth x11-utils fonts-wine fonts-liberation
  xorriso genisoimage imagemagick ffmpeg sox xdotool
)

orb_log() { printf '== %s\n' "$*" >&2; }

# Installs the apt packages and the i386 architecture when any is missing.
orb_install_packages() {
  local missing=()
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    orb_log "adding the i386 architecture"
    $ORB_SUDO dpkg --add-architecture i386
    missing=("${ORB_PACKAGES[@]}")
  else
    local package
    for package in "${ORB_PACKAGES[@]}"; do
      if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed"; then
        missing+=("$package")
      fi
    done
  fi
  if [ ${#missing[@]} -eq 0 ]; then
    return 0
  fi
  orb_log "installing ${missing[*]}"
  $ORB_SUDO apt-get update -q >/dev/null
  DEBIAN_FRONTEND=noninteractive $ORB_SUDO apt-get install -y -q --no-install-recommends \
    "${missing[@]}" >"$ORB_ROOT/build/apt.log" 2>&1 || {
      tail -30 "$ORB_ROOT/build/apt.log" >&2
      return 1
    }
}

# Compiler of the native tree: clang (libFuzzer fuzz targets) when present.
orb_configure_native() {
  local dir="$ORB_ROOT/build/native"
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    local compilers=()
    if command -v clang++ >/dev/null; then
      compilers=(-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++)
    fi
    cmake -S "$ORB_ROOT" -B "$dir" -G Ninja "${compilers[@]}" >/dev/null
  fi
}

orb_configure_win32() {
  local dir="$ORB_ROOT/build/win32"
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S "$ORB_ROOT" -B "$dir" -G Ninja \
      -DCMAKE_TOOLCHAIN_FILE="$ORB_ROOT/cmake/mingw-i686.cmake" >/dev/null
  fi
}

orb_build() {  # orb_build native|win32
  "orb_configure_$1" && cmake --build "$ORB_ROOT/build/$1" -j "$(nproc)"
}

# The Wine environment of every run (see tests/harness/wine-run).
orb_wine_env() {
  export WINEPREFIX="$ORB_ROOT/build/win32/wineprefix"
  export ORB_WINEPREFIX="$WINEPREFIX"
  export WINEARCH=win32 WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;wnaspi32=n"
  export LANG=C.UTF-8 LC_ALL=C.UTF-8
}

ORB_XVFB_PID=""
ORB_WINESERVER_PID=""

# Starts Xvfb on a free display number and sets DISPLAY.
orb_start_xvfb() {
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    ORB_XVFB_PID=$!
    local tries
    for tries in $(seq 1 100); do
      [ -e "/tmp/.X11-unix/X$n" ] && { export DISPLAY=":$n"; return 0; }
      kill -0 "$ORB_XVFB_PID" 2>/dev/null || break
      sleep 0.05
    done
    kill "$ORB_XVFB_PID" 2>/dev/null
    ORB_XVFB_PID=""
  done
  echo "could not start Xvfb" >&2
  return 1
}

# Creates the prefix once, then keeps one wineserver for the whole run.  The
# server's output goes to /dev/null so it holds none of the test runner's
# pipes (a server spawned by a test would keep ctest waiting).
orb_start_wine() {
  orb_wine_env
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    orb_log "creating the Wine prefix"
    mkdir -p "$(dirname "$WINEPREFIX")"
    WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1
    wineserver -w
  fi
  wineserver -p >/dev/null 2>&1 </dev/null &
  ORB_WINESERVER_PID=$!
  # A cold start of the first program is slow; warm the prefix up so tests
  # that wait for a window are not measuring Wine's own start-up.
  timeout 60 wine cmd /c exit >/dev/null 2>&1 </dev/null || true
}

orb_stop_session() {
  if [ -n "${WINEPREFIX:-}" ] && [ -n "$ORB_WINESERVER_PID" ]; then
    wineserver -k >/dev/null 2>&1 || true
    wait "$ORB_WINESERVER_PID" 2>/dev/null || true
  fi
  if [ -n "$ORB_XVFB_PID" ]; then
    kill "$ORB_XVFB_PID" 2>/dev/null || true
    wait "$ORB_XVFB_PID" 2>/dev/null || true
  fi
  ORB_WINESERVER_PID=""
  ORB_XVFB_PID=""
}

ORB_SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  ORB_SUDO="sudo"
fi
mkdir -p "$ORB_ROOT/build"
