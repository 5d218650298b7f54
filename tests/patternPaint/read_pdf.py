#!/usr/bin/python3
"""Reads a PDF with poppler's tools, independently of the program that wrote
it, and prints per page as JSON: the page size in millimetres, the number of
embedded images, the dashed lines' lengths and ends in millimetres, the
distance between the outer 10-mm ticks of every check ruler, and the words
with their boxes; with a second argument N, only the first N pages."""
import html
import json
import re
import subprocess
import sys
import tempfile

MM_PER_PT = 25.4 / 72


def page_sizes(path, limit):
    """The page count and the sizes in millimetres of the first `limit` pages
    (all with None), from one pdfinfo run: it stops at the last page."""
    last = str(limit) if limit else "999999"
    info = subprocess.run(["pdfinfo", "-f", "1", "-l", last, path], capture_output=True, text=True, check=True).stdout
    count = int(re.search(r"^Pages:\s+(\d+)", info, re.M).group(1))
    sizes = [(float(w) * MM_PER_PT, float(h) * MM_PER_PT)
             for w, h in re.findall(r"^Page\s+\d+ size:\s+([\d.]+) x ([\d.]+) pts", info, re.M)]
    return count, sizes


def images(path):
    listing = subprocess.run(["pdfimages", "-list", path], capture_output=True, text=True, check=True).stdout
    return max(0, len(listing.strip().splitlines()) - 2)


def lines(path, page):
    """Every straight two-point path of the page, in millimetres, with its style."""
    with tempfile.NamedTemporaryFile(suffix=".svg") as svg:
        subprocess.run(["pdftocairo", "-svg", "-f", str(page), "-l", str(page), path, svg.name], check=True)
        text = open(svg.name, encoding="utf-8").read()
    found = []
    for m in re.finditer(r'<path style="([^"]*)" d="M ([-\d.]+) ([-\d.]+) L ([-\d.]+) ([-\d.]+) "'
                         r'(?: transform="matrix\(([^)]*)\)")?', text):
        style = m.group(1)
        x1, y1, x2, y2 = (float(m.group(i)) for i in range(2, 6))
        a, b, c, d, e, f = (float(v) for v in m.group(6).split(",")) if m.group(6) else (1, 0, 0, 1, 0, 0)
        p = (a * x1 + c * y1 + e, b * x1 + d * y1 + f)
        q = (a * x2 + c * y2 + e, b * x2 + d * y2 + f)
        found.append({"dashed": "dasharray" in style,
                      "from": [p[0] * MM_PER_PT, p[1] * MM_PER_PT], "to": [q[0] * MM_PER_PT, q[1] * MM_PER_PT]})
    return found


def words(path, last):
    """Every word of the first `last` pages, page by page, with its box."""
    text = subprocess.run(["pdftotext", "-bbox", "-l", str(last), path, "-"], capture_output=True, text=True,
                          check=True).stdout
    word = re.compile(r'<word xMin="(\S+)" yMin="(\S+)" xMax="(\S+)" yMax="(\S+)">([^<]*)</word>')
    return [[[html.unescape(m[4])] + [float(v) * MM_PER_PT for v in m[:4]] for m in word.findall(page)]
            for page in text.split("<page ")[1:]]


def ruler_spans(segments):
    """The check rulers: the 4 mm ticks every 10 mm standing on one base line."""
    ticks = {}
    for s in segments:
        (x1, y1), (x2, y2) = s["from"], s["to"]
        if not s["dashed"] and abs(x1 - x2) < 1e-6 and abs(abs(y1 - y2) - 4) < 0.01:
            ticks.setdefault(round(max(y1, y2), 3), []).append(x1)
    return [max(xs) - min(xs) for xs in ticks.values() if len(xs) == 11]


def main(path, limit=None):
    count, sizes = page_sizes(path, limit)
    last = min(count, int(limit)) if limit else count
    text = words(path, last)
    result = {"images": images(path), "pageCount": count, "pages": []}
    for page in range(1, last + 1):
        width, height = sizes[page - 1]
        segments = lines(path, page)
        result["pages"].append({
            "words": text[page - 1],
            "dashedEnds": [s["from"] + s["to"] for s in segments if s["dashed"]],
            "widthMm": width, "heightMm": height,
            "dashed": [((s["from"][0] - s["to"][0]) ** 2 + (s["from"][1] - s["to"][1]) ** 2) ** 0.5
                       for s in segments if s["dashed"]],
            "rulers": ruler_spans(segments),
        })
    json.dump(result, sys.stdout)


if __name__ == "__main__":
    main(*sys.argv[1:])
