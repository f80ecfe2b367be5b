#!/usr/bin/env python3
"""Mutation testing of the portable core against the native unit tests.

Each mutant is one small change a careless edit could make (a comparison
turned around, a boundary moved by one, a condition negated, a constant
changed, a statement of an if removed) in one line of core/. For each mutant
the unit tests are rebuilt and run: a mutant is killed when a test fails,
survives when every test passes, and is left out when it does not compile.
Prints each survivor and the share of mutants killed.

usage: mutate.py BUILD_DIR [--files GLOB] [--sample N] [--seed S]
BUILD_DIR is a configured native build (scripts/mutation.sh makes one).
The source files are restored however the run ends.
"""
import argparse
import pathlib
import random
import re
import signal
import subprocess
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent

# (pattern, replacement): each match on a line makes one mutant.
OPERATORS = [
    (r"==", "!="), (r"!=", "=="),
    (r"(?<![<>=!])<(?![<=])", "<="), (r"<=", "<"),
    (r"(?<![<>=-])>(?![>=])", ">="), (r">=", ">"),
    (r"&&", "||"), (r"\|\|", "&&"),
    (r"(?<![+])\+(?![+=])", "-"), (r"(?<![-])-(?![->=])", "+"),
    (r"\+\+", "--"), (r"--", "++"),
    (r"\btrue\b", "false"), (r"\bfalse\b", "true"),
    (r"\b0\b", "1"), (r"\b1\b", "0"), (r"\b2\b", "3"),
    (r"if \(!", "if ("), (r"if \((?!!)", "if (!"),
    (r"\bbreak;", ";"), (r"\bcontinue;", ";"),
]
SKIP = re.compile(r"^\s*(//|#|\*|/\*)|static_assert|\bcase\b.*:")


def mutants(path):
    lines = path.read_text(encoding="utf-8").splitlines(keepends=True)
    for number, line in enumerate(lines):
        code = line.split("//")[0]
        if SKIP.search(line) or '"' in code or "'" in code:
            continue
        for pattern, replacement in OPERATORS:
            for match in re.finditer(pattern, code):
                changed = line[:match.start()] + replacement + line[match.end():]
                yield number, "".join(lines[:number] + [changed] + lines[number + 1:]), changed.strip()


def run(build, target="unit_tests"):
    made = subprocess.run(["cmake", "--build", build, "--target", target, "-j2"],
                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    if made.returncode != 0:
        return "invalid"
    tested = subprocess.run([str(pathlib.Path(build) / "tests" / target), "--gtest_brief=1"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)
    return "survived" if tested.returncode == 0 else "killed"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build")
    parser.add_argument("--files", default="core/*.cpp")
    parser.add_argument("--sample", type=int, default=0, help="test only N mutants chosen at random")
    parser.add_argument("--seed", type=int, default=1)
    args = parser.parse_args()

    files = [p for p in sorted(ROOT.glob(args.files)) if p.name != "cp932_tables.cpp"]
    every = [(path, number, text, shown) for path in files for number, text, shown in mutants(path)]
    if args.sample:
        every = random.Random(args.seed).sample(every, min(args.sample, len(every)))
    counts = {"killed": 0, "survived": 0, "invalid": 0}
    originals = {path: path.read_text(encoding="utf-8") for path in files}
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))  # restore below, then end
    try:
        for index, (path, number, text, shown) in enumerate(every, 1):
            path.write_text(text, encoding="utf-8")
            try:
                outcome = run(args.build)
            except subprocess.TimeoutExpired:
                outcome = "killed"  # a test that never ends fails
            path.write_text(originals[path], encoding="utf-8")
            counts[outcome] += 1
            if outcome == "survived":
                print(f"survived {path.relative_to(ROOT)}:{number + 1}: {shown}", flush=True)
            print(f"[{index}/{len(every)}] {outcome}", file=sys.stderr, flush=True)
    finally:
        for path, text in originals.items():
            path.write_text(text, encoding="utf-8")
        run(args.build)
    valid = counts["killed"] + counts["survived"]
    score = 100.0 * counts["killed"] / valid if valid else 0.0
    print(f"mutation: {counts['killed']} killed, {counts['survived']} survived, "
          f"{counts['invalid']} not compiled; score {score:.1f}%")


if __name__ == "__main__":
    main()
