#!/usr/bin/env bash
# Mutation testing (a developer tool, not part of CI): puts each fault of
# scripts/mutations.txt into the tree in turn, rebuilds the existing build folder,
# runs the tests and prints which faults they caught and the score.
#
#   scripts/mutate.sh                 # every mutation of the list
#   scripts/mutate.sh 3,7-9           # only these numbers
#   scripts/mutate.sh --check         # which mutations still apply to the sources
#   scripts/mutate.sh --build-dir build-rel --timeout 120 --all-failures
#
# Run it niced on a shared machine: nice -n 10 scripts/mutate.sh
set -u
top=$(cd "$(dirname "$0")/.." && pwd)
build_dir="$top/build"
args=("$@")
for ((i = 0; i < ${#args[@]}; i++)); do
  case "${args[i]}" in
    --build-dir) build_dir=$(cd "$top" && realpath -m "${args[i+1]:-build}") ;;
    --build-dir=*) build_dir=$(cd "$top" && realpath -m "${args[i]#--build-dir=}") ;;
  esac
done

# The Python part restores the file itself; this is the net under it should it be killed
# without a chance to clean up.
restore() {
  local state="$build_dir/.mutate-active" backup="$build_dir/.mutate-backup"
  if [ -f "$state" ] && [ -f "$backup" ]; then
    cp "$backup" "$top/$(cat "$state")" && echo "Restored $(cat "$state")." >&2
    rm -f "$state" "$backup"
  fi
}
trap restore EXIT
trap 'kill -TERM "$child" 2>/dev/null; wait "$child"; exit 130' INT TERM

python3 "$top/scripts/mutate.py" "$@" &
child=$!
wait "$child"
