#!/usr/bin/env python3
"""The three programs end to end: exact bytes on stdout, the exit status and stderr."""

import argparse
import os
import pty
import resource
import select
import subprocess
import sys
import time
import unittest

BIN_DIR = ""
WRAPPER = []  # a command the programs run under, such as valgrind
SANITIZED = False  # built with sanitizers, which reserve address space and shadow memory

TWO_PROMPTS = ("Enter the size of the first array: Enter the elements of the first array: "
               "Enter the size of the second array: Enter the elements of the second array: ")
FLIP_PROMPTS = "Enter the size of array: Enter the elements of array: "
MEET = "Intersection of the two arrays: "
JOIN = "Union of the two arrays: "
FLIP = "Array after get reversed: "
P1 = "Enter the size of the first array: "
P2 = P1 + "Enter the elements of the first array: "
P3 = P2 + "Enter the size of the second array: "
P4 = TWO_PROMPTS
F1 = "Enter the size of array: "


def command(program, *args):
    return WRAPPER + [os.path.join(BIN_DIR, program), *args]


def run(program, data, *args, **kwargs):
    return subprocess.run(command(program, *args), input=data, capture_output=True,
                          timeout=120, check=False, **kwargs)


# program, input, expected stdout
VALID = [
    ("arrmeet", b"4 1 2 2 3\n4 2 2 2 4\n", TWO_PROMPTS + MEET + "2 \n"),
    ("arrmeet", b"2 -5 3 2 -5 -1", TWO_PROMPTS + MEET + "-5 \n"),
    ("arrmeet", b"0 0", TWO_PROMPTS + MEET + "\n"),
    ("arrmeet", b"3 1 2 3 0", TWO_PROMPTS + MEET + "\n"),
    ("arrmeet", b"3 9 1 5\n3 5 9 2\n", TWO_PROMPTS + MEET + "5 9 \n"),
    ("arrmeet", b"3\n9\n1\n5\n3\n5\n9\n2", TWO_PROMPTS + MEET + "5 9 \n"),
    ("arrmeet", b"1 5 1 5 hello", TWO_PROMPTS + MEET + "5 \n"),
    ("arrmeet", b"1 5 1 5 99999999999999 abc", TWO_PROMPTS + MEET + "5 \n"),
    ("arrmeet", b"2 2147483647 -2147483648 2 -2147483648 2147483647",
     TWO_PROMPTS + MEET + "-2147483648 2147483647 \n"),
    ("arrmeet", b"\t+3\r\n007\v-0\f0003 1 7", TWO_PROMPTS + MEET + "7 \n"),
    ("arrmeet", b"1 " + b"0" * 70000 + b"42 1 42", TWO_PROMPTS + MEET + "42 \n"),
    ("arrjoin", b"3 3 1 3 2 2 1", TWO_PROMPTS + JOIN + "1 2 3 \n"),
    ("arrjoin", b"0 0", TWO_PROMPTS + JOIN + "\n"),
    ("arrjoin", b"0 3 5 -1 5", TWO_PROMPTS + JOIN + "-1 5 \n"),
    ("arrjoin", b"2 4 -4 2 0 4 tail", TWO_PROMPTS + JOIN + "-4 0 4 \n"),
    ("arrflip", b"4 1 2 3 4", FLIP_PROMPTS + FLIP + "4 3 2 1 "),
    ("arrflip", b"3 1 2 3\n", FLIP_PROMPTS + FLIP + "3 2 1 "),
    ("arrflip", b"0", FLIP_PROMPTS + FLIP),
    ("arrflip", b"1 -7 8 9", FLIP_PROMPTS + FLIP + "-7 "),
    ("arrflip", b"1 1e5", FLIP_PROMPTS + FLIP + "1 "),
]

# program, input, expected stdout, expected stderr
INVALID = [
    ("arrmeet", b"abc", P1, 'arrmeet: size of the first array: expected an integer, found "abc"\n'),
    ("arrmeet", b"-", P1, 'arrmeet: size of the first array: expected an integer, found "-"\n'),
    ("arrmeet", b"+-5", P1, 'arrmeet: size of the first array: expected an integer, found "+-5"\n'),
    ("arrmeet", b"- 5", P1, 'arrmeet: size of the first array: expected an integer, found "-"\n'),
    ("arrmeet", b"", P1, "arrmeet: size of the first array: end of input, no size given\n"),
    ("arrmeet", b"-3 1 2", P1, "arrmeet: size of the first array: found -3, a size cannot be negative\n"),
    ("arrmeet", b"2147483648", P1, 'arrmeet: size of the first array: found "2147483648", '
     "outside the 32-bit range -2147483648 to 2147483647\n"),
    ("arrmeet", b"1 2 " + b"9" * 100, P3, 'arrmeet: size of the second array: found "'
     + "9" * 40 + '...", outside the 32-bit range -2147483648 to 2147483647\n'),
    ("arrmeet", b"2 1 -2147483649", P2, 'arrmeet: element 2 of the first array: found '
     '"-2147483649", outside the 32-bit range -2147483648 to 2147483647\n'),
    ("arrmeet", b"3 1 2", P2, "arrmeet: element 3 of the first array: end of input after 2 of 3 values\n"),
    ("arrmeet", b"1 1 2 5 x", P4, 'arrmeet: element 2 of the second array: expected an integer, found "x"\n'),
    ("arrmeet", b"1 1", P3, "arrmeet: size of the second array: end of input, no size given\n"),
    ("arrmeet", b"2000000000 1 2 3", P2,
     "arrmeet: element 4 of the first array: end of input after 3 of 2000000000 values\n"),
    ("arrjoin", b"2 1 1e5", P3, 'arrjoin: size of the second array: expected an integer, found "e5"\n'),
    ("arrjoin", b"1 7 1 \x01\xff\"\\", P4, "arrjoin: element 1 of the second array: expected an "
     'integer, found "\\x01\\xFF\\"\\\\"\n'),
    ("arrjoin", b"1 7 1 " + b"z" * 100, P4, "arrjoin: element 1 of the second array: expected an "
     'integer, found "' + "z" * 40 + '..."\n'),
    ("arrflip", b"2 1e5", FLIP_PROMPTS, 'arrflip: element 2 of the array: expected an integer, found "e5"\n'),
    ("arrflip", b"-1", F1, "arrflip: size of the array: found -1, a size cannot be negative\n"),
    ("arrflip", b"5 1 2", FLIP_PROMPTS, "arrflip: element 3 of the array: end of input after 2 of 5 values\n"),
    ("arrflip", b"3.5", FLIP_PROMPTS, 'arrflip: element 1 of the array: expected an integer, found ".5"\n'),
]


class ValidRuns(unittest.TestCase):
    def test_exact_output(self):
        for program, data, expected in VALID:
            with self.subTest(program=program, input=data[:60]):
                result = run(program, data)
                self.assertEqual(result.stdout.decode(), expected)
                self.assertEqual(result.stderr, b"")
                self.assertEqual(result.returncode, 0)

    def test_arguments_are_ignored(self):
        result = run("arrflip", b"2 1 2", "--help", "-x", "file")
        self.assertEqual((result.returncode, result.stdout.decode()),
                         (0, FLIP_PROMPTS + FLIP + "2 1 "))

    def test_many_values_match_a_model(self):
        values_a = [(i * 7919) % 20011 - 10000 for i in range(30000)]
        values_b = [(i * 104729) % 30011 - 15000 for i in range(20000)]
        text = " ".join(map(str, [len(values_a), *values_a, len(values_b), *values_b])).encode()
        common = sorted(set(values_a) & set(values_b))
        either = sorted(set(values_a) | set(values_b))
        self.assertEqual(run("arrmeet", text).stdout.decode(),
                         TWO_PROMPTS + MEET + "".join(f"{v} " for v in common) + "\n")
        self.assertEqual(run("arrjoin", text).stdout.decode(),
                         TWO_PROMPTS + JOIN + "".join(f"{v} " for v in either) + "\n")
        flip_text = " ".join(map(str, [len(values_a), *values_a])).encode()
        self.assertEqual(run("arrflip", flip_text).stdout.decode(),
                         FLIP_PROMPTS + FLIP + "".join(f"{v} " for v in reversed(values_a)))


class InvalidInput(unittest.TestCase):
    def test_each_error_ends_the_run_with_one_line(self):
        for program, data, expected_out, expected_err in INVALID:
            with self.subTest(program=program, input=data[:60]):
                result = run(program, data)
                self.assertEqual(result.stdout.decode(), expected_out)
                self.assertEqual(result.stderr.decode(errors="replace"), expected_err)
                self.assertEqual(result.returncode, 1)


def feed_slowly(program, data, close_at_end=True):
    """Runs `program` with `data` written one byte at a time through a pipe."""
    with subprocess.Popen(command(program), stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                          stderr=subprocess.PIPE) as process:
        for byte in data:
            process.stdin.write(bytes([byte]))
            process.stdin.flush()
            time.sleep(0.002)
        if close_at_end:
            process.stdin.close()
        out, err = process.stdout.read(), process.stderr.read()
        return process.wait(timeout=60), out, err


class PipedInput(unittest.TestCase):
    def test_one_byte_at_a_time_gives_what_a_file_gives(self):
        for program, data in [("arrmeet", b"4 1 2 2 3\n4 2 2 2 4\n"), ("arrjoin", b"2 -10 0042 1 7"),
                              ("arrflip", b"3 100 -200 300"), ("arrmeet", b"2 1 12x")]:
            with self.subTest(program=program, input=data):
                whole = run(program, data)
                self.assertEqual(feed_slowly(program, data),
                                 (whole.returncode, whole.stdout, whole.stderr))

    def test_no_input_beyond_the_last_value_is_waited_for(self):
        # stdin stays open: a program that waited for more would never finish.
        for program, data, expected in [("arrmeet", b"1 5 1 5 ", TWO_PROMPTS + MEET + "5 \n"),
                                        ("arrflip", b"2 1 2\n", FLIP_PROMPTS + FLIP + "2 1 ")]:
            with self.subTest(program=program):
                status, out, _ = feed_slowly(program, data, close_at_end=False)
                self.assertEqual((status, out.decode()), (0, expected))


class Terminal(unittest.TestCase):
    """A person at a terminal: each prompt is on the screen before anything is typed."""

    def setUp(self):
        if WRAPPER:
            self.skipTest("run directly only")

    def converse(self, program, lines):
        pid, fd = pty.fork()
        if pid == 0:
            os.execv(os.path.join(BIN_DIR, program), [program])
        screen = b""
        try:
            for prompt, typed in lines:
                deadline = time.monotonic() + 10
                while not screen.endswith(prompt.encode()) and time.monotonic() < deadline:
                    ready, _, _ = select.select([fd], [], [], 0.1)
                    if ready:
                        screen += os.read(fd, 4096)
                self.assertTrue(screen.endswith(prompt.encode()), screen)
                os.write(fd, typed)
            while True:
                ready, _, _ = select.select([fd], [], [], 5)
                if not ready:
                    break
                try:
                    chunk = os.read(fd, 4096)
                except OSError:
                    break
                if not chunk:
                    break
                screen += chunk
        finally:
            _, status = os.waitpid(pid, 0)
            os.close(fd)
        return os.waitstatus_to_exitcode(status), screen.decode()

    def test_prompts_come_before_each_line_is_typed(self):
        status, screen = self.converse("arrmeet", [
            ("Enter the size of the first array: ", b"3\n"),
            ("Enter the elements of the first array: ", b"1 2 3\n"),
            ("Enter the size of the second array: ", b"2\n"),
            ("Enter the elements of the second array: ", b"3 1\n")])
        self.assertEqual(status, 0)
        self.assertTrue(screen.endswith("Intersection of the two arrays: 1 3 \r\n"), screen)

    def test_an_error_after_a_prompt_starts_a_line_of_its_own(self):
        status, screen = self.converse("arrflip", [("Enter the size of array: ", b"\x04")])
        self.assertEqual(status, 1)
        self.assertIn("Enter the size of array: \r\narrflip: size of the array: end of input",
                      screen)

    def test_an_error_after_a_typed_line_does_not_add_a_blank_line(self):
        status, screen = self.converse("arrflip", [("Enter the size of array: ", b"x\n")])
        self.assertEqual(status, 1)
        self.assertIn('x\r\narrflip: size of the array: expected an integer, found "x"', screen)


def run_with_fds(program, data, stdin, stdout, limit=None):
    """Runs `program` with the given stdin and stdout (None: closed)."""
    def prepare():
        if stdin is None:
            os.close(0)
        if stdout is None:
            os.close(1)
        if limit is not None:
            resource.setrlimit(resource.RLIMIT_AS, (limit, limit))
    with subprocess.Popen(command(program),
                          stdin=stdin if stdin is not None else subprocess.DEVNULL,
                          stdout=stdout if stdout is not None else subprocess.DEVNULL,
                          stderr=subprocess.PIPE, preexec_fn=prepare, bufsize=0) as process:
        if data is not None and stdin == subprocess.PIPE:
            try:
                process.stdin.write(data)
                process.stdin.close()
            except BrokenPipeError:
                pass  # a program whose output failed may end before it reads its input
        err = process.stderr.read()
        return process.wait(timeout=120), err.decode()


class Faults(unittest.TestCase):
    def test_a_full_disk_is_an_error(self):
        with open("/dev/full", "wb") as full:
            for program, data in [("arrmeet", b"1 5 1 5"), ("arrflip", b"2 1 2"), ("arrflip", b"0")]:
                with self.subTest(program=program):
                    status, err = run_with_fds(program, data, subprocess.PIPE, full)
                    self.assertEqual(status, 1)
                    self.assertEqual(err, f"{program}: cannot write standard output: "
                                          "No space left on device\n")

    def test_a_closed_stdout_is_an_error(self):
        status, err = run_with_fds("arrjoin", b"1 5 1 6", subprocess.PIPE, None)
        self.assertEqual((status, err), (1, "arrjoin: cannot write standard output: "
                                            "Bad file descriptor\n"))

    def test_a_closed_stdin_is_an_error(self):
        status, err = run_with_fds("arrflip", None, None, subprocess.DEVNULL)
        self.assertEqual((status, err), (1, "arrflip: size of the array: cannot read standard "
                                            "input: Bad file descriptor\n"))

    def test_arrays_beyond_the_memory_limit_are_an_error(self):
        if WRAPPER or SANITIZED:
            self.skipTest("a wrapper or a sanitizer needs memory of its own")
        limit = 256 << 20
        for program, data, message in [
                ("arrflip", b"1000000000 1 2", "arrflip: the array of 1000000000 values: out of memory\n"),
                ("arrmeet", b"1 1 500000000 1", "arrmeet: the second array of 500000000 values: "
                                                "out of memory\n")]:
            with self.subTest(program=program):
                status, err = run_with_fds(program, data, subprocess.PIPE, subprocess.DEVNULL, limit)
                self.assertEqual((status, err), (1, message))

    def test_a_count_larger_than_the_input_costs_only_the_input(self):
        if WRAPPER or SANITIZED:
            self.skipTest("a wrapper's or a sanitizer's own memory hides the program's")
        status, err, peak = run_measured("arrmeet", b"2000000000 1 2 3")
        self.assertEqual(status, 1)
        self.assertIn(b"end of input after 3 of 2000000000 values", err)
        # The peak includes the pages of this script that the child had before exec.
        _, _, baseline = run_measured("arrmeet", b"0 0")
        self.assertLess(peak - baseline, 8 * 1024)  # KiB


def run_measured(program, data):
    """Runs `program` on `data`: its exit status, stderr and peak resident memory in KiB."""
    with subprocess.Popen(command(program), stdin=subprocess.PIPE, stdout=subprocess.DEVNULL,
                          stderr=subprocess.PIPE) as process:
        process.stdin.write(data)
        process.stdin.close()
        err = process.stderr.read()
        _, status, usage = os.wait4(process.pid, 0)
        process.returncode = os.waitstatus_to_exitcode(status)
    return process.returncode, err, usage.ru_maxrss


def main():
    global BIN_DIR, WRAPPER, SANITIZED
    parser = argparse.ArgumentParser()
    parser.add_argument("--bin-dir", required=True)
    parser.add_argument("--memcheck", action="store_true",
                        help="run the programs under valgrind's memcheck")
    parser.add_argument("--sanitized", action="store_true",
                        help="the programs are built with sanitizers")
    args, rest = parser.parse_known_args()
    BIN_DIR = args.bin_dir
    SANITIZED = args.sanitized
    if args.memcheck:
        WRAPPER = ["valgrind", "--quiet", "--error-exitcode=99", "--leak-check=full",
                   "--show-leak-kinds=all", "--errors-for-leak-kinds=all"]
    unittest.main(argv=[sys.argv[0], *rest], verbosity=1)


if __name__ == "__main__":
    main()
