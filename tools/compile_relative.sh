#!/bin/bash
# The fuzz build's compiler launcher: runs the compiler with every path
# under the source tree written relative to the folder the compiler runs in
# (the build folder), so "/home/me/sevrina/pdf/core/x.cpp" becomes
# "../../pdf/core/x.cpp" and "-I/home/me/sevrina" becomes "-I../..".
#
# The sanitizers keep the names of source files in the program's loaded
# data (the places UndefinedBehaviorSanitizer reports, the modules whose
# globals AddressSanitizer watches), and -ffile-prefix-map does not reach
# them. Absolute names would make that data, and so the addresses of
# everything after it, depend on where the tree was checked out; the values
# libFuzzer compares include such addresses, and a smoke run would then
# explore other inputs in another folder. Relative names are the same in
# every checkout built at the same place inside it. The build tool reads
# dependency files relative to the build folder too, so they stay right;
# the debug information keeps the build folder, so stack traces still name
# whole paths.
#
#   compile_relative.sh ROOT COMPILER [ARGUMENTS...]
#
# ROOT is the source tree exactly as the build system spells it. A path is
# rewritten where it starts an argument or follows an option's own letters
# (-I/root/x, -fsomething=/root/x); a folder that merely begins with the
# same letters (/root2) is left alone.
set -u
root=${1%/}
shift
if [ -z "$root" ] || ! rel=$(realpath -e --relative-to=. -- "$root"); then
  echo "compile_relative.sh: cannot find the source tree '$root' from $(pwd)" >&2
  exit 2
fi
args=()
for a in "$@"; do
  prefix=${a%%/*}  # the option's letters before the path, if any
  rest=${a#"$prefix"}
  if [ "$rest" = "$root" ]; then
    a=$prefix$rel
  elif [[ $rest == "$root"/* ]]; then
    a=$prefix$rel/${rest#"$root"/}
  fi
  args+=("$a")
done
exec "${args[@]}"
