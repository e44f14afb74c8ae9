#!/usr/bin/env bash
# Fault-injection sweep of the read path: every look-up, open and read a command makes on its
# price file fails in turn, and the file must come through it.
#
#   scripts/read-fault-sweep.sh [BUILD_FOLDER]     (default: build)
#
# For each command of velmok-cli and selvan-cli, and for velmok's start (offscreen, ended after
# a few seconds), the sweep counts the calls of newfstatat, openat, read, fstat and statx the
# command makes on the price file (strace -P), then runs it once for every call number N and
# every error of EIO, EACCES, ESTALE with that N-th call failing:
#   strace -f -P FILE -e inject=SYSCALL:error=ERR:when=N COMMAND
# A run holds when
#   - the price file is byte-identical to what it was before the run, except after a --write
#     run that exited 0: then it is exactly what a run without a fault writes;
#   - the file keeps its mode (640), and a file given through a symbolic link stays behind
#     that link (one --write command is swept that way);
#   - a non-zero exit printed a Japanese message on standard error that names the file;
#   - an exit 0 printed what a run without a fault prints (a fault reported as success does
#     not hold).
# velmok is ended by the sweep, so only the file counts there (and a message, should it end by
# itself with an error).
#
# The write side follows: each workbook command (velmok-cli, torvik-cli and selvan-cli xlsx) with
# its N-th write, fsync or rename failing (EIO, ENOSPC), the library's temporary files included,
# holds when an exit 0 left a workbook whose every part unpacks and parses, and any other exit
# left no workbook and a message naming it (or, when only the flush of its folder failed after
# the rename, a sound workbook and a message saying so); and each --write command with the N-th call on its
# lock file (openat, fcntl, unlink; EIO, EACCES, ENOLCK) failing holds when the price file is
# exactly what a run without a fault writes (exit 0) or as it was (any other exit, with a message
# naming it), and no lock file or temporary file is left beside it.
#
# At most SWEEP_MAX_CALLS call numbers (default 40) are tried per system call and command, so a
# command that makes more calls than that is swept over its first 40. It prints "tried N,
# held M" per command and a total, and exits 1 when any run did not hold; the runs that did not
# hold are listed with their messages. SWEEP_ONLY=REGEX sweeps only the commands whose label
# (as printed) matches.
set -uo pipefail

build=${1:-build}
bin=$(cd "$build/bin" 2>/dev/null && pwd) || { echo "no programs in $build/bin" >&2; exit 2; }
max_calls=${SWEEP_MAX_CALLS:-40}
gui_seconds=${SWEEP_GUI_SECONDS:-3}
syscalls=(newfstatat openat read fstat statx)
errors=(EIO EACCES ESTALE)

for tool in strace cmp python3 timeout; do
  command -v "$tool" >/dev/null || { echo "read-fault-sweep: $tool is not installed" >&2; exit 2; }
done
for program in velmok-cli torvik-cli selvan-cli korrel velmok; do
  [ -x "$bin/$program" ] || { echo "read-fault-sweep: $bin/$program is missing; build it first" >&2; exit 2; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/read-fault-sweep.XXXXXX")
trap 'rm -rf "$work"' EXIT
export LC_ALL=C.UTF-8 QT_QPA_PLATFORM=offscreen

# --- the files -------------------------------------------------------------------------------

cp "$bin/kanzai/haikan1.fda" "$work/service.orig"
# An equipment file of 300 records with a name, a unit, a list price and a labour rate in each
# block, as selvan would have saved it.
python3 - "$work/equipment.orig" <<'EOF'
import struct, sys
data = bytearray(300 * 512)
for block in range(20):
    for row in range(15):
        at = (block * 15 + row) * 512
        name = f"機器{block + 1}".encode("cp932")
        data[at + 4] = len(name); data[at + 5:at + 5 + len(name)] = name
        size = f"{(row + 1) * 5}A".encode("cp932")
        data[at + 85] = len(size); data[at + 86:at + 86 + len(size)] = size
        unit = "本".encode("cp932")
        data[at + 148] = len(unit); data[at + 149:at + 149 + len(unit)] = unit
        struct.pack_into("<q", data, at + 208, (1000 + 100 * block + row) * 10000)
        struct.pack_into("<q", data, at + 336, (row + 1) * 2500)
open(sys.argv[1], "wb").write(data)
EOF

# velmok's program folder, its data folder made by a first start without a fault.
mkdir "$work/prog"
cp -a "$bin/." "$work/prog/"
rm -rf "$work/prog/ex_data"
timeout "$gui_seconds" "$work/prog/velmok" >/dev/null 2>&1
[ -f "$work/prog/ex_data/kanzai1.fda" ] || { echo "read-fault-sweep: velmok did not make ex_data/kanzai1.fda" >&2; exit 2; }
cp -a "$work/prog/ex_data" "$work/ex_data.orig"

# --- one run ---------------------------------------------------------------------------------

total_tried=0
total_held=0
failures="$work/failures.txt"
: >"$failures"

# Puts the price file back as it was before a run: the same bytes, mode 640, and for the
# "link" kind the name the command is given is a symbolic link to it.
reset_file() { # kind target
  case $1 in
    service) cp "$work/service.orig" "$2" ;;
    link) cp "$work/service.orig" "$2" && ln -sfn "$(basename "$2")" "$work/run/k.fda" ;;
    equipment) cp "$work/equipment.orig" "$2" ;;
    gui) rm -rf "$work/prog/ex_data" && cp -a "$work/ex_data.orig" "$work/prog/ex_data" ;;
  esac
  chmod 640 "$2"
}

# Runs the command with the price file fresh; $status, $work/out and $work/err hold what it did.
# strace -P takes the calls on the file and, for a symbolic link, on the link's name too.
run_once() { # kind target strace-options... -- command...
  local kind=$1 target=$2
  shift 2
  reset_file "$kind" "$target"
  local opts=()
  while [ "$1" != "--" ]; do opts+=("$1"); shift; done
  shift
  local paths=(-P "$target")
  [ "$kind" = link ] && paths+=(-P "$work/run/k.fda")
  (cd "$work/run" && timeout 60 strace -f --seccomp-bpf -qq -o "$work/trace" "${paths[@]}" "${opts[@]}" -- "$@" \
     >"$work/out" 2>"$work/err")
  status=$?
  # strace's own lines (a link's name resolved) are not the command's message.
  sed -i '/^strace: /d' "$work/err"
}

# How many calls of a system call the command makes on the file.
count_calls() { # kind target syscall command...
  local kind=$1 target=$2 sc=$3
  shift 3
  run_once "$kind" "$target" -e trace="$sc" -- "$@"
  grep -cE "^([0-9]+ +)?$sc\(" "$work/trace"
}

# Counts a run as held when `why` is empty; lists it with its message otherwise.
judge() { # label syscall error n why
  if [ -z "$5" ]; then
    held=$((held + 1))
  else
    printf '%s  %s:%s:when=%d: %s\n    %s\n' "$1" "$2" "$3" "$4" "$5" \
      "$(head -c 400 "$work/err" | tr '\n' ' ')" >>"$failures"
  fi
}

# Sweeps one command; `writes` says whether it writes the file back on success.
sweep() { # label kind writes command... (the price file is the word @FILE@, an output @OUT@)
  local label=$1 kind=$2 writes=$3
  shift 3
  [[ $label =~ ${SWEEP_ONLY:-.} ]] || return 0
  local target
  case $kind in
    service) target="$work/run/k.fda" ;;
    link) target="$work/run/real.fda" ;; # the command is given the link k.fda
    equipment) target="$work/run/kigu1.dxa" ;;
    gui) target="$work/prog/ex_data/kanzai1.fda" ;;
  esac
  local cmd=() a file=$target
  [ "$kind" = link ] && file="$work/run/k.fda"
  for a in "$@"; do
    a=${a//@FILE@/$file}
    cmd+=("${a//@OUT@/$work/run/out}")
  done
  rm -rf "$work/run" && mkdir "$work/run"

  # What a run without a fault prints, exits with and leaves.
  run_once "$kind" "$target" -e trace=none -- "${cmd[@]}"
  local clean_status=$status
  cp "$work/out" "$work/clean.out"
  cp "$target" "$work/clean.file"
  reset_file "$kind" "$target"
  cp "$target" "$work/before"

  local tried=0 held=0 refused=0 sc err n calls counted=""
  for sc in "${syscalls[@]}"; do
    calls=$(count_calls "$kind" "$target" "$sc" "${cmd[@]}")
    counted+=" $sc $calls"
    [ "$calls" -gt "$max_calls" ] && calls=$max_calls
    for ((n = 1; n <= calls; n++)); do
      for err in "${errors[@]}"; do
        run_once "$kind" "$target" -e trace="$sc" -e inject="$sc:error=$err:when=$n" -- "${cmd[@]}"
        tried=$((tried + 1))
        [ "$status" -ne 0 ] && [ "$status" -ne 124 ] && [ -s "$work/err" ] && refused=$((refused + 1))
        local why=""
        if [ "$writes" = yes ] && [ "$status" -eq 0 ]; then
          cmp -s "$target" "$work/clean.file" || why="the file is not what a run without a fault writes"
        elif ! cmp -s "$target" "$work/before"; then
          why="the file changed"
        fi
        if [ -z "$why" ] && [ "$(stat -c %a "$target")" != 640 ]; then
          why="the file's mode changed from 640 to $(stat -c %a "$target")"
        elif [ -z "$why" ] && [ "$kind" = link ] && [ "$(readlink "$work/run/k.fda")" != real.fda ]; then
          why="the symbolic link the command was given is no longer a link to the file"
        fi
        if [ -z "$why" ] && [ "$kind" = gui ]; then
          # Ended by the sweep (124): only the file counts. Ended by itself with an error: a message.
          if [ "$status" -ne 124 ] && [ "$status" -ne 0 ] && ! grep -qF "$file" "$work/err"; then
            why="velmok ended with $status without naming the file"
          fi
        elif [ -z "$why" ] && [ "$status" -eq 0 ]; then
          cmp -s "$work/out" "$work/clean.out" || why="exit 0, but it printed other output than a run without a fault"
        elif [ -z "$why" ] && [ "$status" -eq "$clean_status" ] && cmp -s "$work/out" "$work/clean.out" \
             && ! [ -s "$work/err" ]; then
          : # a check that finds the problems it finds without a fault
        elif [ -z "$why" ]; then
          if ! grep -qF "$file" "$work/err"; then
            why="exit $status without naming the file"
          elif ! grep -qP '[^\x00-\x7F]' "$work/err"; then
            why="exit $status without a Japanese message"
          fi
        fi
        judge "$label" "$sc" "$err" "$n" "$why"
      done
    done
  done
  printf '%-32s tried %4d, held %4d   (ended with a message: %d; calls on the file:%s)\n' "$label" "$tried" "$held" \
    "$refused" "$counted"
  total_tried=$((total_tried + tried))
  total_held=$((total_held + held))
}

cli=$bin/velmok-cli
scli=$bin/selvan-cli
sweep "velmok-cli dump" service no "$cli" dump @FILE@
sweep "velmok-cli calc" service no "$cli" calc @FILE@
sweep "velmok-cli calc --write" service yes "$cli" calc @FILE@ --write
sweep "velmok-cli csv" service no "$cli" csv @FILE@ --pipe 1 --heading
sweep "velmok-cli xlsx" service no "$cli" xlsx @FILE@ --pipe 1 @OUT@.xlsx
sweep "velmok-cli pdf" service no "$cli" pdf @FILE@ @OUT@.pdf
sweep "velmok-cli calc --write (link)" link yes "$cli" calc @FILE@ --write
sweep "velmok-cli level --write" service yes "$cli" level @FILE@ --levels 100,95,90,85,80 --write
sweep "velmok-cli check" service no "$cli" check @FILE@
sweep "selvan-cli dump" equipment no "$scli" dump @FILE@
sweep "selvan-cli recalc" equipment no "$scli" recalc @FILE@
sweep "selvan-cli recalc --write" equipment yes "$scli" recalc @FILE@ --write
sweep "selvan-cli check" equipment no "$scli" check @FILE@
sweep "velmok start" gui no timeout "$gui_seconds" "$work/prog/velmok"

# --- the write side ----------------------------------------------------------------------------

# A workbook that python's zipfile reads whole (every checksum) and whose XML parts all parse.
workbook_sound() { # file
  python3 - "$1" <<'PYEOF' 2>/dev/null
import sys, zipfile
from xml.dom import minidom
z = zipfile.ZipFile(sys.argv[1])
assert z.testzip() is None
for name in ("[Content_Types].xml", "_rels/.rels", "xl/workbook.xml"):
    z.getinfo(name)
for name in z.namelist():
    if name.endswith((".xml", ".rels")):
        minidom.parseString(z.read(name))
PYEOF
}

# Sweeps a workbook command: every write, fsync and rename of the process may fail, since the
# library's temporary files have names of their own.
sweep_workbook() { # label kind command... (@FILE@ the price file, @OUT@ the workbook)
  local label=$1 kind=$2
  shift 2
  [[ $label =~ ${SWEEP_ONLY:-.} ]] || return 0
  local target out="$work/run/out.xlsx" cmd=() a
  case $kind in
    service) target="$work/run/k.fda" ;;
    equipment) target="$work/run/kigu1.dxa" ;;
  esac
  for a in "$@"; do
    a=${a//@FILE@/$target}
    cmd+=("${a//@OUT@/$out}")
  done
  rm -rf "$work/run" && mkdir "$work/run"
  local tried=0 held=0 sc err n calls counted=""
  for sc in write fsync rename; do
    reset_file "$kind" "$target"
    (cd "$work/run" && timeout 60 strace -f --seccomp-bpf -qq -o "$work/trace" -e trace="$sc" -- "${cmd[@]}" >/dev/null 2>&1)
    calls=$(grep -cE "^([0-9]+ +)?$sc\(" "$work/trace")
    counted+=" $sc $calls"
    [ "$calls" -gt "$max_calls" ] && calls=$max_calls
    for ((n = 1; n <= calls; n++)); do
      for err in EIO ENOSPC; do
        reset_file "$kind" "$target"
        rm -f "$out"
        (cd "$work/run" && timeout 60 strace -f --seccomp-bpf -qq -o /dev/null -e trace="$sc" \
           -e inject="$sc:error=$err:when=$n" -- "${cmd[@]}" >"$work/out" 2>"$work/err")
        status=$?
        tried=$((tried + 1))
        local why=""
        if [ "$status" -eq 0 ]; then
          workbook_sound "$out" || why="exit 0, but the workbook is broken"
        elif [ -e "$out" ] && grep -qF "は保存しましたが" "$work/err"; then
          # Renamed into place, only the flush of its folder failed, and the message says so.
          workbook_sound "$out" || why="exit $status, the workbook in place is broken"
        elif [ -e "$out" ]; then
          why="exit $status, and a workbook was left"
        elif [ -s "$work/err" ] && ! grep -qF "$out" "$work/err"; then
          why="exit $status without naming the workbook" # (an empty message: its own write failed)
        fi
        judge "$label" "$sc" "$err" "$n" "$why"
      done
    done
  done
  printf '%-32s tried %4d, held %4d   (calls:%s)\n' "$label" "$tried" "$held" "$counted"
  total_tried=$((total_tried + tried))
  total_held=$((total_held + held))
}

# Sweeps the write lock of a --write command: the calls on its lock file fail in turn.
sweep_lock() { # label kind command...
  local label=$1 kind=$2
  shift 2
  [[ $label =~ ${SWEEP_ONLY:-.} ]] || return 0
  local target cmd=() a
  case $kind in
    service) target="$work/run/k.fda" ;;
    equipment) target="$work/run/kigu1.dxa" ;;
  esac
  local lock="$work/run/.$(basename "$target").lock"
  for a in "$@"; do cmd+=("${a//@FILE@/$target}"); done
  rm -rf "$work/run" && mkdir "$work/run"
  reset_file "$kind" "$target"
  (cd "$work/run" && "${cmd[@]}" >/dev/null 2>&1)
  cp "$target" "$work/clean.file"
  local tried=0 held=0 sc err n calls counted=""
  for sc in openat fcntl unlink; do
    reset_file "$kind" "$target"
    (cd "$work/run" && timeout 60 strace -f --seccomp-bpf -qq -o "$work/trace" -P "$lock" -e trace="$sc" -- "${cmd[@]}" \
       >/dev/null 2>&1)
    calls=$(grep -cE "^([0-9]+ +)?$sc\(" "$work/trace")
    counted+=" $sc $calls"
    for ((n = 1; n <= calls; n++)); do
      for err in EIO EACCES ENOLCK; do
        reset_file "$kind" "$target"
        cp "$target" "$work/before"
        (cd "$work/run" && timeout 60 strace -f --seccomp-bpf -qq -o /dev/null -P "$lock" -e trace="$sc" \
           -e inject="$sc:error=$err:when=$n" -- "${cmd[@]}" >"$work/out" 2>"$work/err")
        status=$?
        tried=$((tried + 1))
        local why=""
        if [ "$status" -eq 0 ]; then
          cmp -s "$target" "$work/clean.file" || why="the file is not what a run without a fault writes"
        elif ! cmp -s "$target" "$work/before"; then
          why="exit $status, and the file changed"
        elif ! grep -qF "$target" "$work/err"; then
          why="exit $status without naming the file"
        fi
        if [ -z "$why" ] && compgen -G "$work/run/.$(basename "$target").??????" >/dev/null; then
          why="a temporary file was left"
        fi
        # A lock file left by a writer whose unlink failed is harmless (the next writer takes it
        # over); only the price file and the temporary files count.
        judge "$label" "$sc" "$err" "$n" "$why"
      done
    done
  done
  printf '%-32s tried %4d, held %4d   (calls on the lock file:%s)\n' "$label" "$tried" "$held" "$counted"
  total_tried=$((total_tried + tried))
  total_held=$((total_held + held))
}

tcli=$bin/torvik-cli
sweep_workbook "velmok-cli xlsx (write side)" service "$cli" xlsx @FILE@ --pipe 1 @OUT@
sweep_workbook "torvik-cli xlsx (write side)" service "$tcli" xlsx @FILE@ @OUT@ --block 0
sweep_workbook "selvan-cli xlsx (write side)" equipment "$scli" xlsx @FILE@ @OUT@ --block 0
sweep_lock "velmok-cli calc --write (lock)" service "$cli" calc @FILE@ --write
sweep_lock "torvik-cli recalc --write (lock)" service "$tcli" recalc @FILE@ --write
sweep_lock "selvan-cli recalc --write (lock)" equipment "$scli" recalc @FILE@ --write

printf '%-32s tried %4d, held %4d\n' "total" "$total_tried" "$total_held"
if [ -s "$failures" ]; then
  echo
  echo "runs that did not hold:"
  cat "$failures"
  exit 1
fi
exit 0
