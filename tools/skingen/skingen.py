#!/usr/bin/env python3
"""Writes every skin and test image into assets/bitmap/ (or the folder given).

Each module skins_*.py beside this file has generate(out_dir); output is deterministic, so a rerun
changes nothing unless a module changed. Run from anywhere: python3 tools/skingen/skingen.py
"""
import glob
import importlib
import os
import sys

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, here)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "..", "assets", "bitmap")
    out = os.path.abspath(out)
    for path in sorted(glob.glob(os.path.join(here, "skins_*.py"))):
        name = os.path.splitext(os.path.basename(path))[0]
        importlib.import_module(name).generate(out)
        print("generated", name)


if __name__ == "__main__":
    main()
