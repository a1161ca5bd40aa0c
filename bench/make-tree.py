#!/usr/bin/env python3
"""Makes the benchmarks' folder tree under ROOT, the same for the same seed.

Usage: make-tree.py ROOT [--folders 20000] [--files 200000] [--deep 30] [--seed 7]

One chain of folders --deep levels deep; the other folders hang mostly below one of the
200 made last, otherwise below any. Of the empty files spread over them, about 4 % are
*.exe, 3 % *.lnk, 2 % *.url, the rest *.txt, *.dll and *.doc.
"""
import argparse
import os
import random

parser = argparse.ArgumentParser()
parser.add_argument("root")
parser.add_argument("--folders", type=int, default=20000)
parser.add_argument("--files", type=int, default=200000)
parser.add_argument("--deep", type=int, default=30)
parser.add_argument("--seed", type=int, default=7)
args = parser.parse_args()
rng = random.Random(args.seed)
folders = [args.root]
os.makedirs(args.root, exist_ok=True)
chain = args.root
for level in range(args.deep):
    chain = os.path.join(chain, f"deep{level}")
    os.makedirs(chain, exist_ok=True)
    folders.append(chain)
for i in range(args.folders - args.deep):
    parent = rng.choice(folders[-200:]) if rng.random() < 0.7 else rng.choice(folders)
    folder = os.path.join(parent, f"d{i}")
    os.makedirs(folder, exist_ok=True)
    folders.append(folder)
endings = ([".txt"] * 60 + [".exe"] * 4 + [".lnk"] * 3 + [".url"] * 2 + [".dll"] * 10 +
           [".doc"] * 21)
for i in range(args.files):
    folder = rng.choice(folders)
    open(os.path.join(folder, f"file{i}{rng.choice(endings)}"), "w").close()
print(f"{len(folders)} folders, {args.files} files under {args.root}")
