#!/usr/bin/env bash
# Screenshots of ZuComponents into out/:
#   zu-demo-menu.png, zu-demo-submenu.png          the demo container with its owner-drawn menu open (label
#                                                  strip, the greyed line selected; then the sub-menu)
#   zu-demo-menu@2x.png, zu-demo-submenu@2x.png    the same at QT_SCALE_FACTOR=2
#   zu-gallery.png, zu-gallery@2x.png              the painting engine's range, at 100 % and at 200 %
#   zu-designer.png                                Qt Designer with the module's controls in its widget box and
#                                                  a form holding the menu button
# The module is registered into a registry of the script's own, so the user's registry file stays untouched.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${ZU_BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target ZuComponents zu-regsvr zu-demo zu_gallery zucomponents_designer
mkdir -p out

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export XDG_CONFIG_HOME="$scratch/config"
"$build/controls/zu-regsvr" register

QT_QPA_PLATFORM=offscreen "$build/controls/demo/zu-demo" --screenshots out
QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=2 "$build/controls/demo/zu-demo" --screenshots "$scratch/x2"
mv "$scratch/x2/zu-demo-menu.png" out/zu-demo-menu@2x.png
mv "$scratch/x2/zu-demo-submenu.png" out/zu-demo-submenu@2x.png
QT_QPA_PLATFORM=offscreen "$build/controls/gallery/zu_gallery" out/zu-gallery.png
QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=2 "$build/controls/gallery/zu_gallery" out/zu-gallery@2x.png

# Qt Designer: the standard widget groups closed, so the ZuComponents group shows; no new-form dialog; a form
# with a menu button opened.
mkdir -p "$XDG_CONFIG_HOME/QtProject"
cat >"$XDG_CONFIG_HOME/QtProject/Designer.conf" <<'EOF'
[WidgetBox]
Closed%20categories=Layouts, Spacers, Buttons, Item Views (Model-Based), Item Widgets (Item-Based), Containers, Input Widgets, Display Widgets

[newFormDialog]
ShowOnStartup=false
EOF
cat >"$scratch/form.ui" <<'EOF'
<?xml version="1.0" encoding="UTF-8"?>
<ui version="4.0">
 <class>MenuForm</class>
 <widget class="QWidget" name="MenuForm">
  <property name="geometry"><rect><x>0</x><y>0</y><width>320</width><height>160</height></rect></property>
  <property name="windowTitle"><string>Меню</string></property>
  <widget class="CZuMenuExCtrl" name="zumenuex">
   <property name="geometry"><rect><x>20</x><y>20</y><width>140</width><height>28</height></rect></property>
   <property name="Caption"><string>Файл</string></property>
   <property name="FontName"><string>DejaVu Sans</string></property>
   <property name="FrameForm"><number>2</number></property>
  </widget>
 </widget>
 <customwidgets>
  <customwidget><class>CZuMenuExCtrl</class><extends>QWidget</extends><header>ZuMenuExCtl.h</header></customwidget>
 </customwidgets>
 <resources/>
 <connections/>
</ui>
EOF
export QT_PLUGIN_PATH="$PWD/$build/controls/designer/plugins"
xvfb-run -a -s "-screen 0 1600x1000x24" bash -c '
  /usr/lib/qt6/bin/designer "$1" >"$2/designer.log" 2>&1 &
  pid=$!
  sleep 12
  import -window root out/zu-designer.png
  kill "$pid" 2>/dev/null || true
' _ "$scratch/form.ui" "$scratch"
ls -l out/zu-demo-*.png out/zu-gallery*.png out/zu-designer.png
