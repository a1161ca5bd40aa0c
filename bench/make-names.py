#!/usr/bin/env python3
"""Prints N display names for the search benchmarks, one a line, the same for the same seed.

Usage: make-names.py N [--seed 3] > names.txt

A name is 2 to 5 syllables drawn from 25, then a number below 97. About one name in 25
begins with a given syllable: a one-letter prefix selects a few per cent of the names,
a four-letter prefix well under one per cent.
"""
import argparse
import random

parser = argparse.ArgumentParser()
parser.add_argument("n", type=int)
parser.add_argument("--seed", type=int, default=3)
args = parser.parse_args()
rng = random.Random(args.seed)
syllables = ["an", "be", "co", "de", "ex", "fi", "go", "ha", "in", "jo", "ka", "lo", "mi",
             "no", "pa", "qu", "ra", "sa", "ti", "un", "vo", "wa", "xe", "yo", "ze"]
names = ("".join(rng.choice(syllables) for _ in range(rng.randint(2, 5))) + str(i % 97)
         for i in range(args.n))
print("\n".join(names))
