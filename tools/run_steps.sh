# A run of ./run or ./test that stops when asked: Ctrl-C (SIGINT), SIGTERM
# or a closed terminal (SIGHUP), sent to the script alone or to its whole
# process group, stops the step that runs and everything that step started,
# removes the run's temporary folder, says so in one line and ends the run
# with 128 plus the signal's number. A step whose main process ends by a
# signal the script was not sent (another user's kill, the kernel's
# out-of-memory killer) ends the run the same way, naming the step and the
# signal; a test program that crashes is a failed test, and the run goes
# on. The run's temporary folder (make_run_folder) and the lock that keeps
# a second run out of the checkout (hold_checkout) are here too. Sourced,
# not run.
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

# step [--test-program] WHAT COMMAND...: runs COMMAND as a step, which the
# script's messages call WHAT ("the build of build/fuzz"); its exit status.
# A main process ended by a signal ends the run: the suite it ran is not
# finished. With --test-program, the main process is a test program, and a
# signal that ends it (a crash) is its failure, not the run's end.
step() {
  local ends_run_on_signal=1
  [ "$1" != --test-program ] || { ends_run_on_signal=; shift; }
  step_what=$1
  shift
  # The step does not hold the checkout's lock (hold_checkout): a process
  # that outlived the run would keep the checkout locked.
  setsid "$@" 9>&- &
  step_pid=$! step_main=$!
  # (Bash would add a line of its own, such as "Killed", for a step ended
  # by a signal.)
  local status=0 signal
  wait "$step_main" 2>/dev/null || status=$?
  # Its number may name another process from here on.
  step_main=
  stop_step
  step_pid=
  if [ -n "$ends_run_on_signal" ] && [ "$status" -gt 128 ] && signal=$(kill -l "$status" 2>/dev/null); then
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

# Where the run's temporary folder goes when TMPDIR cannot hold it, in the
# order tried.
run_folder_bases=(/tmp /var/tmp)
# The longest TMPDIR a run takes, in bytes. The tests' files lie up to some
# 100 bytes below it, and xauth, through which the virtual X server's
# authority file goes, takes paths of up to about 1,020 bytes.
TMPDIR_MOST=900

# make_run_folder: a temporary folder for the whole run, which TMPDIR then
# names, so that whatever the steps leave there (the folders of tests that
# were stopped) goes with it. TMPDIR is taken as the user meant it: its
# links resolved and without a trailing slash, so that every step and test
# sees one spelling (a relative name is made absolute by the script before
# it moves to the checkout). The folder goes to /tmp (or /var/tmp), said in
# one line, where TMPDIR names no folder; where its name holds what the
# tools of the tests cannot take (a control character, bytes that are not
# UTF-8, more than TMPDIR_MOST bytes); and where programs cannot be started
# from it (a file system mounted noexec, as hardened machines mount /tmp),
# as the unprivileged user "nobody" when run as root, since some tests run
# copies of programs as that user from there (a private TMPDIR of mode 700,
# as with libpam-tmpdir, is closed to that user). Where no folder will do,
# the run ends in one line.
make_run_folder() {
  local given=${TMPDIR-} base i
  local -a refused=() candidates=() names=()
  if [ -n "$given" ]; then
    if [ -d "$given" ] && base=$(realpath -e -- "$given" && printf x); then
      # (A command substitution drops the line breaks that end its output.)
      candidates+=("${base%$'\nx'}")
      names+=("TMPDIR (${given@Q})")
    else
      local is="does not exist"
      [ ! -e "$given" ] || is="is no folder"
      refused+=("TMPDIR names ${given@Q}, which $is")
    fi
  fi
  for base in "${run_folder_bases[@]}"; do
    [ "$base" = "${candidates[0]-}" ] || { candidates+=("$base") && names+=("$base"); }
  done
  for i in "${!candidates[@]}"; do
    if run_folder_in "${candidates[i]}" "${names[i]}"; then
      if [ ${#refused[@]} -gt 0 ]; then
        echo "$run_name: $(joined '; ' "${refused[@]}"): this run's temporary folder is in ${candidates[i]}"
      fi
      export TMPDIR=$run_folder
      return 0
    fi
    refused+=("$run_folder_refusal")
  done
  ends_run 1 "$(joined '; ' "${refused[@]}"): no folder is left for this run's temporary files; name one in TMPDIR"
}

# joined SEPARATOR TEXT...: the TEXTs joined by SEPARATOR.
joined() {
  local separator=$1 out=$2 text
  shift 2
  for text in "$@"; do out+=$separator$text; done
  printf '%s\n' "$out"
}

# run_folder_in BASE NAMED: makes the run's folder in the folder BASE,
# which the messages call NAMED, and sets run_folder; fails, with the
# reason in run_folder_refusal, where BASE cannot hold it.
run_folder_in() {
  local base=$1 probe
  run_base_named=$2 run_folder=
  run_folder_refusal=$(tmpdir_name_problem "$base" "$2")
  [ -z "$run_folder_refusal" ] || return 1
  local -a as_user=()
  if [ "$(id -u)" -eq 0 ]; then
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
    if ! "${as_user[@]}" test -x "$base" 2>/dev/null; then
      run_folder_refusal="the user nobody cannot enter $2"
      return 1
    fi
  fi
  tmpdir_folder run_folder "$base/sevrina-run.XXXXXX"
  # Others may pass through, not list it: the tests' own folders inside
  # keep their modes.
  [ "$(id -u)" -ne 0 ] || tmpdir_write chmod 711 "$run_folder"
  # Whether a program can be started from here: a copy of true(1).
  probe=$run_folder/probe
  tmpdir_write cp /bin/true "$probe"
  tmpdir_write chmod 755 "$probe"
  if "${as_user[@]}" "$probe" 2>/dev/null; then
    rm -f -- "$probe"
    return 0
  fi
  rm -rf -- "$run_folder"
  run_folder=
  if findmnt -n -o OPTIONS -T "$base" 2>/dev/null | grep -qw noexec; then
    run_folder_refusal="$2 is on a file system mounted noexec, where programs cannot be started"
  else
    run_folder_refusal="programs cannot be started from $2"
  fi
  return 1
}

# tmpdir_name_problem PATH NAMED: says, where the tools of the tests cannot
# take PATH in the names of their files, why, calling it NAMED.
tmpdir_name_problem() {
  local LC_ALL=C
  if [[ $1 == *[[:cntrl:]]* ]]; then
    # xvfb-run, the file lists of the tests and the tools they call split
    # or cut names there.
    echo "$2 holds a control character (a tab or a line break, say), which the tools the tests run cannot take in a path"
  elif ! printf '%s' "$1" | iconv -f UTF-8 -t UTF-8 >/dev/null 2>&1; then
    # The program's windows show paths in Unicode.
    echo "$2 is not UTF-8 text, which the program under test cannot show as it stands"
  elif [ ${#1} -gt "$TMPDIR_MOST" ]; then
    echo "$2 is ${#1} bytes long, and the tests, whose files lie deep below it, take one of up to $TMPDIR_MOST"
  fi
}

# hold_checkout: one run at a time in a checkout. ./test and ./run build in
# the same build folders, where the fuzz smoke runs keep their files too:
# a second run beside the first would write over the first's files and make
# both fail. A second run says who holds the checkout, in one line, and
# ends. The lock is on build/.run.lock, through file descriptor 9, which no
# step inherits (a process that outlived the run would keep it); the system
# drops it when the script ends, however it ends.
hold_checkout() {
  if ! { mkdir -p build && exec 9<>build/.run.lock; } 2>/dev/null; then
    echo "$run_name: cannot open build/.run.lock in the checkout, which marks the run that uses its build folders" >&2
    exit 1
  fi
  if ! flock -n 9; then
    local holder
    holder=$(head -n 1 build/.run.lock 2>/dev/null)
    echo "$run_name: ${holder:-another run} is using this checkout's build folders, and a checkout takes one ./test or ./run at a time: wait for it to end, or run in another clone" >&2
    exit 1
  fi
  printf '%s (process %s, started at %s)\n' "$run_name" "$$" "$(date '+%H:%M:%S')" >build/.run.lock
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
