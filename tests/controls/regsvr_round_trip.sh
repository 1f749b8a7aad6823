#!/usr/bin/env bash
# zu-regsvr as a user runs it: register, list, unregister, list, and a wrong command line, in a registry of its own.
set -euo pipefail
regsvr="$1"
export XDG_CONFIG_HOME
XDG_CONFIG_HOME=$(mktemp -d)
trap 'rm -rf "$XDG_CONFIG_HOME"' EXIT

"$regsvr" register >/dev/null
listing=$("$regsvr" list)
for expected in \
  'typelib {E69F9CF3-DA7B-4E37-8067-300E74E2FDD6} 1.0 "ZuComponents ActiveX Control module"' \
  'class {BAD57D08-78B3-4301-983A-14A482FEAB45} ZUCOMPONENTS.ZuMenuExCtrl.1 "ZuMenuEx Control" Apartment' \
  'class {C8A4C5AB-49AF-4DBF-8944-DBF8ADB5F3BE} ZUCOMPONENTS.ZuMenuExPropPage.1 "ZuMenuEx Property Page" Apartment' \
  'progid ZUCOMPONENTS.ZuMenuExCtrl.1 {BAD57D08-78B3-4301-983A-14A482FEAB45}'; do
  grep -qF "$expected" <<<"$listing" || { echo "missing from the listing: $expected"; echo "$listing"; exit 1; }
done
grep -q 'control misc=0x20191' <<<"$listing" || { echo "no control with its status bits"; exit 1; }

"$regsvr" unregister >/dev/null
[ -z "$("$regsvr" list)" ] || { echo "entries left after unregistering"; "$regsvr" list; exit 1; }

set +e
"$regsvr" frobnicate >/dev/null 2>&1; usage=$?
"$regsvr" register /nonexistent/libnothing.so >/dev/null 2>&1; missing=$?
set -e
[ "$usage" -eq 2 ] || { echo "a wrong command line exits $usage, not 2"; exit 1; }
[ "$missing" -eq 1 ] || { echo "a module that cannot be loaded exits $missing, not 1"; exit 1; }
echo "zu-regsvr round trip passed"
