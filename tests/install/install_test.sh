#!/usr/bin/env bash
# Installs the build into a temporary prefix, registers the control module with the installed zu-regsvr, and
# builds and runs a small program against the installed ZuComponents twice: through its CMake package and
# through pkg-config. Exit 77 (skipped) when pkg-config is missing, after the CMake part passed.
#
#     install_test.sh CMAKE BUILD_DIR SOURCE_DIR CXX GENERATOR
set -euo pipefail
cmake=$1 build=$2 source=$3 cxx=$4 generator=$5

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
export QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME=$work/config

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

"$cmake" --install "$build" --prefix "$prefix" >"$work/install.log" || {
  cat "$work/install.log"
  fail "cmake --install"
}

# What a UI developer needs is there, under the names the brief of the library promises.
libdir=$prefix/lib
designer_plugin=$(find "$prefix" -path '*/qt6/plugins/designer/libzucomponents_designer.so' | head -n 1)
for file in bin/kalvar bin/kalvar-cli bin/zu-regsvr include/ZuComponents/ZuControls.h \
  include/ZuComponents/ZuMenuExCtl.h lib/cmake/ZuComponents/ZuComponentsConfig.cmake \
  lib/cmake/ZuComponents/ZuComponentsConfigVersion.cmake lib/pkgconfig/ZuComponents.pc \
  share/applications/kalvar.desktop share/man/man1/kalvar-cli.1.gz; do
  [ -e "$prefix/$file" ] || fail "$file is not installed"
done
[ -n "$designer_plugin" ] || fail "the Designer plugin is not in Qt's designer plugin folder"
soname=$(readelf -d "$libdir/libZuComponents.so" | sed -n 's/.*Library soname: \[\(.*\)\]/\1/p')
[ "$soname" = libZuComponents.so.1 ] || fail "SONAME is '$soname'"

"$prefix/bin/zu-regsvr" register >"$work/regsvr.log" 2>&1 || {
  cat "$work/regsvr.log"
  fail "zu-regsvr register"
}

expected="caption: Пуск
created: CZuMenuExCtrl
CreateMenu: a handle
GetWStyle: 64
lighten: FFA030
designer plugin: org.qt-project.Qt.QDesignerCustomWidgetCollectionInterface"

check_output() { # what, program
  local output
  output=$("$2" "$designer_plugin") || fail "$1: the program failed"
  if [ "$output" != "$expected" ]; then
    diff <(echo "$expected") <(echo "$output") >&2 || true
    fail "$1: unexpected output"
  fi
  echo "ok: $1"
}

# The CMake package: find_package(ZuComponents) and the imported target, with nothing else on the paths.
"$cmake" -S "$source/tests/install/consumer" -B "$work/consumer" -G "$generator" -DCMAKE_CXX_COMPILER="$cxx" \
  -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_BUILD_TYPE=Release >"$work/configure.log" 2>&1 || {
  cat "$work/configure.log"
  fail "configuring the consumer"
}
"$cmake" --build "$work/consumer" >"$work/build.log" 2>&1 || {
  cat "$work/build.log"
  fail "building the consumer"
}
check_output "find_package(ZuComponents)" "$work/consumer/zu_consumer"

# pkg-config: one compile with the flags the installed ZuComponents.pc gives.
if ! command -v pkg-config >/dev/null; then
  echo "pkg-config is not installed: its part skipped"
  exit 77
fi
flags=$(PKG_CONFIG_PATH=$libdir/pkgconfig pkg-config --cflags --libs ZuComponents) || fail "pkg-config ZuComponents"
# shellcheck disable=SC2086 # the flags are words
"$cxx" -std=c++20 -fPIC -Wall -Wextra -Werror -o "$work/pc_consumer" "$source/tests/install/consumer/consumer.cpp" $flags \
  -Wl,-rpath,"$libdir" 2>"$work/pc.log" || {
  cat "$work/pc.log"
  fail "compiling with pkg-config --cflags --libs ZuComponents"
}
check_output "pkg-config ZuComponents" "$work/pc_consumer"

# The painting engine's header is C as well: a C program with the same flags.
if command -v cc >/dev/null; then
  # shellcheck disable=SC2086
  cc -std=c11 -Wall -Wextra -Werror -o "$work/c_consumer" "$source/tests/install/consumer/painting_engine.c" \
    $flags -Wl,-rpath,"$libdir" 2>"$work/c.log" || {
    cat "$work/c.log"
    fail "compiling a C program with pkg-config --cflags --libs ZuComponents"
  }
  [ "$("$work/c_consumer")" = "GetWStyle: 64" ] || fail "the C program printed '$("$work/c_consumer")'"
  echo "ok: a C program on the painting engine"
fi
