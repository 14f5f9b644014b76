# A run of ./run or ./test that stops when asked: Ctrl-C (SIGINT), SIGTERM
# or a closed terminal (SIGHUP), sent to the script alone or to its whole
# process group, stops the step that runs and everything that step started,
# removes the run's temporary folder, says so in one line and ends the run
# with 128 plus the signal's number. Sourced, not run.
#
# Each step runs in a session of its own, so that one signal reaches all it
# started (CTest, the test programs and the X servers, programs and window
# managers they start, runs as another user); otherwise a signal to the
# script alone would leave them running, and a Ctrl-C would end the test
# programs before their clean-up while the script went on. The package
# manager is no step: a signal to the script alone waits for an install to
# end rather than break it half-way.

run_name=./${0##*/}
step_pid=
run_folder=

# step COMMAND...: runs COMMAND as a step; its exit status.
step() {
  setsid "$@" &
  step_pid=$!
  wait "$step_pid"
  local status=$?
  step_pid=
  return "$status"
}

# Whether a process of the group PGID runs still (one that has ended and
# waits to be reaped does not).
group_runs() {
  local stat line
  local -a fields
  for stat in /proc/[0-9]*/stat; do
    { read -r line <"$stat"; } 2>/dev/null || continue
    read -r -a fields <<<"${line##*) }"
    [ "${fields[2]}" = "$1" ] && [ "${fields[0]}" != Z ] && return 0
  done
  return 1
}

# Stops the step that runs: SIGTERM to its whole group, then, after five
# seconds for their own clean-up (an X server removes its lock file, Ninja
# stops its compilers), SIGKILL to whatever still runs.
stop_step() {
  local pid=$step_pid i
  [ -n "$pid" ] || return 0
  # The step may not yet have its own group: the process itself too.
  kill -TERM -- "-$pid" "$pid" 2>/dev/null
  for i in {1..50}; do
    group_runs "$pid" || return 0
    sleep 0.1
  done
  kill -KILL -- "-$pid" 2>/dev/null
  for i in {1..10}; do
    group_runs "$pid" || return 0
    sleep 0.1
  done
}

remove_run_folder() {
  [ -n "$run_folder" ] && rm -rf -- "$run_folder"
  run_folder=
}

# interrupted NAME NUMBER: the handler of signal NAME.
interrupted() {
  trap '' INT TERM HUP  # a second Ctrl-C does not cut the clean-up short
  local removed=${run_folder:+; its temporary folder is removed}
  stop_step
  remove_run_folder
  echo "$run_name: interrupted by SIG$1: stopped with everything it started$removed" >&2
  exit $((128 + $2))
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
