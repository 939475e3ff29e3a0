#!/usr/bin/env bash
# Checks the desktop file and the AppStream metainfo the way desktops and
# software centres read them, and that the newest release listed is the
# version being built.
# Usage: validate-metadata.sh <desktop file> <metainfo file> <project version>
set -euo pipefail
desktop=$1 metainfo=$2 version=$3

# It reports warnings and hints yet exits 0 on them; we keep the file clean of those too.
problems=$(desktop-file-validate "$desktop" 2>&1) || true
[ -z "$problems" ] || { echo "FAIL: $problems" >&2; exit 1; }
appstreamcli validate --no-net "$metainfo"
newest=$(grep -o -m 1 '<release version="[^"]*"' "$metainfo" | cut -d '"' -f 2)
[ "$newest" = "$version" ] || {
  echo "FAIL: the newest release in $metainfo is '$newest', the project is $version" >&2
  exit 1
}
echo "PASS: packaging metadata"
