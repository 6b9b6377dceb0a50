#!/usr/bin/env python3
"""Checks the #include lines of Plover's C and C++ files against its layout.

Usage: check-includes.py [ROOT]   (default: the repository this script is in)

The files are those git knows of in ROOT (tracked, or new and not ignored),
else every C/C++ file below ROOT outside build/. A file's folder depends on
the folder of each project header it includes ("..." resolved beside the
file, else from ROOT). Three rules, each violation printed:

  (a) no cycle between the subsystem folders common/text, common/tray,
      common/win32, plover/base, plover/controls, plover/versions,
      plover/shell, plover/main and quenlock, where a folder and its own
      win32/ subfolder are two folders (tests/ and bench/ are not checked);
  (b) nothing outside plover/main includes a header of plover/main (tests
      and benchmarks may);
  (c) a logic file (one of plover/, common/ or quenlock/ in no folder named
      win32) includes no header of a win32 folder, and no Windows SDK header
      (<windows.h>, <shellapi.h>, <commctrl.h>, <wrl/client.h>, ...).

Prints the folder graph, then what breaks the rules, then "no cycles" when
there are none. Exits 1 when any rule is broken.
"""
import os
import re
import subprocess
import sys
from collections import defaultdict

SUBSYSTEMS = [
    "common/text", "common/tray", "common/win32", "plover/base", "plover/controls",
    "plover/versions", "plover/shell", "plover/main", "quenlock",
]
LOGIC_ROOTS = ("plover", "common", "quenlock")
MAY_INCLUDE_MAIN = ("tests", "bench")
SUFFIXES = (".c", ".cpp", ".h")
QUOTED = re.compile(r'^\s*#\s*include\s*"([^"]+)"')
ANGLED = re.compile(r"^\s*#\s*include\s*<([^>]+)>")
# The Windows SDK's headers, by name or by their folder (wrl/, ...).
WINDOWS_HEADER = re.compile(
    r"^(win[a-z0-9_]*|minwin[a-z]*|[a-z]+api|commctrl|commdlg|shellapi|shlobj(_core)?|shlwapi|"
    r"shobjidl(_core)?|shtypes|objbase|objidl|ole2|oleauto|olectl|unknwn|tlhelp32|psapi|dwmapi|"
    r"uxtheme|wtsapi32|knownfolders|mmsystem|dbt|versionhelpers|sdkddkver|tchar|rpc[a-z]*|"
    r"wrl|atl[a-z]*|comdef|comip|intsafe|ntstatus|dbghelp|imagehlp|setupapi|wincrypt|iphlpapi|"
    r"ws2tcpip|mswsock|d2d1[a-z_0-9]*|d3d[a-z0-9]*|dxgi[a-z0-9]*|gdiplus[a-z]*)(\.h)?$")


def is_windows_header(name):
    return WINDOWS_HEADER.match(name.lower().split("/")[0]) is not None


def source_files(root):
    try:
        out = subprocess.run(
            ["git", "-C", root, "ls-files", "-z", "--cached", "--others", "--exclude-standard",
             "--", "*.c", "*.cpp", "*.h"],
            check=True, capture_output=True).stdout.decode("utf-8", "replace")
        names = [n for n in out.split("\0") if n]
    except (OSError, subprocess.CalledProcessError):
        names = []
        for d, dirs, files in os.walk(root):
            rel = os.path.relpath(d, root)
            if rel != "." and rel.split(os.sep)[0] in ("build", ".git"):
                dirs[:] = []
                continue
            names += [os.path.join(rel, f) for f in files if f.endswith(SUFFIXES)]
    # Files deleted in the working tree but still known to git are left out.
    return sorted({os.path.normpath(n).replace(os.sep, "/") for n in names
                   if os.path.isfile(os.path.join(root, n))})


def folder_of(path):
    return os.path.dirname(path) or "."


def parts(path):
    return path.split("/")


def below(path, folder):
    return path == folder or path.startswith(folder + "/")


def subsystem_node(folder):
    """The node of rule (a) for a file's folder: a subsystem folder or its
    win32/ subfolder (deeper folders count as the nearest of those), or None."""
    for s in sorted(SUBSYSTEMS, key=len, reverse=True):
        if below(folder, s + "/win32") and s != "common/win32":
            return s + "/win32"
        if below(folder, s):
            # Another subsystem nested below this one was matched first.
            return s
    return None


def in_win32_folder(path):
    return "win32" in parts(folder_of(path))


def is_logic_file(path):
    return parts(path)[0] in LOGIC_ROOTS and not in_win32_folder(path)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    root = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, ".."))
    files = source_files(root)
    known = set(files)

    def resolve(src, target):
        for cand in (os.path.normpath(os.path.join(folder_of(src), target)),
                     os.path.normpath(target)):
            cand = cand.replace(os.sep, "/")
            if cand in known:
                return cand
        return None

    edges = defaultdict(list)  # (from node, to node) -> ["file: header", ...]
    broken = []
    for f in files:
        try:
            with open(os.path.join(root, f), encoding="utf-8", errors="replace") as stream:
                lines = stream.read().splitlines()
        except OSError as e:
            broken.append(f"{f}: cannot be read ({e.strerror})")
            continue
        logic = is_logic_file(f)
        node = subsystem_node(folder_of(f))
        for number, line in enumerate(lines, 1):
            where = f"{f}:{number}"
            angled = ANGLED.match(line)
            if angled:
                if logic and is_windows_header(angled.group(1)):
                    broken.append(f"(c) {where}: a logic file includes <{angled.group(1)}>")
                continue
            quoted = QUOTED.match(line)
            if not quoted:
                continue
            header = resolve(f, quoted.group(1))
            if header is None:
                if logic and is_windows_header(quoted.group(1)):
                    broken.append(f'(c) {where}: a logic file includes "{quoted.group(1)}"')
                continue  # not a file of the project
            if below(header, "plover/main") and not below(f, "plover/main") and \
                    parts(f)[0] not in MAY_INCLUDE_MAIN:
                broken.append(f"(b) {where}: includes {header} of plover/main")
            if logic and in_win32_folder(header):
                broken.append(f"(c) {where}: a logic file includes {header} of a win32 folder")
            target = subsystem_node(folder_of(header))
            if node and target and target != node:
                edges[(node, target)].append(f"{where}: {header}")

    print("folders (an edge A -> B (n): n #include lines of A's files name a header of B):")
    graph = defaultdict(set)
    for (a, b), why in sorted(edges.items()):
        graph[a].add(b)
        print(f"  {a} -> {b} ({len(why)})")

    # Strongly connected components (Tarjan); one of more than one folder is a cycle.
    index, low, stack, on, comps = {}, {}, [], set(), []

    def visit(v):
        index[v] = low[v] = len(index)
        stack.append(v)
        on.add(v)
        for w in sorted(graph[v]):
            if w not in index:
                visit(w)
                low[v] = min(low[v], low[w])
            elif w in on:
                low[v] = min(low[v], index[w])
        if low[v] == index[v]:
            comp = []
            while True:
                w = stack.pop()
                on.discard(w)
                comp.append(w)
                if w == v:
                    break
            if len(comp) > 1:
                comps.append(sorted(comp))

    for v in sorted(graph):
        if v not in index:
            visit(v)
    for comp in comps:
        broken.append("(a) these folders include each other in a circle: " + ", ".join(comp))
        for a in comp:
            for b in sorted(graph[a] & set(comp)):
                for why in edges[(a, b)]:
                    broken.append(f"      {a} -> {b}: {why}")

    for line in broken:
        print(line)
    if not comps:
        print("no cycles")
    rules = sum(1 for line in broken if line.startswith("("))
    if broken:
        print(f"check-includes: {rules} violation(s)", file=sys.stderr)
        return 1
    print("check-includes: the include rules hold")
    return 0


if __name__ == "__main__":
    sys.exit(main())
