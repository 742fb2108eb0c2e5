#!/bin/bash
# Installs the platform into a temporary prefix, builds app.cpp against it with pkg-config and
# g++, runs it in its own Xvfb and checks two pixels of what it shows.
# Usage: run.sh BUILD_DIR SOURCE_DIR
set -u
build=$1
source=$2
work=$(mktemp -d)
xvfb=
app=
cleanup() {
    [ -n "$app" ] && kill "$app" 2>/dev/null
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$work/prefix" >/dev/null || fail "cmake --install"
[ -f "$work/prefix/lib/pkgconfig/orvex-platform.pc" ] || fail "no orvex-platform.pc installed"
[ -f "$work/prefix/lib/cmake/orvex-platform/orvex-platform-config.cmake" ] || fail "no CMake package config"
export PKG_CONFIG_PATH="$work/prefix/lib/pkgconfig"
flags=$(pkg-config --cflags --libs orvex-platform) || fail "pkg-config cannot read orvex-platform"
g++ -o "$work/app" "$source/app.cpp" $flags || fail "the sample does not build from the install tree"

Xvfb -displayfd 5 -screen 0 640x480x24 -nolisten tcp -noreset 5>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$work/display")"

"$work/app" &
app=$!
# Windows come and go while xdotool walks the tree, which can make one search fail: search again.
for _ in $(seq 300); do
    xdotool search --onlyvisible --name "Orvex sample" >/dev/null 2>&1 && break
    kill -0 "$app" 2>/dev/null || { wait "$app"; fail "the sample ended (status $?) before its window appeared"; }
    sleep 0.1
done
xdotool search --onlyvisible --name "Orvex sample" >/dev/null 2>&1 || fail "no window appeared within 30 s"
pixel() { convert "$work/shot.png" -format "%[fx:int(255*p{$1,$2}.r)],%[fx:int(255*p{$1,$2}.g)],%[fx:int(255*p{$1,$2}.b)]" info:; }
# The client area starts a frame's width in from the window's corner: look well inside the quad
# (client 100..299 x 80..199) and well inside the cleared area, until a frame shows both or the
# sample has ended.
inside= outside=
while kill -0 "$app" 2>/dev/null; do
    import -window root "$work/shot.png" 2>/dev/null || continue
    inside=$(pixel 208 170)
    outside=$(pixel 40 300)
    [ "$inside" = "255,192,0" ] && [ "$outside" = "32,64,96" ] && break
done
[ "$inside" = "255,192,0" ] || fail "quad pixel is $inside, not 255,192,0"
[ "$outside" = "32,64,96" ] || fail "clear pixel is $outside, not 32,64,96"
wait "$app"
status=$?
app=
[ $status -eq 0 ] || fail "the sample exited with $status"
echo "sample app drew its frame: quad $inside, background $outside"
