#!/usr/bin/env python3
"""Checks that every layer includes only itself and the layers below it.

    core/   the portable core: its own headers and the C++ standard library
            (headers without an extension), never the system's
    win32/  the system's wrappers and the editor control: core/ and win32/
    app/    the program: core/, win32/ and app/

usage: check_layers.py [SOURCE_DIR]; prints each offending line and exits 1
when there is one.
"""
import pathlib
import re
import sys

ALLOWED = {
    "core": ("core/",),
    "win32": ("core/", "win32/"),
    "app": ("core/", "win32/", "app/"),
}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def offences(root):
    for layer, allowed in ALLOWED.items():
        for path in sorted((root / layer).rglob("*")):
            if path.suffix not in (".h", ".cpp"):
                continue
            for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
                match = INCLUDE.match(line)
                if not match:
                    continue
                quote, name = match.groups()
                where = f"{path.relative_to(root)}:{number}: {line.strip()}"
                if quote == '"':
                    if not name.startswith(allowed):
                        yield f"{where}: {layer}/ may include only {', '.join(allowed)}"
                elif layer == "core" and "." in name:
                    yield f"{where}: core/ may include only the standard library"


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".").resolve()
    found = list(offences(root))
    for line in found:
        print(line)
    print(f"check_layers: {len(found)} backward include(s)")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
