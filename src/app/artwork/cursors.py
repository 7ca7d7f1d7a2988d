#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Draws the two 32 x 32 mouse pointers of Vornak on the pixel grid and writes
them as SVG files (one rectangle per run of pixels), to be rendered 1:1 with
rsvg-convert.

split.svg  hot spot (17, 15): a vertical double bar with arrows pointing left
           and right, black with a white outline.
hand.svg   hot spot (12, 5): a pointing hand, the hot spot at the tip of the
           index finger, white with a black outline.
"""
import sys

N = 32


def box(x0, y0, x1, y1):
    return {(x, y) for x in range(x0, x1 + 1) for y in range(y0, y1 + 1)}


def dilate(cells, diagonal):
    steps = [(-1, 0), (1, 0), (0, -1), (0, 1)]
    if diagonal:
        steps += [(-1, -1), (1, -1), (-1, 1), (1, 1)]
    grown = set(cells)
    for x, y in cells:
        for dx, dy in steps:
            grown.add((x + dx, y + dy))
    return grown


def split_cursor():
    hx, hy = 17, 15
    ink = box(hx - 1, hy - 7, hx - 1, hy + 7) | box(hx + 1, hy - 7, hx + 1, hy + 7)
    for side in (-1, 1):
        # shaft from the bar outwards, then the arrow head
        for k in range(2, 6):
            ink.add((hx + side * k, hy))
        for k in range(4):
            tip = hx + side * 9
            for y in range(hy - k, hy + k + 1):
                ink.add((tip - side * k, y))
    halo = dilate(ink, diagonal=True) - ink
    return {"#000000": ink, "#ffffff": halo}


def hand_cursor():
    paper = set()
    paper |= box(11, 5, 13, 17)  # index finger, tip at (12, 5)
    paper |= box(15, 11, 17, 17)  # middle finger, bent
    paper |= box(19, 12, 21, 17)  # ring finger
    paper |= box(23, 13, 24, 18)  # little finger
    paper |= box(11, 17, 24, 24)  # palm
    paper |= box(12, 25, 23, 28)  # wrist
    for y, x0 in ((17, 8), (18, 7), (19, 6), (20, 6), (21, 7), (22, 8), (23, 9), (24, 10)):
        paper |= box(x0, y, 10, y)  # thumb
    outline = dilate(paper, diagonal=False) - paper
    # the lines between the fingers down to the palm
    for x, y0 in ((14, 11), (18, 12), (22, 13)):
        for y in range(y0, 18):
            paper.discard((x, y))
            outline.add((x, y))
    return {"#ffffff": paper, "#000000": outline}


def write_svg(path, layers, comment):
    out = ['<?xml version="1.0" encoding="UTF-8"?>',
           f"<!-- {comment} -->",
           f'<svg xmlns="http://www.w3.org/2000/svg" width="{N}" height="{N}" viewBox="0 0 {N} {N}" '
           'shape-rendering="crispEdges">']
    for colour, cells in layers.items():
        assert all(0 <= x < N and 0 <= y < N for x, y in cells), path
        out.append(f'  <g fill="{colour}">')
        for y in range(N):
            x = 0
            while x < N:
                if (x, y) in cells:
                    start = x
                    while x < N and (x, y) in cells:
                        x += 1
                    out.append(f'    <rect x="{start}" y="{y}" width="{x - start}" height="1"/>')
                else:
                    x += 1
        out.append("  </g>")
    out.append("</svg>")
    with open(path, "w") as f:
        f.write("\n".join(out) + "\n")


if __name__ == "__main__":
    folder = sys.argv[1] if len(sys.argv) > 1 else "."
    write_svg(f"{folder}/split.svg", split_cursor(), "Vornak split pointer, 32 x 32, hot spot (17, 15)")
    write_svg(f"{folder}/hand.svg", hand_cursor(), "Vornak hand pointer, 32 x 32, hot spot (12, 5)")
