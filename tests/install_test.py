#!/usr/bin/env python3
"""Installs the build into a temporary prefix and runs the installed programs there."""

import argparse
import os
import subprocess
import sys
import tempfile


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build-dir", required=True)
    args = parser.parse_args()
    with tempfile.TemporaryDirectory(prefix="arrtools-install-") as prefix:
        subprocess.run(["cmake", "--install", args.build_dir, "--prefix", prefix], check=True,
                       stdout=subprocess.DEVNULL)
        for page in ("arrmeet", "arrjoin", "arrflip"):
            path = os.path.join(prefix, "share", "man", "man1", f"{page}.1")
            if not os.path.isfile(path):
                sys.exit(f"missing {path}")
        runs = [
            ("arrmeet", b"4 1 2 2 3\n4 2 2 2 4\n",
             b"Enter the size of the first array: Enter the elements of the first array: "
             b"Enter the size of the second array: Enter the elements of the second array: "
             b"Intersection of the two arrays: 2 \n"),
            ("arrjoin", b"3 3 1 3 2 2 1",
             b"Enter the size of the first array: Enter the elements of the first array: "
             b"Enter the size of the second array: Enter the elements of the second array: "
             b"Union of the two arrays: 1 2 3 \n"),
            ("arrflip", b"4 1 2 3 4",
             b"Enter the size of array: Enter the elements of array: "
             b"Array after get reversed: 4 3 2 1 "),
        ]
        for program, data, expected in runs:
            result = subprocess.run([os.path.join(prefix, "bin", program)], input=data,
                                    capture_output=True, check=False, timeout=60)
            if (result.returncode, result.stdout, result.stderr) != (0, expected, b""):
                sys.exit(f"installed {program}: status {result.returncode}, "
                         f"stdout {result.stdout!r}, stderr {result.stderr!r}")


if __name__ == "__main__":
    main()
