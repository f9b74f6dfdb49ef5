#!/usr/bin/env python3
"""Turns hyperfine's JSON into one result row, and rows into the summary.

Row: kind, document, then per command "name=mean_seconds" and the peak
resident set sizes in kB in command order.
"""
import json
import math
import sys


def row(kind, name, path, mems):
    data = json.load(open(path))["results"]
    cells = [f"{r['command']}={r['mean']:.6f}" for r in data]
    print("\t".join([kind, name] + cells + [f"mem={m}" for m in mems]))


def summary(path):
    groups = {}
    for line in open(path):
        parts = line.rstrip("\n").split("\t")
        kind, name = parts[0], parts[1]
        times = dict(p.split("=") for p in parts[2:] if not p.startswith("mem="))
        mems = [p[4:] for p in parts[2:] if p.startswith("mem=")]
        groups.setdefault(kind, []).append((name, {k: float(v) for k, v in times.items()}, mems))
    for kind, rows in groups.items():
        ours = "quillpage" if kind == "docx" else "quillpage-revise"
        peers = [k for k in rows[0][1] if k != ours]
        print(f"\n{kind}: time of each peer / time of {ours} (above 1: {ours} is faster)")
        print(f"{'document':44} {ours + ' ms':>14} " + " ".join(f"{p:>12}" for p in peers) + "   peak RSS MB (" + ", ".join([ours] + peers) + ")")
        logs = {p: [] for p in peers}
        for name, t, mems in rows:
            ratios = []
            for p in peers:
                r = t[p] / t[ours]
                logs[p].append(math.log(r))
                ratios.append(f"{r:12.1f}")
            mb = ", ".join(f"{int(m) / 1024:.1f}" if m.isdigit() else m for m in mems)
            print(f"{name[:44]:44} {t[ours] * 1000:14.1f} " + " ".join(ratios) + f"   {mb}")
        print(f"{'geometric mean':44} {'':14} " + " ".join(f"{math.exp(sum(v) / len(v)):12.1f}" for v in logs.values()))
        if kind == "docx":
            scale = {n: t[ours] for n, t, _ in rows if n.startswith("generated_")}
            if {"generated_x1.docx", "generated_x8.docx", "generated_x64.docx"} <= scale.keys():
                base = scale["generated_x1.docx"]
                print(f"scaling: 8x content = {scale['generated_x8.docx'] / base:.1f}x time, "
                      f"64x content = {scale['generated_x64.docx'] / base:.1f}x time")


if __name__ == "__main__":
    if sys.argv[1] == "--summary":
        summary(sys.argv[2])
    else:
        row(sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4:])
