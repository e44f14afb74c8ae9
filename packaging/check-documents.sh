#!/usr/bin/env bash
# Checks the documents of the installation without installing them: every menu entry with
# desktop-file-validate (and that the MIME types it opens are the ones velmaro.xml defines),
# the MIME types with update-mime-database, and every manual page with man, where any
# warning fails. Usage: check-documents.sh [PACKAGING_SOURCE_FOLDER]
# Exit status 0 all sound, 1 a check failed, 77 a checking tool is missing (the test is
# skipped; scripts/install-deps.sh installs them).
set -uo pipefail
src=${1:-$(dirname "$0")}
for tool in desktop-file-validate update-mime-database man; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is not installed (scripts/install-deps.sh installs it)"
    exit 77
  fi
done
failed=0
fail() { echo "FAIL: $*"; failed=1; }

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# The MIME types: accepted by shared-mime-info, each known by its suffix.
mkdir -p "$tmp/mime/packages"
cp "$src/velmaro-mime.xml" "$tmp/mime/packages/velmaro.xml"
if ! out=$(XDG_DATA_DIRS=$tmp update-mime-database "$tmp/mime" 2>&1) || [ -n "$out" ]; then
  fail "update-mime-database rejects velmaro-mime.xml: $out"
fi
for pair in application/x-velmaro-pipe-prices:'*.fda' application/x-velmaro-equipment-prices:'*.dxa'; do
  type=${pair%%:*} glob=${pair#*:}
  grep -qxF "50:$type:$glob" "$tmp/mime/globs2" 2>/dev/null || fail "$type is not known by $glob"
done
echo "checked: MIME types"

# The menu entries.
for f in "$src"/desktop/*.desktop; do
  out=$(desktop-file-validate "$f" 2>&1) || fail "desktop-file-validate $f"
  [ -z "$out" ] || fail "$(basename "$f"): $out"
  for type in $(sed -n 's/^MimeType=//p' "$f" | tr ';' ' '); do
    grep -q "type=\"$type\"" "$src/velmaro-mime.xml" || fail "$(basename "$f") opens $type, which velmaro.xml does not define"
  done
  exec_line=$(sed -n 's/^Exec=//p' "$f")
  program=${exec_line%% *}
  [ -f "$src/man/$program.1" ] || fail "$(basename "$f") starts $program, which has no manual page"
done
echo "checked: menu entries"

# The manual pages: no warning of any kind, and each names its program.
for f in "$src"/man/*.1; do
  out=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$f" 2>&1 >/dev/null)
  [ -z "$out" ] || fail "$(basename "$f"): $out"
  name=$(basename "$f" .1)
  LC_ALL=C.UTF-8 man -E UTF-8 -l "$f" 2>/dev/null | grep -q "^ *$name" || fail "$(basename "$f") does not show $name"
done
echo "checked: manual pages"
exit $failed
