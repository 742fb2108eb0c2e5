#!/usr/bin/env python3
"""Checks who may include whom (docs/architecture.md), from the #include "..." lines alone.

The engine (core, console, scene) and foundation reach the platform only through the SDK headers of
platform/include, written <d3d9.h>; platform/native and platform/headless build on platform/common;
common knows neither realization nor the engine, and its rooms only include rooms below them.
Usage: check_includes.py <source root>. Prints each broken rule and exits 1 if there is one."""
import os
import re
import sys

COMMON_ROOMS = ["text", "d3d9", "win32", "image", "mesh", "d3dx", "effect"]  # lowest first
ENGINE = {"core", "console", "scene"}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def allowed(path, target):
    top = path.split("/")[0]
    head = target.split("/")[0]
    if top in ENGINE or top == "foundation":
        return head not in {"common", "native", "headless", "platform"} and not (top == "foundation" and head in ENGINE)
    if path.startswith("platform/"):
        if head in ENGINE:
            return False
        part = path.split("/")[1]
        if part == "common":
            if head in {"native", "headless"}:
                return False
            if head == "common" and "/" in target[len("common/"):]:
                mine = path.split("/")[2]
                theirs = target.split("/")[1]
                if mine in COMMON_ROOMS and theirs in COMMON_ROOMS:
                    return COMMON_ROOMS.index(theirs) <= COMMON_ROOMS.index(mine)
                return False
        if part == "include":
            return head not in {"common", "native", "headless"}
    return True


def main(root):
    broken = []
    for folder in sorted(ENGINE | {"foundation", "platform"}):
        for dirpath, _, files in os.walk(os.path.join(root, folder)):
            for name in files:
                if not name.endswith((".h", ".cpp", ".c")):
                    continue
                full = os.path.join(dirpath, name)
                path = os.path.relpath(full, root).replace(os.sep, "/")
                with open(full, encoding="utf-8", errors="replace") as f:
                    for target in INCLUDE.findall(f.read()):
                        if not allowed(path, target):
                            broken.append(f"{path}: may not include \"{target}\"")
    for line in broken:
        print(line)
    return 1 if broken else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else "."))
