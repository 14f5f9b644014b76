# Folders CMake cannot build in: ./run and ./test look at the checkout's
# path before they write anything. Sourced, not run.
#
# CMake writes the path into scripts of its own and into Ninja's files, and
# reads it back as CMake code, a list or a pattern: a double quote ends a
# string early; a backslash is taken for a path separator; a semicolon
# splits the path into two list items; brackets and a vertical bar make its
# own modules miss the compiler's threads and GoogleTest; Ninja's files
# cannot hold a line break or a carriage return; "${", "$ENV{", "$(" and
# "$<" open a variable or an expression. Each of these ends the
# configuration with an error of CMake's that does not name the folder, or
# leaves out parts of the tree.
#
# CMake and CTest also keep the folder they work in to 2,047 bytes
# ("Current working directory cannot be established"; CTest leaves out,
# without a word, the tests of every folder it cannot step into). They work
# in each build folder, and CTest steps into each folder of the tree from
# its parent.

CHECKOUT_PATH_MOST=2047

# checkout_path_problem [--tests] TREE...: says in one line on standard
# output why CMake cannot build the build folders TREE (such as
# build/release) in the checkout, the current folder, and fails; says
# nothing where it can. With --tests, CTest also runs their tests.
checkout_path_problem() {
  local tests= path i
  [ "${1:-}" = --tests ] && tests=1 && shift
  # (A command substitution drops the line breaks that end its output.)
  path=$(pwd -P 2>/dev/null && printf x) || {
    echo "the checkout's path is too long to be read back; CMake takes paths of up to $CHECKOUT_PATH_MOST bytes"
    return 1
  }
  path=${path%$'\nx'}
  local -a marks=('"' '\' ';' '[' ']' '|' $'\n' $'\r' '${' '$ENV{' '$(' '$<')
  local -a names=('a double quote (")' 'a backslash (\)' 'a semicolon (;)' 'an opening bracket ([)'
    'a closing bracket (])' 'a vertical bar (|)' 'a line break' 'a carriage return' '"${"' '"$ENV{"' '"$("' '"$<"')
  for i in "${!marks[@]}"; do
    if [[ $path == *"${marks[i]}"* ]]; then
      echo "the checkout's path ${path@Q} holds ${names[i]}, which CMake cannot build in: move the checkout, or rename its folder, to a path without it"
      return 1
    fi
  done
  # The build finds its sources by listing folders (file(GLOB)), where a
  # folder's name that holds "?" or "*" is matched as a pattern (escaped,
  # so that it matches only itself): CMake then finds that folder, and each
  # one below it down to the sources, by listing the one above it, which
  # this user must therefore be able to read.
  if [[ $path == *[?*]* ]]; then
    local folder=${path%%[?*]*} rest
    folder=${folder%/*}
    rest=${path#"$folder"/}
    while :; do
      local listed=${folder:-/}
      if [ ! -r "$listed" ]; then
        echo "the checkout's path ${path@Q} holds a question mark (?) or an asterisk (*), so CMake finds its sources only by listing each folder from the one above that name down, and this user cannot list ${listed@Q}: move the checkout, or rename its folder, to a path without them"
        return 1
      fi
      [ -n "$rest" ] || break
      folder=$folder/${rest%%/*}
      if [[ $rest == */* ]]; then rest=${rest#*/}; else rest=; fi
    done
  fi
  # The deepest folder the tools work in: a build folder, or, for CTest,
  # the parent of the deepest folder of the tree in a build folder.
  local deepest= tree file folder=
  if [ -n "$tests" ]; then
    while IFS= read -r -d '' file; do
      file=${file%/CMakeLists.txt}
      file=${file%/*}
      file=${file#.}
      [ ${#file} -gt ${#folder} ] && folder=$file
    done < <(find . \( -path ./build -o -path ./.git \) -prune -o -name CMakeLists.txt -print0)
  fi
  for tree in "$@"; do
    [ ${#tree} -gt $((${#deepest} - ${#folder})) ] && deepest=$tree$folder
  done
  local bytes most
  bytes=$(printf '%s' "$path" | wc -c)
  most=$((CHECKOUT_PATH_MOST - 1 - $(printf '%s' "$deepest" | wc -c)))
  if [ "$bytes" -gt "$most" ]; then
    echo "the checkout's path is $bytes bytes long; CMake and CTest work in folders of up to $CHECKOUT_PATH_MOST bytes, and the deepest, $deepest, adds $((CHECKOUT_PATH_MOST - most)): move the checkout to a path of at most $most bytes"
    return 1
  fi
}
