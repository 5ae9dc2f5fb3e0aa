#!/usr/bin/env python3
"""Writes COUNT seeded lines "Item NNNNN-XXXXXX" (DIGITS digits) to PATH:
the Code 128 lists of the PDF benchmarks.
   bench/make_list.py PATH COUNT DIGITS"""
import random
import sys

random.seed(7)
path, count, digits = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
with open(path, "w") as f:
    for i in range(count):
        tail = "".join(random.choice("ABCDEFGHJKLMNPQRSTUVWXYZ") for _ in range(6))
        f.write("Item %0*d-%s\n" % (digits, i, tail))
