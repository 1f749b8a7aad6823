#!/usr/bin/env bash
# Screenshots of the reports into out/:
#   reports-form4.png, reports-form9.png                 the delivery-terms and print-selection dialogs
#   reports-calculation-page1.png                        page 1 of the calculation sheet as printed (scheme 8)
#   reports-description-page1.png                        page 1 of the hot-water technical description
#   the same with -200 at QT_SCALE_FACTOR=2
#   reports-scheme8.xlsx, reports-scheme8.pdf            the workbook they come from and our PDF of it
#   reports-scheme8-libreoffice.pdf and its page PNGs    LibreOffice's rendering of that workbook, when installed
set -euo pipefail
cd "$(dirname "$0")/.."
build=${REPORTS_BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target reports_screenshots report_dialogs_screenshots
mkdir -p out

QT_QPA_PLATFORM=offscreen "$build/tests/reports/reports_screenshots" out "" out/reports-scheme8
QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=2 "$build/tests/reports/reports_screenshots" out -200
QT_QPA_PLATFORM=offscreen "$build/tests/mainwin/report_dialogs_screenshots" out
QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=2 "$build/tests/mainwin/report_dialogs_screenshots" out -200

office=$(command -v soffice || command -v libreoffice || true)
if [ -n "$office" ]; then
  scratch=$(mktemp -d)
  trap 'rm -rf "$scratch"' EXIT
  "$office" --headless "-env:UserInstallation=file://$scratch/profile" --convert-to pdf --outdir "$scratch" \
    out/reports-scheme8.xlsx >/dev/null
  mv "$scratch/reports-scheme8.pdf" out/reports-scheme8-libreoffice.pdf
  if command -v gs >/dev/null; then
    gs -q -dNOPAUSE -dBATCH -sDEVICE=png16m -r120 -sOutputFile=out/reports-libreoffice-page%d.png \
      out/reports-scheme8-libreoffice.pdf
  fi
fi
ls -l out/reports-*
