# Shared by ./run and ./test: installs what is missing from Debian's packages
# and configures and builds one build folder, each a step that a signal
# stops (tools/run_steps.sh); the check of the checkout's path
# (tools/checkout_path.sh). Sourced, not run, from the checkout.

. tools/checkout_path.sh
. tools/run_steps.sh

# Packages the program needs to build and start.
RUN_PACKAGES=(cmake ninja-build g++ libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev fonts-liberation xdg-utils)

# Everything the tests use on top: the sanitizer and fuzzing compilers, the
# PDF readers used as oracles, libwmf's wmf2gd for WMF drawings, fonts, zlib and OpenSSL as references, a
# virtual X server for real windows, xdotool to drive the real program,
# xclip to paste into it, Italian OCR (tesseract) to read its messages, a
# window manager (openbox, driven by wmctrl) for the close buttons,
# xkbevd (x11-xkb-utils) to hear its bells,
# setpriv (util-linux) to run the permission tests as an unprivileged user.
TEST_PACKAGES=("${RUN_PACKAGES[@]}" clang-16 libclang-rt-16-dev llvm-16
  qpdf poppler-utils mupdf-tools ghostscript libxml2-utils imagemagick zbar-tools
  zlib1g-dev libssl-dev libhpdf-dev libdeflate-dev fonts-urw-base35 fonts-dejavu-core fonts-wine python3
  python3-fonttools libwmf-bin xvfb xauth xdotool x11-xkb-utils xclip tesseract-ocr tesseract-ocr-ita openbox wmctrl
  util-linux)

sevrina_jobs() {
  local n
  n=$(nproc 2>/dev/null || echo 2)
  echo "$n"
}

# ensure_packages NAME...: installs the packages not yet installed.
ensure_packages() {
  local missing=() p
  for p in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$p")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  # Another install (an unattended upgrade, a second ./test) may hold the
  # package manager's lock: wait for it up to ten minutes instead of failing.
  # (Services a package starts do not hold the checkout's lock.)
  "${sudo[@]}" apt-get -o DPkg::Lock::Timeout=600 update -qq 9>&-
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get -o DPkg::Lock::Timeout=600 install -y -qq \
    --no-install-recommends "${missing[@]}" 9>&-
}

# The folder the builds keep their temporary files in: TMPDIR, unless its
# path holds a quote or a semicolon, then /tmp. CMake learns where the
# compiler's own libraries lie by reading its link command as shell words,
# and that command names a temporary file: a lone quote or a semicolon there
# loses them, and with them GoogleTest.
build_tmpdir() {
  local tmp=${TMPDIR:-/tmp}
  case $tmp in *[\'\"\;]*) tmp=/tmp ;; esac
  printf '%s\n' "$tmp"
}

# build_tree DIR [cmake options...]: configures DIR and builds it (only the
# target named in BUILD_TARGET, when set); where either fails, the run ends
# there, saying which.
build_tree() {
  local dir=$1 tmp
  shift
  tmp=$(build_tmpdir)
  step "the configuration of $dir" env TMPDIR="$tmp" cmake -S . -B "$dir" -G Ninja "$@" >/dev/null || step_failed $?
  step "the build of $dir" env TMPDIR="$tmp" cmake --build "$dir" -j "$(sevrina_jobs)" \
    ${BUILD_TARGET:+--target "$BUILD_TARGET"} || step_failed $?
}
