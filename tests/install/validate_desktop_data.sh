#!/usr/bin/env bash
# Validates the menu entries and the AppStream description; exit 77 (skipped) when a
# validator is not installed.
set -uo pipefail
dir=$1
command -v desktop-file-validate >/dev/null && command -v appstreamcli >/dev/null || exit 77
status=0
for f in "$dir"/*.desktop; do
  desktop-file-validate "$f" || { echo "invalid: $f"; status=1; }
done
for f in "$dir"/*.metainfo.xml; do
  appstreamcli validate --no-net "$f" || { echo "invalid: $f"; status=1; }
done
exit $status
