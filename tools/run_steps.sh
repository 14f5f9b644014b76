# A run of ./run or ./test that stops when asked: Ctrl-C (SIGINT), SIGTERM
# or a closed terminal (SIGHUP), sent to the script alone or to its whole
# process group, stops the step that runs and everything that step started,
# removes the run's temporary folder, says so in one line and ends the run
# with 128 plus the signal's number. A step whose main process ends by a
# signal the script was not sent (another user's kill, the kernel's
# out-of-memory killer) ends the run the same way, naming the step and the
# signal. Sourced, not run.
#
# Each step runs in a session of its own, so that one signal reaches all it
# started (CTest, the test programs and the X servers, programs and window
# managers they start, runs as another user); otherwise a signal to the
# script alone would leave them running, and a Ctrl-C would end the test
# programs before their clean-up while the script went on. However a step
# ends, what still runs in its session is stopped. The package manager is
# no step: a signal to the script alone waits for an install to end rather
# than break it half-way.

run_name=./${0##*/}
# The step that runs: the number of its session, its main process's while
# that has not been waited for, and what the messages call it.
step_pid=
step_main=
step_what=
run_folder=
# The folder the run's temporary folder is made in, as the messages name it.
run_base_named=

# step WHAT COMMAND...: runs COMMAND as a step, which the script's messages
# call WHAT ("the build of build/fuzz"); its exit status. A main process
# ended by a signal ends the run: the suite it ran is not finished.
step() {
  step_what=$1
  shift
  setsid "$@" &
  step_pid=$! step_main=$!
  # (Bash would add a line of its own, such as "Killed", for a step ended
  # by a signal.)
  local status=0 signal
  wait "$step_main" 2>/dev/null || status=$?
  # Its number may name another process from here on.
  step_main=
  stop_step
  step_pid=
  if [ "$status" -gt 128 ] && signal=$(kill -l "$status" 2>/dev/null); then
    step_ended "SIG$signal" "$status"
  fi
  return "$status"
}

# session_runs SID: the numbers of the processes of session SID that run
# still (one that has ended and waits to be reaped does not), one a line;
# fails when there is none.
session_runs() {
  local stat line found=1
  local -a fields
  for stat in /proc/[0-9]*/stat; do
    { read -r line <"$stat"; } 2>/dev/null || continue
    read -r -a fields <<<"${line##*) }"
    if [ "${fields[3]}" = "$1" ] && [ "${fields[0]}" != Z ]; then
      stat=${stat#/proc/}
      echo "${stat%/stat}"
      found=0
    fi
  done
  return "$found"
}

# signal_session SIGNAL SID: sends SIGNAL to every process of session SID
# that runs; fails when there is none. (A process that made a group of its
# own inside the session is reached too.)
signal_session() {
  local pids
  pids=$(session_runs "$2") || return 1
  # shellcheck disable=SC2086  # one number a word
  kill "-$1" -- "-$2" $pids 2>/dev/null
  return 0
}

# stop_step: stops the step that runs: SIGTERM to its whole session, then,
# after five seconds for their own clean-up (an X server removes its lock
# file, Ninja stops its compilers), SIGKILL to whatever still runs.
stop_step() {
  local pid=$step_pid i
  [ -n "$pid" ] || return 0
  # The step may not yet have its own session: the main process itself too.
  [ -z "$step_main" ] || kill -TERM -- "$step_main" 2>/dev/null
  signal_session TERM "$pid" || return 0
  for i in {1..50}; do
    session_runs "$pid" >/dev/null || return 0
    sleep 0.1
  done
  signal_session KILL "$pid" || return 0
  for i in {1..10}; do
    session_runs "$pid" >/dev/null || return 0
    sleep 0.1
  done
}

remove_run_folder() {
  [ -n "$run_folder" ] && rm -rf -- "$run_folder"
  run_folder=
}

# ends_run STATUS TEXT: ends the run with STATUS, its temporary folder
# removed, and one line that says TEXT and what was removed.
ends_run() {
  trap '' INT TERM HUP  # a second Ctrl-C does not cut the clean-up short
  local removed=${run_folder:+; its temporary folder is removed}
  stop_step
  remove_run_folder
  echo "$run_name: $2$removed" >&2
  exit "$1"
}

# interrupted NAME NUMBER: the handler of signal NAME.
interrupted() {
  ends_run $((128 + $2)) "interrupted by SIG$1: stopped with everything it started"
}

# step_ended SIGNAL STATUS: the step's main process ended by SIGNAL, which
# this script was not sent.
step_ended() {
  ends_run "$2" "$step_what ended by $1: stopped with everything it started"
}

# step_failed STATUS: a step without which the run cannot go on (a build)
# failed with STATUS.
step_failed() {
  ends_run "$1" "$step_what failed with exit status $1"
}

# stop_on_signals: from here on, the signals stop the run, and the run's
# temporary folder goes however the run ends.
stop_on_signals() {
  trap 'interrupted INT 2' INT
  trap 'interrupted TERM 15' TERM
  trap 'interrupted HUP 1' HUP
  trap remove_run_folder EXIT
}

# make_run_folder: a temporary folder for the whole run, which TMPDIR then
# names, so that whatever the steps leave there (the folders of tests that
# were stopped) goes with it. It goes to /tmp where TMPDIR names no folder,
# and, run as root, where TMPDIR is closed to the unprivileged user "nobody"
# that some tests run as (a private TMPDIR of mode 700).
make_run_folder() {
  local base=${TMPDIR:-/tmp}
  run_base_named=TMPDIR
  [ -n "${TMPDIR:-}" ] || run_base_named=/tmp
  if [ ! -d "$base" ]; then
    local is="does not exist"
    [ ! -e "$base" ] || is="is no folder"
    echo "$run_name: TMPDIR names ${base@Q}, which $is: this run's temporary folder is in /tmp"
    base=/tmp run_base_named=/tmp
  elif [ "$(id -u)" -eq 0 ] && ! setpriv --reuid=nobody --regid=nogroup --clear-groups test -x "$base" 2>/dev/null; then
    echo "$run_name: the user nobody cannot enter ${base@Q}: this run's temporary folder is in /tmp"
    base=/tmp run_base_named=/tmp
  fi
  [ "$run_base_named" = /tmp ] || run_base_named="TMPDIR (${base@Q})"
  tmpdir_folder run_folder "$base/sevrina-run.XXXXXX"
  # Others may pass through, not list it: the tests' own folders inside
  # keep their modes.
  [ "$(id -u)" -ne 0 ] || tmpdir_write chmod 711 "$run_folder"
  export TMPDIR=$run_folder
}

# tmpdir_write COMMAND...: runs COMMAND, which writes in the run's
# temporary folder (a copy, a folder, a change of owner or mode). Where it
# fails, the run ends there, in one line that names TMPDIR and why (a lack
# of room, above all), so that nothing goes on with a file cut short.
tmpdir_write() {
  local said
  said=$(LC_ALL=C "$@" 2>&1) || tmpdir_failed "$said"
}

# tmpdir_folder VAR [TEMPLATE]: makes a new folder, in TMPDIR or as
# TEMPLATE says (mktemp -d), and sets VAR to its path; where that fails,
# the run ends as with tmpdir_write.
tmpdir_folder() {
  local made
  made=$(LC_ALL=C mktemp -d ${2:+"$2"} 2>&1) || tmpdir_failed "$made"
  printf -v "$1" %s "$made"
}

# tmpdir_failed MESSAGE: a write in the run's temporary folder failed, as
# the tool's MESSAGE says.
tmpdir_failed() {
  local why=${1%%$'\n'*}
  case $1 in
    *"No space left on device"* | *"Disk quota exceeded"*)
      ends_run 1 "$run_base_named has no room left for this run: $why" ;;
    *)
      ends_run 1 "cannot write in $run_base_named: $why" ;;
  esac
}
