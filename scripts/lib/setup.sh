# Shared by scripts/test and scripts/run: installs what is missing, builds
# the trees, chooses where the Windows programs run (32-bit Wine, or 64-bit
# Wine on machines that cannot run 32-bit Linux programs), and runs a
# private X display with a persistent wineserver.
# Source it; it expects ORB_ROOT to be the repository root.

ORB_PACKAGES=(
  cmake ninja-build python3 clang libclang-rt-14-dev googletest libgtest-dev libbenchmark-dev
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine32:i386 wine64 xvfb xauth x11-utils fonts-wine fonts-liberation
  xorriso genisoimage imagemagick ffmpeg sox xdotool chromium-headless-shell
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

# The Windows trees: win32 (i686, what is installed and shipped) and win64
# (x86_64, where the Windows tests run when 32-bit Wine cannot).
orb_configure_windows() {  # orb_configure_windows win32|win64
  local dir="$ORB_ROOT/build/$1" toolchain
  case "$1" in
    win32) toolchain=mingw-i686.cmake ;;
    win64) toolchain=mingw-x86_64.cmake ;;
  esac
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S "$ORB_ROOT" -B "$dir" -G Ninja \
      -DCMAKE_TOOLCHAIN_FILE="$ORB_ROOT/cmake/$toolchain" >/dev/null
  fi
}
orb_configure_win32() { orb_configure_windows win32; }
orb_configure_win64() { orb_configure_windows win64; }

orb_build() {  # orb_build native|win32|win64
  "orb_configure_$1" && cmake --build "$ORB_ROOT/build/$1" -j "$(nproc)"
}

# Compiles and links a Windows tree without optimisation or debug
# information, in a tree of its own (build/<arch>-compile): what catches code
# that is not clean on that architecture, at a fraction of a full build.
orb_compile_check() {  # orb_compile_check win64
  local dir="$ORB_ROOT/build/$1-compile" toolchain=mingw-x86_64.cmake
  [ "$1" = win32 ] && toolchain=mingw-i686.cmake
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S "$ORB_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Check \
      -DCMAKE_C_FLAGS_CHECK=-O0 -DCMAKE_CXX_FLAGS_CHECK=-O0 \
      -DCMAKE_TOOLCHAIN_FILE="$ORB_ROOT/cmake/$toolchain" >/dev/null || return 1
  fi
  cmake --build "$dir" -j "$(nproc)" >"$dir/build.log" 2>&1 || {
    grep -E "error|FAILED" "$dir/build.log" | head -40 >&2
    return 1
  }
}

# Whether 32-bit Wine starts here: the loader itself is run (bounded), since
# some kernels refuse every 32-bit Linux program ("Exec format error") even
# with the i386 packages installed.
orb_can_run_win32() {
  [ -x /usr/lib/wine/wine ] && timeout 20 /usr/lib/wine/wine --version >/dev/null 2>&1
}

# Sets ORB_ARCH (win32 or win64) and ORB_ARCH_REASON: the forced one when
# given, else win32 where 32-bit Wine starts and win64 elsewhere.
orb_choose_arch() {  # orb_choose_arch [win32|win64]
  case "${1:-}" in
    win32|win64)
      ORB_ARCH=$1
      ORB_ARCH_REASON="chosen with --arch"
      ;;
    "")
      if orb_can_run_win32; then
        ORB_ARCH=win32
        ORB_ARCH_REASON="this machine runs 32-bit Wine"
      else
        ORB_ARCH=win64
        ORB_ARCH_REASON="this machine cannot run 32-bit Linux programs, so 32-bit Wine cannot start"
      fi
      ;;
    *)
      echo "unknown architecture '$1' (win32 or win64)" >&2
      return 1
      ;;
  esac
}

# The Wine environment of every run (see tests/harness/wine-run) for the
# tree of ORB_ARCH.  The /usr/bin/wine wrapper always takes the 32-bit loader
# when it is installed, so each architecture names its loader and server.
orb_wine_env() {
  export WINEPREFIX="$ORB_ROOT/build/$ORB_ARCH/wineprefix"
  export ORB_WINEPREFIX="$WINEPREFIX"
  export ORB_WINEARCH=$ORB_ARCH WINEARCH=$ORB_ARCH WINEDEBUG=-all
  if [ "$ORB_ARCH" = win64 ]; then
    export WINELOADER=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver64
  else
    export WINELOADER=/usr/lib/wine/wine
    if [ -x /usr/lib/wine/wineserver64 ]; then
      export WINESERVER=/usr/lib/wine/wineserver64
    else
      export WINESERVER=/usr/lib/wine/wineserver32
    fi
  fi
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;wnaspi32=n"
  export LANG=C.UTF-8 LC_ALL=C.UTF-8
}

# The Windows tests run in lanes: each lane has an X display and a Wine
# prefix with its own wineserver, and runs one test program at a time, so
# tests that measure window waits or click the screen never share either.
# Lane 0 uses the tree's prefix; lane k its copy "<prefix>-k".  One lane
# unless the caller sets ORB_LANES (scripts/test does).
ORB_LANES=1
ORB_XVFB_PIDS=()
ORB_WINESERVER_PIDS=()
ORB_LANE_PREFIXES=()

# The prefix of lane $1 (after orb_wine_env; tests/harness/wine-run names
# them the same way).
orb_lane_prefix() {
  if [ "$1" -eq 0 ]; then echo "$ORB_WINEPREFIX"; else echo "$ORB_WINEPREFIX-$1"; fi
}

# Starts Xvfb on a free display number; prints the display (":N").
orb_start_xvfb_display() {
  local n pid tries
  for n in $(seq 90 140); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    pid=$!
    for tries in $(seq 1 100); do
      if [ -e "/tmp/.X11-unix/X$n" ]; then
        ORB_XVFB_PIDS+=("$pid")
        ORB_STARTED_DISPLAY=":$n"
        return 0
      fi
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.05
    done
    kill "$pid" 2>/dev/null
  done
  echo "could not start Xvfb" >&2
  return 1
}

# Starts the displays of every lane: DISPLAY for lane 0, ORB_DISPLAY_k for
# lane k (tests/harness/wine-run picks its lane's).
orb_start_xvfb() {
  local lane
  for lane in $(seq 0 $((ORB_LANES - 1))); do
    orb_start_xvfb_display || return 1
    export "ORB_DISPLAY_$lane=$ORB_STARTED_DISPLAY"
    [ "$lane" -eq 0 ] && export DISPLAY="$ORB_STARTED_DISPLAY"
  done
  return 0
}

# The first file of that name in Wine's own font folder or the system's.
orb_font_file() {  # orb_font_file tahoma.ttf
  local dir found
  for dir in /usr/share/wine/fonts /usr/share/fonts; do
    [ -d "$dir" ] || continue
    found=$(find "$dir" -iname "$1" -type f 2>/dev/null | sort | head -1)
    [ -n "$found" ] && { printf '%s\n' "$found"; return 0; }
  done
  return 1
}

# The value lines ("name"="data") of one key of a Wine registry file; the
# key as the file writes it, with doubled backslashes.
orb_reg_values() {  # orb_reg_values FILE 'Software\\Wine\\Fonts\\Replacements'
  ORB_REG_KEY="[$2]" awk 'index($0, ENVIRON["ORB_REG_KEY"] " ") == 1 || $0 == ENVIRON["ORB_REG_KEY"] {
      inside = 1; next }
    /^\[/ { inside = 0 }
    inside' "$1" 2>/dev/null
}

# The fonts the suite's texts name, for a prefix that has none of Windows's:
# Arial, Times New Roman and Courier New become Liberation Sans, Serif and
# Mono (same metrics), and Wine's own Tahoma and Marlett (the symbol font of
# caption and page buttons), which this Wine does not load from its data
# folder, are registered by their files.  Checked on every start, since the
# prefix may be older than this list; written only when something is
# missing.
orb_register_fonts() {
  local reg="$WINEPREFIX/orb-fonts.reg" file name missing=0 wanted
  local replacements=("Arial=Liberation Sans" "Times New Roman=Liberation Serif" "Courier New=Liberation Mono")
  local -a font_lines=()
  for name in Tahoma Marlett; do
    if file=$(orb_font_file "${name,,}.ttf"); then
      # Z: is the Linux root in every prefix; .reg strings double their backslashes.
      font_lines+=("\"$name (TrueType)\"=\"Z:${file//\//\\\\}\"")
    else
      orb_log "no $name font file found (package fonts-wine): texts in $name fall back"
    fi
  done
  local current
  current=$(orb_reg_values "$WINEPREFIX/user.reg" 'Software\\Wine\\Fonts\\Replacements')
  for wanted in "${replacements[@]}"; do
    grep -qxF "\"${wanted%%=*}\"=\"${wanted#*=}\"" <<<"$current" || missing=1
  done
  current=$(orb_reg_values "$WINEPREFIX/system.reg" \
    'Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts')
  for wanted in "${font_lines[@]}"; do
    grep -qxF "$wanted" <<<"$current" || missing=1
  done
  [ "$missing" -eq 0 ] && return 0

  orb_log "registering font replacements in the Wine prefix ($ORB_ARCH)"
  {
    printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
    for wanted in "${replacements[@]}"; do
      printf '"%s"="%s"\r\n' "${wanted%%=*}" "${wanted#*=}"
    done
    printf '\r\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts]\r\n'
    for wanted in "${font_lines[@]}"; do
      printf '%s\r\n' "$wanted"
    done
  } >"$reg"
  # Run from the file's folder: Wine maps that folder to the current
  # directory, so the bare name needs no path conversion.
  (cd "$WINEPREFIX" && timeout 120 "$WINELOADER" regedit.exe /S orb-fonts.reg >/dev/null 2>&1 </dev/null)
  timeout 120 "$WINESERVER" -w
  rm -f "$reg"
}

# Creates lane 0's prefix once and copies it for the other lanes, then
# keeps one wineserver a prefix for the whole run.  The servers' output goes
# to /dev/null so they hold none of the test runner's pipes (a server
# spawned by a test would keep ctest waiting).
orb_start_wine() {
  orb_wine_env
  local lane prefix base
  base=$(orb_lane_prefix 0)
  if [ ! -f "$base/system.reg" ]; then
    orb_log "creating the Wine prefix ($ORB_ARCH)"
    mkdir -p "$(dirname "$base")"
    WINEDLLOVERRIDES="mscoree,mshtml=" timeout 300 "$WINELOADER" wineboot.exe --init >/dev/null 2>&1
    timeout 120 "$WINESERVER" -w
  fi
  for lane in $(seq 0 $((ORB_LANES - 1))); do
    prefix=$(orb_lane_prefix "$lane")
    if [ ! -f "$prefix/system.reg" ]; then
      orb_log "copying the Wine prefix for lane $lane"
      rm -rf "$prefix"
      cp -a "$base" "$prefix" || return 1
      # What the tests of lane 0 left in its TEMP is not the new lane's.
      local temp
      for temp in "$prefix"/drive_c/users/*/[Tt]emp; do
        [ -d "$temp" ] && find "$temp" -mindepth 1 -delete
      done
    fi
    export WINEPREFIX="$prefix"
    orb_register_fonts
    "$WINESERVER" -p >/dev/null 2>&1 </dev/null &
    ORB_WINESERVER_PIDS+=("$!")
    ORB_LANE_PREFIXES+=("$prefix")
    # A cold start of the first program is slow; warm the prefix up so
    # tests that wait for a window are not measuring Wine's own start-up.
    local display_var="ORB_DISPLAY_$lane"
    DISPLAY="${!display_var:-$DISPLAY}" timeout 60 "$WINELOADER" cmd /c exit >/dev/null 2>&1 </dev/null || true
  done
  export WINEPREFIX="$base"
  return 0
}

# The TEMP folder of the prefix's user (created by the prefix's first start).
orb_prefix_temp() {  # orb_prefix_temp [PREFIX]
  local dir
  for dir in "${1:-$WINEPREFIX}"/drive_c/users/*/[Tt]emp; do
    [ -d "$dir" ] && [ "$(basename "$(dirname "$dir")")" != Public ] && { echo "$dir"; return 0; }
  done
  return 1
}

# What lies directly in every lane's TEMP, one "TEMP-folder/name" a line.
orb_temp_listing() {
  local prefix dir
  for prefix in "${ORB_LANE_PREFIXES[@]}"; do
    dir=$(orb_prefix_temp "$prefix") || continue
    (cd "$dir" && ls -A) | sed "s|^|$dir/|"
  done | sort
}

orb_stop_session() {
  local prefix pid
  for prefix in "${ORB_LANE_PREFIXES[@]}"; do
    WINEPREFIX="$prefix" "$WINESERVER" -k >/dev/null 2>&1 || true
  done
  for pid in "${ORB_WINESERVER_PIDS[@]}"; do
    wait "$pid" 2>/dev/null || true
  done
  for pid in "${ORB_XVFB_PIDS[@]}"; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  ORB_WINESERVER_PIDS=()
  ORB_XVFB_PIDS=()
  ORB_LANE_PREFIXES=()
}

ORB_SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  ORB_SUDO="sudo"
fi
mkdir -p "$ORB_ROOT/build"
