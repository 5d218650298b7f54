#!/usr/bin/python3
"""The DXF that vintaler-cli cuts by default, read back with ezdxf, against an
unfolding of the exact surface worked out here in plain doubles.

Each quadrant is a fan of plane triangles about its rectangle corner C: the
triangle (M, C, S) with M the midpoint of the side along X and S the circle's
point at the quadrant's arc start, then one triangle (C, P[j-1], P[j]) for
each step of the quarter arc, the circle points at their exact angles. The
fan is unfolded with M at the origin and C on the X axis, S placed by its two
distances, and each arc point turned about C's image by the triangle's angle
at C, taken as 2 asin(|a - b| / 2) of the unit vectors a, b along its two
generators: that keeps its digits for the tiny angles of fine divisions.

Prints the largest distance (mm) of a bend line's end from its place here;
exits 1 when it exceeds the limit given.

usage: check_precise_dxf.py CLI LIMIT B A L R X1 Y1 DIVISIONS QUADRANTS [--pattern P]
"""
import math
import os
import subprocess
import sys
import tempfile

import ezdxf


def unit(v):
    n = math.sqrt(sum(c * c for c in v))
    return [c / n for c in v], n


def quadrant_fan(B, A, L, R, X1, Y1, n, q):
    """The images of C and of the n + 1 arc points of quadrant q."""
    sx = 1 if q in (1, 4) else -1  # the corner's side along X
    sy = 1 if q in (1, 2) else -1  # the side along Y, where the piece opens
    M = (0.0, sy * A / 2, 0.0)
    C = (sx * B / 2, sy * A / 2, 0.0)
    start = math.pi / 2 if sy > 0 else 3 * math.pi / 2
    turn = sx * sy * -1  # the arc runs from (0, sy) towards (sx, 0)

    def arc(j):
        t = start + turn * j * (math.pi / 2) / n
        return (X1 + R * math.cos(t), Y1 + R * math.sin(t), L)

    def dist(p, r):
        return math.sqrt(sum((a - b) ** 2 for a, b in zip(p, r)))

    # The first triangle: M at the origin, C on the X axis, S by its
    # distances from both, on the open side.
    c_img = (sx * dist(M, C), 0.0)
    S = arc(0)
    dm, dc, mc = dist(M, S), dist(C, S), dist(M, C)
    x = (dm * dm - dc * dc + mc * mc) / (2 * mc)
    s_img = (sx * x, sy * math.sqrt(max(dm * dm - x * x, 0.0)))

    # Angles about C are measured from the direction C -> S, turning away
    # from M, so the fan's points are C + g (cos, sin) of that running angle
    # in a frame whose first axis is C -> S.
    a0, _ = unit([s_img[0] - c_img[0], s_img[1] - c_img[1]])
    side = -sx * sy  # the turning sense, away from M's image
    images = [s_img]
    angles = []
    prev, _ = unit([a - b for a, b in zip(S, C)])
    for j in range(1, n + 1):
        P = arc(j)
        cur, g = unit([a - b for a, b in zip(P, C)])
        chord = math.sqrt(sum((a - b) ** 2 for a, b in zip(cur, prev)))
        angles.append(2 * math.asin(min(chord / 2, 1.0)))
        t = math.fsum(angles) * side
        d = (a0[0] * math.cos(t) - a0[1] * math.sin(t), a0[0] * math.sin(t) + a0[1] * math.cos(t))
        images.append((c_img[0] + g * d[0], c_img[1] + g * d[1]))
        prev = cur
    return c_img, images


def main():
    cli, limit = sys.argv[1], float(sys.argv[2])
    B, A, L, R, X1, Y1 = (float(v) for v in sys.argv[3:9])
    n = int(sys.argv[9])
    quadrants = [int(q) for q in sys.argv[10].split(",")]
    extra = sys.argv[11:]
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "cut.dxf")
        flags = [1 if q in quadrants else 0 for q in (1, 2, 3, 4)]
        cmd = [cli, "--B", sys.argv[3], "--A", sys.argv[4], "--L", sys.argv[5], "--R", sys.argv[6], "--X1",
               sys.argv[7], "--Y1", sys.argv[8], "--divisions", str(n), "--quadrants",
               ",".join(str(q) for q in (1, 2, 3, 4) if flags[q - 1]), "--dxf", path] + extra
        subprocess.run(cmd, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        doc = ezdxf.readfile(path)
    bends = [(e.dxf.start, e.dxf.end) for e in doc.modelspace().query("LINE[layer=='BEND']")]
    # The bend lines come quadrant by quadrant, corner to arc point 1 .. n+1.
    expected = []
    for q in sorted(quadrants):
        c_img, images = quadrant_fan(B, A, L, R, X1, Y1, n, q)
        expected += [(c_img, p) for p in images]
    if len(bends) != len(expected):
        print(f"{len(bends)} bend lines, {len(expected)} expected")
        return 1
    worst = 0.0
    for (f, t), (ef, et) in zip(bends, expected):
        worst = max(worst, math.hypot(f[0] - ef[0], f[1] - ef[1]), math.hypot(t[0] - et[0], t[1] - et[1]))
    print(f"{worst:.3e}")
    return 0 if worst <= limit else 1


if __name__ == "__main__":
    sys.exit(main())
