#!/usr/bin/env python3
"""Prints the table of the benchmark targets from the JSON files the benchmark programs wrote
(--benchmark_out_format=json), each named after its program ("bench_first_transfer.json"). Every figure is computed from real (wall-clock) time. A row whose
program or benchmarks did not run says so in place of a figure.

Usage: bench_summary.py RESULT.json...
"""

import json
import os
import sys
from collections import defaultdict

# Seconds per unit of google-benchmark's "time_unit".
UNIT_SECONDS = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}


class Missing(Exception):
    pass


class Results:
    """The iterations of every benchmark, by program name and benchmark name."""

    def __init__(self, files):
        self.runs = defaultdict(lambda: defaultdict(list))
        self.silent = set()  # programs that wrote no results (none matched a filter, or a crash)
        for name in files:
            program = os.path.splitext(os.path.basename(name))[0]
            try:
                with open(name, encoding="utf-8") as stream:
                    document = json.load(stream)
            except (OSError, ValueError):
                self.silent.add(program)
                continue
            for run in document.get("benchmarks", []):
                if run.get("run_type", "iteration") != "iteration" or run.get("error_occurred"):
                    continue
                self.runs[program][run["name"].split("/")[0]].append(run)

    def _runs(self, program, benchmark):
        if program in self.silent:
            raise Missing("%s wrote no results" % program)
        if program not in self.runs:
            raise Missing("%s did not run" % program)
        runs = self.runs[program].get(benchmark)
        if not runs:
            raise Missing("%s has no %s" % (program, benchmark))
        return runs

    def seconds(self, program, benchmark):
        runs = self._runs(program, benchmark)
        return sum(run["real_time"] * UNIT_SECONDS[run.get("time_unit", "ns")] for run in runs) / len(runs)

    def counter(self, program, benchmark, name):
        runs = self._runs(program, benchmark)
        if any(name not in run for run in runs):
            raise Missing("%s reports no %s" % (benchmark, name))
        return sum(run[name] for run in runs) / len(runs)


def change_detection(results, benchmark):
    return results.seconds("bench_change_detection", benchmark)


def first_transfer(results):
    program = "bench_first_transfer"
    allowed = 2 * results.seconds(program, "BareOdbcFetch") + results.counter(program, "FirstTransfer", "double_seconds")
    return results.seconds(program, "FirstTransfer") / allowed


def peak_above_fetch(results):
    program = "bench_change_detection"
    return (results.counter(program, "DetectUnchanged", "peak_bytes_per_row")
            - results.counter(program, "BareOdbcFetch", "peak_bytes_per_row"))


# (what, target, the figure from the results)
TARGETS = [
    ("no-change pass / bare fetch", 1.5,
     lambda r: change_detection(r, "DetectUnchanged") / change_detection(r, "BareOdbcFetch")),
    ("1% change / no-change", 1.1,
     lambda r: change_detection(r, "DetectOnePercentChanged") / change_detection(r, "DetectUnchanged")),
    ("no-change peak bytes per row above bare fetch", 100, peak_above_fetch),
    ("first transfer / (2 x bare fetch + double)", 1.0, first_transfer),
    ("back sync turn / bare fetch", 2,
     lambda r: r.seconds("bench_back_sync", "BackSyncTurn") / r.seconds("bench_back_sync", "BareOdbcFetch")),
]


def rows(results):
    for what, target, figure in TARGETS:
        try:
            value = figure(results)
        except Missing as missing:
            yield what, "-", "<= %g" % target, "not run: %s" % missing
            continue
        yield what, "%.2f" % value, "<= %g" % target, "met" if value <= target else "missed"


def main(files):
    table = [("what", "figure", "target", "met/missed")] + list(rows(Results(files)))
    widths = [max(len(row[column]) for row in table) for column in range(4)]
    print("\nBenchmark targets (real time)\n")
    for number, row in enumerate(table):
        print("  ".join(cell.ljust(width) for cell, width in zip(row, widths)).rstrip())
        if number == 0:
            print("  ".join("-" * width for width in widths))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
