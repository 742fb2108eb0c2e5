#!/bin/bash
# Builds each classic program of this folder, unchanged, from an installed platform with the
# README's pkg-config line, runs it in its own Xvfb and checks a few pixels of its window.
# The platform is installed into one prefix and used from another, to show the tree moves.
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

# program | window title | client pixel = expected colour, ...
programs=(
    "paint|Classic paint|150,150=40,120,200 10,10=40,120,200"
    "vertices|Classic vertices|50,60=255,0,0 180,200=0,255,0 150,150=0,0,0"
    "matrices|Classic matrices|150,150=255,255,0 150,110=255,255,0 150,270=0,0,96"
    "lights|Classic lights|70,150=255,255,0 230,150=64,64,0 150,150=0,0,255"
    "texture|Classic texture|100,100=255,0,0 200,100=0,0,255 100,200=0,255,0 200,200=255,255,255"
    "mesh|Classic mesh|70,150=255,0,0 197,114=255,0,0 262,186=255,255,255"
)

cmake --install "$build" --prefix "$work/first" >/dev/null || fail "cmake --install"
mv "$work/first" "$work/prefix"
export PKG_CONFIG_PATH="$work/prefix/lib/pkgconfig"
flags=$(pkg-config --cflags --libs orvex-platform) || fail "pkg-config cannot read orvex-platform"
for entry in "${programs[@]}"; do
    name=${entry%%|*}
    g++ -o "$work/$name" "$source/$name.cpp" $flags || fail "$name.cpp does not build from the install tree"
done

# An X server of the program's own: what one program leaves behind cannot reach the next.
start_xvfb() {
    rm -f "$work/display"
    Xvfb -displayfd 5 -screen 0 640x480x24 -nolisten tcp -noreset 5>"$work/display" 2>/dev/null &
    xvfb=$!
    for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
    [ -s "$work/display" ] || fail "Xvfb did not start"
    export DISPLAY=":$(head -n1 "$work/display")"
}

# Every pixel within 8 of what is expected; prints the ones that are not.
check_pixels() {
    local shot=$1 wrong=0 probe at want got
    for probe in $2; do
        at=${probe%=*}
        want=${probe#*=}
        got=$(convert "$shot" -format "%[fx:int(255*p{$at}.r+0.5)],%[fx:int(255*p{$at}.g+0.5)],%[fx:int(255*p{$at}.b+0.5)]" info:)
        IFS=, read -r r g b <<<"$got"
        IFS=, read -r wr wg wb <<<"$want"
        for d in $((r - wr)) $((g - wg)) $((b - wb)); do
            [ ${d#-} -le 8 ] || { echo "($at) is $got, not $want"; wrong=1; break; }
        done
    done
    return $wrong
}

mkdir "$work/run"
cp "$source"/data/* "$work/run/"
for entry in "${programs[@]}"; do
    IFS='|' read -r name title pixels <<<"$entry"
    # Windows come and go while xdotool walks the tree, which can make one search fail: search
    # again until the program shows its window, ends, or the deadline passes. The server runs
    # with -noreset: a search that was its only client would otherwise reset it, and a program
    # connecting in that moment is refused and draws off screen.
    start_xvfb
    (cd "$work/run" && exec "$work/$name") &
    app=$!
    deadline=$((SECONDS + 15))
    until window=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -n1) && [ -n "$window" ]; do
        kill -0 "$app" 2>/dev/null || fail "$name ended before its window appeared"
        [ $SECONDS -lt $deadline ] || fail "$name: no window appeared within 15 s"
        sleep 0.1
    done
    # The first frames may still be on their way: look again until the deadline.
    deadline=$((SECONDS + 10))
    until import -window "$window" "$work/$name.png" 2>/dev/null && report=$(check_pixels "$work/$name.png" "$pixels"); do
        [ $SECONDS -lt $deadline ] || fail "$name: $report"
        sleep 0.2
    done
    kill -TERM "$app"
    wait "$app"
    status=$?
    app=
    [ $status -eq 0 ] || fail "$name exited with $status after it was asked to close"
    kill "$xvfb"
    wait "$xvfb" 2>/dev/null
    xvfb=
    echo "$name drew what it should"
done
