#!/usr/bin/env python3
"""check_demo_swatch.py GENERATOR.py DEMO.aco: fails unless DEMO.aco is what GENERATOR writes."""

import runpy
import sys

generator_path, demo_path = sys.argv[1:]
generator = runpy.run_path(generator_path)
with open(demo_path, "rb") as demo:
    if demo.read() != generator["swatch_file"](generator["colours"]()):
        sys.exit(f"{demo_path} differs from what {generator_path} writes; run the generator again")
