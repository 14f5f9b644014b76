#!/bin/sh
# One smoke run of a libFuzzer target that gives the same verdict every
# time for the same tree. libFuzzer's mutations follow its seed, but also
# the values the target compares, addresses among them, and whatever runs
# by the clock. So the run takes a fixed seed; starts from an emptied work
# folder (no input an earlier run found comes back); runs without address
# randomisation, from its work folder, with names relative to it and an
# environment of its own, so that its addresses and file names are the same
# whatever the caller's environment and whatever folder it starts from (the
# fuzz build names its sources relative to the build folder, so a tree
# built at another path gives the same binary; and the run does not name
# the functions it newly reaches, since the symbolizer's answers hold the
# build folder's path and the memory they take would shift addresses); and
# does nothing by the clock: no rereading of the corpus folder, no purge of
# the allocator, and no thread watching the memory in use (its mallocs, counted
# within an input's run, make libFuzzer run that input again at random: a
# single allocation stays limited to 2 GB). When the run fails it says how
# to see the failure again: the target, its seed, the input it stopped on
# and the command that replays it.
#
#   smoke_run.sh TARGET SEED WORK SEEDS [libFuzzer flags...]
#
# WORK receives the inputs the run finds (found/) and the one it fails on;
# SEEDS is a folder of seed files, or "-" for a run that starts from
# nothing. The target's own files go to a folder in memory (tmp/), named
# to it by SEVRINA_FUZZ_TMP.
set -u
target=$1 seed=$2 work=$3 seeds=$4
shift 4

rm -rf "$work"
mkdir -p "$work/found" || exit 1
ln -s "$target" "$work/target" || exit 1
if [ "$seeds" != - ]; then
  # libFuzzer takes the seeds in the order the folder lists them, shuffled
  # by the seed, then sorted by size: seeds of one size would come in an
  # order that depends on the file system, and so would the whole run.
  same=$(find "$seeds" -maxdepth 1 -type f -printf '%s\n' | sort -n | uniq -d)
  if [ -n "$same" ]; then
    echo "seed files in $seeds share a size ($(echo $same)): make each size unique, or the run depends on the order the file system lists them"
    exit 1
  fi
  ln -s "$seeds" "$work/seeds" || exit 1
fi
# The folder in memory is named after this script's process: a run that
# is killed (CTest ends one at its time limit with SIGKILL, which no trap
# sees) leaves it behind, and the next smoke run, or any target process,
# removes the folders whose process no longer exists.
for folder in /dev/shm/sevrina-fuzz-*.*; do
  [ -d "$folder" ] || continue
  pid=${folder#/dev/shm/sevrina-fuzz-}
  pid=${pid%%.*}
  case $pid in '' | *[!0-9]*) continue ;; esac
  [ -e "/proc/$pid" ] || rm -rf "$folder"
done
memory=$(mktemp -d "/dev/shm/sevrina-fuzz-$$.XXXXXX" 2>/dev/null) || memory=
trap '[ -z "$memory" ] || rm -rf "$memory"' EXIT
trap 'exit 143' INT TERM
if [ -n "$memory" ]; then
  ln -s "$memory" "$work/tmp"
else
  mkdir "$work/tmp"
fi

norandom=
if setarch "$(uname -m)" -R true 2>/dev/null; then
  norandom="setarch $(uname -m) -R"
else
  # Some containers refuse to turn randomisation off. The run goes on, but
  # its addresses, and so the inputs it explores, may then differ from run
  # to run: say so, so that a verdict that differs can be traced to it.
  echo "smoke run: setarch -R was refused, so addresses stay randomised; this run may explore other inputs than a run elsewhere"
fi
[ "$seeds" = - ] && corpus=found || corpus="found seeds"
symbolizer=
[ -x /usr/bin/llvm-symbolizer-16 ] && symbolizer=ASAN_SYMBOLIZER_PATH=/usr/bin/llvm-symbolizer-16
(cd "$work" && exec env -i TZ=UTC UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 $symbolizer SEVRINA_FUZZ_TMP=tmp \
  $norandom ./target $corpus -seed="$seed" -reload=0 -purge_allocator_interval=-1 -rss_limit_mb=0 \
  -malloc_limit_mb=2048 -print_funcs=0 -artifact_prefix=./ "$@")
status=$?
[ $status -eq 0 ] && exit 0

echo
echo "== fuzz target $(basename "$target") failed (exit $status) with -seed=$seed"
found=0
for input in "$work"/crash-* "$work"/leak-* "$work"/timeout-* "$work"/oom-* "$work"/slow-unit-*; do
  [ -f "$input" ] || continue
  found=1
  echo "the input it stopped on: $input"
  echo "replay that input:       $target $input"
done
[ $found -eq 1 ] || echo "it wrote no input; its own report is above"
echo "repeat the whole run:    sh $0 $target $seed $work $seeds $*"
exit $status
