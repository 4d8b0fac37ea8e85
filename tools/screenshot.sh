#!/bin/bash
# Captures one top-level window of the running program as PNG.
#   tools/screenshot.sh <window-title-substring> <out.png>
# The program must already run on the X display named by DISPLAY (Xvfb in
# the run script). The title is matched as plain text, ignoring case; the
# first visible window that matches within SCREENSHOT_TIMEOUT seconds
# (default 10) is raised, given a moment to repaint, and captured alone.
set -euo pipefail

if [ $# -ne 2 ]; then
  echo "usage: $0 <window-title-substring> <out.png>" >&2
  exit 2
fi
title=$1
out=$2
if [ -z "${DISPLAY:-}" ]; then
  echo "screenshot.sh: DISPLAY is not set" >&2
  exit 2
fi
timeout_s=${SCREENSHOT_TIMEOUT:-10}

# xdotool matches a regular expression; escape the title so that captions
# such as "Zoom (mm)" match literally.
pattern=$(printf '%s' "$title" | sed 's/[][\\.*^(){}?+|$]/\\&/g')

win=
for ((tries = timeout_s * 5; tries > 0; tries--)); do
  win=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -n 1) || true
  [ -n "$win" ] && break
  sleep 0.2
done
if [ -z "$win" ]; then
  echo "screenshot.sh: no visible window whose title contains \"$title\" on $DISPLAY after ${timeout_s} s" >&2
  exit 1
fi

xdotool windowraise "$win"
# Wine repaints asynchronously after the window is mapped or raised.
sleep "${SCREENSHOT_SETTLE:-1}"
mkdir -p "$(dirname -- "$out")"
if ! import -window "$win" "png:$out" || [ ! -s "$out" ]; then
  echo "screenshot.sh: capturing window $win (\"$title\") into $out failed" >&2
  exit 1
fi
echo "$out"
