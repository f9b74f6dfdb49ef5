#!/usr/bin/env python3
"""Turns hyperfine's JSON into one result row, and rows into the summary.

Row: kind, document, then per command "name=mean_seconds", the peak
resident set sizes in kB in command order, and for documents the size of the
Word HTML the engine writes ("html=bytes"), which bounds our peak memory:
at most 20 times that size plus 30 MB.
"""
import json
import math
import sys


def row(kind, name, path, extra):
    data = json.load(open(path))["results"]
    cells = [f"{r['command']}={r['mean']:.6f}" for r in data]
    mems = [m for m in extra if not m.startswith("html=")]
    html = [h for h in extra if h.startswith("html=")]
    print("\t".join([kind, name] + cells + [f"mem={m}" for m in mems] + html))


def summary(path):
    groups = {}
    for line in open(path):
        parts = line.rstrip("\n").split("\t")
        kind, name = parts[0], parts[1]
        times = dict(p.split("=") for p in parts[2:] if not p.startswith(("mem=", "html=")))
        mems = [p[4:] for p in parts[2:] if p.startswith("mem=")]
        html = [int(p[5:]) for p in parts[2:] if p.startswith("html=")]
        groups.setdefault(kind, []).append((name, {k: float(v) for k, v in times.items()}, mems, html))
    for kind, rows in groups.items():
        ours = "quillpage" if kind == "docx" else "quillpage-revise"
        peers = [k for k in rows[0][1] if k != ours]
        print(f"\n{kind}: time of each peer / time of {ours} (above 1: {ours} is faster)")
        print(f"{'document':44} {ours + ' ms':>14} " + " ".join(f"{p:>12}" for p in peers) + "   peak RSS MB (" + ", ".join([ours] + peers) + ")")
        logs = {p: [] for p in peers}
        for name, t, mems, _ in rows:
            ratios = []
            for p in peers:
                r = t[p] / t[ours]
                logs[p].append(math.log(r))
                ratios.append(f"{r:12.1f}")
            mb = ", ".join(f"{int(m) / 1024:.1f}" if m.isdigit() else m for m in mems)
            print(f"{name[:44]:44} {t[ours] * 1000:14.1f} " + " ".join(ratios) + f"   {mb}")
        print(f"{'geometric mean':44} {'':14} " + " ".join(f"{math.exp(sum(v) / len(v)):12.1f}" for v in logs.values()))
        drawn = [i for i, (name, _, _, _) in enumerate(rows) if name.startswith("drawing_")]
        plain = [i for i in range(len(rows)) if i not in drawn]
        for label, subset in (("documents without drawings", plain), ("documents with drawings", drawn)):
            if drawn and subset:
                print(f"{'geometric mean, ' + label:44} {'':14} " + " ".join(
                    f"{math.exp(sum(v[i] for i in subset) / len(subset)):12.1f}" for v in logs.values()))
        if kind == "docx":
            bounds = []
            for name, _, mems, html in rows:
                if html and html[0] > 0 and mems and mems[0].isdigit():
                    limit_mb = 20 * html[0] / 1048576 + 30
                    bounds.append((int(mems[0]) / 1024 / limit_mb, name, int(mems[0]) / 1024, limit_mb))
            if bounds:
                worst = max(bounds)
                over = [b for b in bounds if b[0] > 1]
                print(f"peak memory: {len(bounds) - len(over)} of {len(bounds)} documents within "
                      f"20 x Word HTML + 30 MB; closest: {worst[1]} {worst[2]:.1f} MB of {worst[3]:.1f} MB")
            scale = {n: t[ours] for n, t, _, _ in rows if n.startswith("generated_")}
            if {"generated_x1.docx", "generated_x8.docx", "generated_x64.docx"} <= scale.keys():
                base = scale["generated_x1.docx"]
                print(f"scaling: 8x content = {scale['generated_x8.docx'] / base:.1f}x time, "
                      f"64x content = {scale['generated_x64.docx'] / base:.1f}x time")


if __name__ == "__main__":
    if sys.argv[1] == "--summary":
        summary(sys.argv[2])
    else:
        row(sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4:])
