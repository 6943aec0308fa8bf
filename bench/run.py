#!/usr/bin/env python3
"""Builds the programs and the benchmark tools (Release), generates inputs with a fixed seed,
runs each program on them and prints a table of wall time, throughput and peak memory."""

import os
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BUILD = os.path.join(ROOT, "build-bench")
BIN = os.path.join(BUILD, "bin")
SEED = 20261211
ROUNDS = 5


def build():
    subprocess.run(["cmake", "-S", ROOT, "-B", BUILD, "-DCMAKE_BUILD_TYPE=Release",
                    "-DARRTOOLS_BENCH=ON", "-DARRTOOLS_TESTS=OFF"], check=True,
                   stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", BUILD, "-j2"], check=True, stdout=subprocess.DEVNULL)


def generate(directory, mode, count):
    path = os.path.join(directory, f"{mode}-{count}.txt")
    with open(path, "wb") as out:
        subprocess.run([os.path.join(BIN, "bench_generate"), mode, str(count), str(SEED)],
                       stdout=out, check=True)
    return path


def run_once(argv, input_path, report_fd=None):
    """Wall seconds of one run, stdin from the file, stdout to a pipe."""
    with open(input_path, "rb") as data:
        start = time.perf_counter()
        with subprocess.Popen(argv, stdin=data, stdout=subprocess.PIPE, bufsize=0,
                              pass_fds=() if report_fd is None else (report_fd,)) as process:
            if report_fd is not None:
                os.close(report_fd)
            # Drained into one reused buffer, so that the reading side costs no more than the
            # copy out of the pipe.
            sink = bytearray(1 << 20)
            while process.stdout.readinto(sink):
                pass
            process.wait()
        wall = time.perf_counter() - start
    if process.returncode != 0:
        sys.exit(f"{argv[0]} failed with status {process.returncode}")
    return wall


def peak_rss(argv, input_path):
    """Peak resident memory in KiB of one run, taken by bench_measure."""
    report_read, report_write = os.pipe()
    run_once([os.path.join(BIN, "bench_measure"), str(report_write)] + argv, input_path,
             report_write)
    with os.fdopen(report_read) as report:
        return int(report.read())


def measure(argv, input_path, rounds):
    wall = statistics.median(run_once(argv, input_path) for _ in range(rounds))
    return wall, peak_rss(argv, input_path)


def compute_floor(op, input_path):
    result = subprocess.run([os.path.join(BIN, "bench_compute_floor"), op, input_path,
                             str(ROUNDS)], check=True, capture_output=True, text=True)
    return float(result.stdout)


def arrays_mib(program, count):
    """The arrays a run keeps, in MiB: the inputs and what the operation makes."""
    ints = {"arrmeet": 2 * count + count, "arrjoin": 2 * count + 4 * count,
            "arrflip": count}[program]
    return ints * 4 / 2**20


def main():
    build()
    rows = []
    with tempfile.TemporaryDirectory(prefix="arrtools-bench-") as directory:
        for count in (10_000, 100_000, 1_000_000, 5_000_000):
            path = generate(directory, "two", count)
            size_mb = os.path.getsize(path) / 1e6
            for program, op in (("arrmeet", "meet"), ("arrjoin", "join")):
                wall, rss = measure([os.path.join(BIN, program)], path, ROUNDS)
                floor = compute_floor(op, path)
                rows.append((program, 2 * count, size_mb, wall, rss, arrays_mib(program, count),
                             None, wall / floor))
            if count >= 1_000_000:
                lines = generate(directory, "lines", count)
                wall, rss = measure(["sort", "-n", "-u"], lines, 1)
                rows.append(("sort -n -u", 2 * count, size_mb, wall, rss, None, None, None))
        for count in (10_000, 100_000, 1_000_000, 10_000_000):
            path = generate(directory, "one", count)
            size_mb = os.path.getsize(path) / 1e6
            wall, rss = measure([os.path.join(BIN, "arrflip")], path, ROUNDS)
            plain, plain_rss = measure([os.path.join(BIN, "bench_iostream_flip")], path, 3)
            rows.append(("arrflip", count, size_mb, wall, rss, arrays_mib("arrflip", count),
                         plain / wall, None))
            rows.append(("arrflip iostream", count, size_mb, plain, plain_rss, None, None, None))

    print(f"{'program':<18}{'values':>11}{'input MB':>10}{'wall s':>9}{'MB/s':>9}"
          f"{'peak RSS MiB':>14}{'arrays MiB':>12}{'x iostream':>12}{'x floor':>9}")
    for program, values, size_mb, wall, rss, arrays, vs_iostream, vs_floor in rows:
        def cell(value, width, fmt):
            return f"{'-' if value is None else format(value, fmt):>{width}}"
        print(f"{program:<18}{values:>11}{size_mb:>10.1f}{wall:>9.3f}{size_mb / wall:>9.0f}"
              f"{rss / 1024:>14.1f}{cell(arrays, 12, '.1f')}{cell(vs_iostream, 12, '.1f')}"
              f"{cell(vs_floor, 9, '.2f')}")


if __name__ == "__main__":
    main()
