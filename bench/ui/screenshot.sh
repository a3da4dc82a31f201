#!/bin/sh
# Takes the README's screenshot: the real program on a fresh sample directory under a virtual X
# server, after F4, with a container selected and the fields filled in.
# Needs xvfb-run, xdotool, xwd and netpbm. Usage: screenshot.sh PROGRAM [OUTPUT.png]
set -eu
program=$(realpath "${1:?path of the quillbarrow program}")
output=$(realpath -m "${2:-docs/screenshot.png}")
data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT

XDG_DATA_HOME=$data xvfb-run -a -s "-screen 0 800x600x24" sh -eu -c '
    "$1" &
    pid=$!
    window=$(xdotool search --sync --onlyvisible --name "Quillbarrow" | head -n 1)
    sleep 1
    xdotool windowfocus --sync "$window"
    xdotool key F4
    sleep 1
    xdotool key Down Down Right Down Tab
    xdotool type "stud"
    xdotool key Tab
    xdotool type "Student"
    xdotool key Tab
    xdotool type "3"
    sleep 1
    xwd -silent -id "$window" | xwdtopnm 2>/dev/null | pnmtopng > "$2"
    kill "$pid"
' sh "$program" "$output"
echo "wrote $output"
