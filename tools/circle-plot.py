#!/usr/bin/env python3
"""Plots X against Y over one circular goto from a simulated board's trace.

    tools/circle-plot.py <trace.txt> <out.png> [counts per mm]

The trace (AXBSIM_TRACE) has every driver call with the board's time; the
program reads X and Y (AXB_GetLatchReg, latch 0) every 10 ms. The positions
from the last AXB_SetAxisPosCircle call on are drawn (starting where X and Y
were last read before it), with the circle that the call asks for (centre
one radius back from the start point along the start angle) beneath them. The plot is drawn by ImageMagick's convert from its
vector format (MVG).
"""
import math
import os
import re
import subprocess
import sys
import tempfile

CALL = re.compile(r"^(\d+) AXB_SetAxisPosCircle\(0,(-?\d+),([^,]+),([^,]+),(-?\d+),(\d+),([^,]+),([^,)]+)\)=1")
READ = re.compile(r"^(\d+) AXB_GetLatchReg\(0,([01]),0,&(-?\d+)\)=1")


def read_trace(path):
    """The circle of the last circular goto and the X, Y positions from the
    start point (the last reading before the call) on."""
    circle, samples, last, before = None, [], {}, {}
    with open(path, encoding="utf-8", errors="replace") as trace:
        for line in trace:
            call = CALL.match(line)
            if call:
                circle = (int(call.group(2)), float(call.group(3)))
                samples = [(before[0], before[1])] if len(before) == 2 else []
                last = {}
                continue
            read = READ.match(line)
            if not read:
                continue
            axis, count = int(read.group(2)), int(read.group(3))
            before[axis] = count
            if circle:
                last[axis] = count
                if len(last) == 2:
                    samples.append((last[0], last[1]))
                    last = {}
    return circle, samples


# A font for the labels: the Debian packages the build installs bring these.
FONTS = ["/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", "/usr/share/wine/fonts/ms_sans_serif.ttf"]


def mvg(circle, samples, per_mm):
    radius, start_deg = circle
    x0, y0 = samples[0]
    cx = x0 - radius * math.cos(math.radians(start_deg))
    cy = y0 - radius * math.sin(math.radians(start_deg))
    size, margin = 560, 60
    span = abs(radius) * 2.4
    scale = (size - 2 * margin) / span

    def px(x, y):
        return (margin + (x - cx + span / 2) * scale, size - margin - (y - cy + span / 2) * scale)

    points = " ".join("%.1f,%.1f" % px(x, y) for x, y in samples)
    ccx, ccy = px(cx, cy)
    worst = max(abs(math.hypot(x - cx, y - cy) - abs(radius)) for x, y in samples)
    lines = [
        f"viewbox 0 0 {size} {size + 20}",
        "fill white", f"rectangle 0 0 {size} {size + 20}",
        "fill none", "stroke #999999", "stroke-width 1",
        f"rectangle {margin},{margin} {size - margin},{size - margin}",
        "stroke #ff8800", "stroke-width 7",
        f"circle {ccx:.1f},{ccy:.1f} {ccx + abs(radius) * scale:.1f},{ccy:.1f}",
        "stroke #003366", "stroke-width 1.5", f"polyline {points}",
        "fill #003366", "stroke none", f"circle {ccx:.1f},{ccy:.1f} {ccx + 3:.1f},{ccy:.1f}",
    ]
    font = next((f for f in FONTS if os.path.exists(f)), None)
    if font:
        labels = [
            (10, 22, "Circular goto: X and Y over one run; orange: the circle of radius %g mm" % (abs(radius) / per_mm)),
            (10, 40, "%d samples, at most %.3f mm off the circle" % (len(samples), worst / per_mm)),
            (size / 2 - 20, size - margin + 34, "X (mm)"),
            (8, size / 2, "Y (mm)"),
            (margin, size - margin + 16, "%.1f" % ((cx - span / 2) / per_mm)),
            (size - margin - 36, size - margin + 16, "%.1f" % ((cx + span / 2) / per_mm)),
            (8, size - margin, "%.1f" % ((cy - span / 2) / per_mm)),
            (8, margin + 10, "%.1f" % ((cy + span / 2) / per_mm)),
        ]
        lines += [f"font '{font}'", "font-size 12", "fill black"]
        lines += [f"text {x:.0f},{y:.0f} '{t}'" for x, y, t in labels]
    return "\n".join(lines) + "\n"


def main():
    if len(sys.argv) not in (3, 4):
        sys.exit(__doc__)
    per_mm = float(sys.argv[3]) if len(sys.argv) == 4 else 1000.0
    circle, samples = read_trace(sys.argv[1])
    if not circle or len(samples) < 3:
        sys.exit("circle-plot: no circular goto with positions after it in " + sys.argv[1])
    with tempfile.NamedTemporaryFile("w", suffix=".mvg", delete=False) as out:
        out.write(mvg(circle, samples, per_mm))
    subprocess.run(["convert", "mvg:" + out.name, sys.argv[2]], check=True)
    os.unlink(out.name)
    print(sys.argv[2])


if __name__ == "__main__":
    main()
