#!/usr/bin/env bash
# Builds the Debian packages from the build folder (into a temporary folder), unpacks them into a temporary
# root and runs kalvar-cli from there, checks that the dependencies were computed from the binaries, that
# every installed program finds its libraries, and that lintian, when installed, reports no error.
# Exit 77 (skipped) when dpkg-deb is missing.
#
#     package_test.sh CPACK BUILD_DIR SOURCE_DIR VERSION
set -euo pipefail
cpack=$1 build=$2 source=$3 version=$4

for tool in dpkg-deb dpkg-shlibdeps file; do
  if ! command -v "$tool" >/dev/null; then
    echo "$tool is not installed: the package test is skipped"
    exit 77
  fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

start=$(date +%s)
"$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 || {
  cat "$work/cpack.log"
  fail "cpack -G DEB"
}
echo "cpack took $(($(date +%s) - start)) s"

arch=$(dpkg --print-architecture)
main=$work/out/kalvar_${version}_${arch}.deb
dev=$work/out/libzucomponents-dev_${version}_${arch}.deb
[ -f "$main" ] || fail "no $(basename "$main"); cpack made: $(cd "$work/out" && ls ./*.deb)"
[ -f "$dev" ] || fail "no $(basename "$dev")"

root=$work/root
dpkg-deb -x "$main" "$root"
dpkg-deb -x "$dev" "$root"

# What each package must carry.
contents() { dpkg-deb -c "$1" | awk '{print $6}' | sed 's|^\./||'; }
contents "$main" >"$work/main.list"
contents "$dev" >"$work/dev.list"
expect() { # list, pattern, what
  grep -qE "$2" "$work/$1.list" || fail "$1 package lacks $3"
}
expect main '^usr/bin/kalvar$' "kalvar"
expect main '^usr/bin/kalvar-cli$' "kalvar-cli"
expect main '^usr/bin/zu-regsvr$' "zu-regsvr"
expect main '^usr/lib/(.*/)?libZuComponents\.so\.1$' "the library under its SONAME"
expect main '^usr/share/kalvar/picture/.*\.jpg$' "the pictures"
expect main '^usr/share/applications/kalvar\.desktop$' "the desktop entry"
expect main '^usr/share/mime/packages/kalvar-task\.xml$' "the task files' type"
expect main '^usr/share/icons/hicolor/.*/apps/kalvar\.(png|svg)$' "the icons"
expect main '^usr/share/doc/kalvar/copyright$' "its copyright"
expect dev '^usr/include/ZuComponents/ZuControls\.h$' "the headers"
expect dev '^usr/lib/(.*/)?cmake/ZuComponents/ZuComponentsConfig\.cmake$' "the CMake package"
expect dev '^usr/lib/(.*/)?pkgconfig/ZuComponents\.pc$' "the pkg-config file"
expect dev '^usr/lib/(.*/)?libZuComponents\.so$' "the link-time name of the library"
expect dev '/qt6/plugins/designer/libzucomponents_designer\.so$' "the Designer plugin"
if [ -f "$source/task/kalvar-task.schema.json" ]; then
  expect main '^usr/share/kalvar/kalvar-task\.schema\.json$' "the task schema"
fi
if [ -f "$source/python/CMakeLists.txt" ]; then
  expect main 'python3.*/kalvar' "the Python module"
  [[ "$(dpkg-deb -f "$main" Depends)" == *"python3 (>="* ]] || fail "the Python module's package does not depend on python3"
fi
if grep -E '^usr/include/|/cmake/|/pkgconfig/' "$work/main.list"; then
  fail "the main package carries development files"
fi

# Dependencies computed from the binaries, and the development package on the library's.
depends=$(dpkg-deb -f "$main" Depends)
for library in libc6 libstdc++6 libqt6widgets6; do
  [[ "$depends" == *"$library "* ]] || fail "Depends: lacks $library: $depends"
done
[[ "$(dpkg-deb -f "$dev" Depends)" == *"kalvar (= $version)"* ]] || fail "the dev package does not depend on kalvar $version"

# Every program and plugin finds its libraries from where the package puts it.
while read -r binary; do
  if ldd "$root/$binary" | grep 'not found'; then fail "$binary misses a library"; fi
done < <(grep -E '^usr/bin/.|\.so$' "$work/main.list" "$work/dev.list" | cut -d: -f2)

# kalvar-cli runs from the unpacked root and computes as the build's own does.
export LD_LIBRARY_PATH=$root/usr/lib
cli=$root/usr/bin/kalvar-cli
[ "$("$cli" --version)" = "kalvar-cli $version" ] || fail "kalvar-cli --version printed '$("$cli" --version)'"
task=$source/examples/heating-by-load.json
"$cli" calc "$task" >"$work/packaged.json" || fail "kalvar-cli calc from the package"
"$build/cli/kalvar-cli" calc "$task" >"$work/built.json"
cmp -s "$work/packaged.json" "$work/built.json" || fail "the packaged kalvar-cli calculates otherwise than the built one"
echo "ok: kalvar-cli $version from the package calculates $(basename "$task")"

# The packaged Python module imports from the unpacked root and gives kalvar-cli's result.
module=$(find "$root/usr/lib" -path '*python3*' -name 'kalvar*.so' | head -n 1)
if [ -n "$module" ] && command -v python3 >/dev/null; then
  PYTHONPATH=$(dirname "$module") python3 - "$task" "$work/packaged.json" <<'PYTHON' || fail "the packaged Python module"
import json, sys, kalvar
with open(sys.argv[1], encoding="utf-8") as f:
    task = json.load(f)
with open(sys.argv[2], encoding="utf-8") as f:
    expected = json.load(f)
sys.exit(0 if kalvar.calc(task) == expected else "kalvar.calc differs from kalvar-cli calc")
PYTHON
  echo "ok: the packaged Python module calculates as kalvar-cli"
fi

if command -v lintian >/dev/null; then
  lintian "$main" "$dev" >"$work/lintian.log" 2>&1 || true
  cat "$work/lintian.log"
  if grep -q '^E:' "$work/lintian.log"; then fail "lintian reports errors"; fi
else
  echo "lintian is not installed: not run"
fi
