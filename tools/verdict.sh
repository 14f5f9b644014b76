# The verdict of a whole ./test: what each step ran and how it went,
# gathered as the steps end, and the run's last line, which says it. The
# steps' own output, hundreds of lines, stays above it. Sourced, not run.

verdict_passed=()
verdict_failed=()

# counted N WORD: "1 test", "306 tests".
counted() {
  if [ "$1" -eq 1 ]; then echo "1 $2"; else echo "$1 $2s"; fi
}

# skipped_text N: ", N skipped", or nothing where N is 0.
skipped_text() {
  [ "$1" -eq 0 ] || echo ", $1 skipped"
}

# ctest_verdict NAME LOG STATUS: the verdict of the CTest run NAME, which
# wrote its output to LOG and ended with STATUS, from the summary CTest
# ends with ("99% tests passed, 2 tests failed out of 306") and the tests
# it lists as skipped.
ctest_verdict() {
  local name=$1 log=$2 status=$3 line total failed skipped
  line=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+$' "$log" 2>/dev/null | tail -n 1)
  if [ -z "$line" ]; then
    verdict_failed+=("$name: CTest ended with exit status $status before its summary")
    return
  fi
  total=${line##* }
  failed=${line#*passed, }
  failed=${failed%% *}
  skipped=$(grep -cE ' \(Skipped\)$' "$log")
  if [ "$total" -eq 0 ]; then
    verdict_failed+=("$name: no tests ran")
  elif [ "$failed" -gt 0 ]; then
    verdict_failed+=("$name: $failed of $(counted "$total" test) failed$(ctest_failures "$log")")
  elif [ "$status" -ne 0 ]; then
    verdict_failed+=("$name: CTest ended with exit status $status after $(counted "$total" test)")
  else
    verdict_passed+=("$name: $(counted "$total" test)$(skipped_text "$skipped")")
  fi
}

# ctest_failures LOG: the tests CTest's log lists as failed, the first five
# by name, with how they ended where that was more than a failure
# (": Road.Owner (SEGFAULT), LabelsFit.EveryLabel and 3 more").
ctest_failures() {
  local -a names=()
  local line name how
  while IFS= read -r line; do
    [[ $line =~ ^[[:space:]]*[0-9]+\ -\ (.*)\ \((.*)\)$ ]] || continue
    name=${BASH_REMATCH[1]} how=${BASH_REMATCH[2]}
    [ "$how" = Failed ] || name+=" ($how)"
    names+=("$name")
  done < <(sed -n '/^The following tests FAILED:$/,/^[^[:space:]]/p' "$1" 2>/dev/null)
  [ ${#names[@]} -gt 0 ] || return 0
  local more=
  [ ${#names[@]} -le 5 ] || more=" and $((${#names[@]} - 5)) more"
  echo ": $(joined ', ' "${names[@]:0:5}")$more"
}

# Runs of GoogleTest programs gathered into one verdict (programs_verdict):
# the programs that passed and their tests, and the failures.
programs_ran=0
programs_tests=0
programs_skipped=0
programs_failed=()

# program_verdict PROGRAM LOG STATUS: adds the run of the GoogleTest
# program PROGRAM, whose output is in LOG and which ended with STATUS, from
# the summary it ends with ("[==========] 42 tests from 5 test suites
# ran.", "[  FAILED  ] 2 tests, listed below:", "[  SKIPPED ] 1 test.").
program_verdict() {
  local name=$1 log=$2 status=$3 ran failed skipped
  ran=$(sed -nE 's/^\[==========\] ([0-9]+) tests? from .* ran\..*/\1/p' "$log" 2>/dev/null | tail -n 1)
  failed=$(sed -nE 's/^\[  FAILED  \] ([0-9]+) tests?, listed below:.*/\1/p' "$log" 2>/dev/null | tail -n 1)
  skipped=$(sed -nE 's/^\[  SKIPPED \] ([0-9]+) tests?[.,].*/\1/p' "$log" 2>/dev/null | tail -n 1)
  local signal
  if [ "$status" -gt 128 ] && signal=$(kill -l "$status" 2>/dev/null); then
    programs_failed+=("$name ended by SIG$signal${ran:+ after $(counted "$ran" test)}")
  elif [ -z "$ran" ]; then
    programs_failed+=("$name ended with exit status $status before its summary")
  elif [ "${failed:-0}" -gt 0 ]; then
    programs_failed+=("$name: $failed of $(counted "$ran" test) failed")
  elif [ "$status" -ne 0 ]; then
    programs_failed+=("$name ended with exit status $status after $(counted "$ran" test)")
  else
    programs_ran=$((programs_ran + 1))
    programs_tests=$((programs_tests + ran))
    programs_skipped=$((programs_skipped + ${skipped:-0}))
  fi
}

# programs_verdict NAME: the verdict of the programs gathered since the
# last, as the step NAME.
programs_verdict() {
  if [ ${#programs_failed[@]} -gt 0 ]; then
    verdict_failed+=("$1: $(joined ', ' "${programs_failed[@]}")")
  elif [ "$programs_ran" -gt 0 ]; then
    verdict_passed+=("$1: $(counted "$programs_ran" program), $(counted "$programs_tests" test)$(skipped_text "$programs_skipped")")
  fi
  programs_ran=0 programs_tests=0 programs_skipped=0 programs_failed=()
}

# say_verdict: the run's last line, on standard output where everything
# passed ("./test: passed: build/fuzz: 24 tests; ..."), on standard error
# otherwise ("./test: FAILED: build/sanitize: 2 of 306 tests failed;
# passed: ..."); fails where anything failed.
say_verdict() {
  if [ ${#verdict_failed[@]} -eq 0 ]; then
    echo "$run_name: passed: $(joined '; ' "${verdict_passed[@]}")"
    return 0
  fi
  local passed=
  [ ${#verdict_passed[@]} -eq 0 ] || passed="; passed: $(joined '; ' "${verdict_passed[@]}")"
  echo "$run_name: FAILED: $(joined '; ' "${verdict_failed[@]}")$passed" >&2
  return 1
}
