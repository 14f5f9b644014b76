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
# were stopped) goes with it. The unprivileged user "nobody" that some tests
# run as must reach it: where TMPDIR is closed to that user (a private
# TMPDIR of mode 700), it goes to /tmp.
make_run_folder() {
  local base=${TMPDIR:-/tmp}
  if [ "$(id -u)" -eq 0 ] && ! setpriv --reuid=nobody --regid=nogroup --clear-groups test -x "$base" 2>/dev/null; then
    echo "$run_name: the user nobody cannot enter $base: this run's temporary folder is in /tmp"
    base=/tmp
  fi
  run_folder=$(mktemp -d "$base/sevrina-run.XXXXXX") || return 1
  # Others may pass through, not list it: the tests' own folders inside
  # keep their modes.
  [ "$(id -u)" -ne 0 ] || chmod 711 "$run_folder"
  export TMPDIR=$run_folder
}
