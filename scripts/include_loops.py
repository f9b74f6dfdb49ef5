#!/usr/bin/env python3
"""Include loops between the project's modules: a module is a header with its
source (draw/chart.h + draw/chart.cpp); a loop is a set of modules that
reach one another through their #include "..." lines.

    scripts/include_loops.py [ROOT]

Prints each loop, or "no include loops among N modules"; exits 1 on a loop.
"""
import os
import re
import sys

root = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), ".."))
folders = ["text", "sys", "draw", "revise", "generate", "app", "ui", "tools"]
include = re.compile(r'^\s*#\s*include\s+"([^"]+)\.h"', re.M)
edges = {}
for folder in folders:
    for dirpath, _, files in os.walk(os.path.join(root, folder)):
        for f in files:
            if not f.endswith((".h", ".cpp")):
                continue
            path = os.path.join(dirpath, f)
            module = os.path.relpath(path, root).rsplit(".", 1)[0]
            with open(path, encoding="utf-8", errors="replace") as fh:
                targets = set(include.findall(fh.read()))
            edges.setdefault(module, set()).update(t for t in targets if t != module)

# Tarjan's strongly connected components, iteratively.
index, low, stack, on, loops, counter = {}, {}, [], set(), [], [0]
for start in edges:
    if start in index:
        continue
    work = [(start, iter(sorted(edges.get(start, ()))))]
    index[start] = low[start] = counter[0]; counter[0] += 1; stack.append(start); on.add(start)
    while work:
        node, children = work[-1]
        for child in children:
            if child not in edges:
                continue
            if child not in index:
                index[child] = low[child] = counter[0]; counter[0] += 1
                stack.append(child); on.add(child)
                work.append((child, iter(sorted(edges[child]))))
                break
            if child in on:
                low[node] = min(low[node], index[child])
        else:
            work.pop()
            if work:
                low[work[-1][0]] = min(low[work[-1][0]], low[node])
            if low[node] == index[node]:
                component = []
                while True:
                    m = stack.pop(); on.discard(m); component.append(m)
                    if m == node:
                        break
                if len(component) > 1:
                    loops.append(sorted(component))
for loop in loops:
    print("include loop: " + " <-> ".join(loop))
if not loops:
    print("no include loops among %d modules" % len(edges))
sys.exit(1 if loops else 0)
