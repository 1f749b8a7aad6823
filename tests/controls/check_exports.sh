#!/usr/bin/env bash
# The library exports the eight panel functions and the four server entry points under their plain C names.
set -euo pipefail
library="$1"
symbols=$(nm -D --defined-only "$library")
missing=0
for name in ZuPanel_Paint ZuPanelButton_Paint ZuPanelButton_MouseMove ZuPanelButton_Resize \
            CreateButtonRegions CopyButtonObject GetWStyle DrawToolTip \
            DllRegisterServer DllUnregisterServer DllGetClassObject DllCanUnloadNow; do
  if grep -qE " T ${name}\$" <<<"$symbols"; then
    echo "exported: $name"
  else
    echo "missing:  $name"
    missing=1
  fi
done
exit "$missing"
