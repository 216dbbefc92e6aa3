#!/usr/bin/env python3
# The plan is the truth: what an install left in $WINEPREFIX (wineserver
# ended) against `tarnvale plan --json`: new files (test inputs aside) with
# their sources' bytes, links (lnkinfo), new REG_SZ values of the plan's keys,
# records of self-recording programs (shell_recorder, shell_entry), and the
# SIZE of the script copy. Prints each difference; exit code 1 then.
#   plan_check.py snapshot > BEFORE
#   plan_check.py compare BEFORE FOLDERS BIN SCRIPT FILES nt|9x [LONWORKS]
#   plan_check.py leftovers BEFORE   files new or gone, HKLM keys changed since
import json, os, re, subprocess, sys

drive_c = os.path.join(os.environ["WINEPREFIX"], "drive_c")


def real(path):  # a C: path on the Linux side, its parts matched ignoring case
    at = drive_c
    for part in filter(None, path[3:].split("\\")):
        names = os.listdir(at) if os.path.isdir(at) else []
        at = os.path.join(at, next((n for n in names if n.lower() == part.lower()), part))
    return os.path.realpath(at)


def files():  # each once: the shell folders may all link to one place
    return sorted({os.path.realpath(os.path.join(root, name))
                   for root, _, names in os.walk(drive_c, followlinks=True) for name in names
                   if not re.match(r"(packages|records|sync)/|.*/temp/", os.path.relpath(root, drive_c).lower() + "/")})


def unescape(text):
    return re.sub(r"\\(x\{[0-9a-fA-F]+\}|.)", lambda m: chr(int(m.group(1)[2:-1], 16))
                  if len(m.group(1)) > 1 else {"n": "\n", "t": "\t"}.get(m.group(1), m.group(1)), text)


def registry():  # REG_SZ values of system.reg: {key: {name: data}}, names in lower case
    values, key = {}, None
    for line in open(os.path.join(os.environ["WINEPREFIX"], "system.reg"), encoding="utf-8", errors="replace"):
        if line.startswith("["):
            key = values.setdefault(unescape(line[1:line.rindex("]")]).lower(), {})
        value = re.match(r'^"((?:[^"\\]|\\.)*)"="(.*)"$', line.rstrip("\n"))
        if key is not None and value:
            key[unescape(value.group(1)).lower()] = unescape(value.group(2))
    return values


def read(path, mode="r"):
    try:
        with open(path, mode) as f:
            return f.read()
    except OSError:
        return None


def compare(before_path, folders, bin_dir, script, files_dir, platform, lonworks=None):
    before = json.loads(read(before_path))
    args = [bin_dir + "/tarnvale", "plan", script, "--files", files_dir, "--platform", platform, "--json"]
    args += [a for folder in read(folders).splitlines() for a in ("--folder", folder)]
    args += ["--lonworks", lonworks] if lonworks else []
    plan = json.loads(subprocess.run(args, check=True, capture_output=True, text=True).stdout)
    sources = {n.lower(): os.path.join(files_dir, n) for n in os.listdir(files_dir)}
    wrong, planned_files, planned_values = [], set(), {}
    for step in plan["steps"]:
        kind, where = step["kind"], "%s %s (line %d): " % (step["kind"], step["origin"], step["line"])
        path = step.get("link") or step.get("target") or step.get("path")
        if kind in ("file", "uninstaller", "script copy", "shortcut", "install log"):
            planned_files.add(real(path))
        # The build stores the Tarnvale uninstaller when the files lack one.
        source = sources.get(step.get("source", "").lower(), bin_dir + "/tarnvale-uninstall.exe" if kind == "uninstaller" else "")
        if kind in ("file", "uninstaller") and read(real(path), "rb") != read(source, "rb"):
            wrong.append(where + path + " does not hold " + step["source"])
        elif kind == "script copy" and not re.search(r"^\s*SIZE\s*=\s*%d\s*$" % plan["size"]["build"],
                                                     read(real(path)) or "", re.M | re.I):
            wrong.append(where + path + " does not hold SIZE=%d" % plan["size"]["build"])
        elif kind == "shortcut":
            info = subprocess.run(["lnkinfo", real(path)], capture_output=True, text=True).stdout
            found = dict(re.findall(r"^\s*(Local path|Working directory)\s*: (.*)$", info, re.M))
            if (found.get("Local path"), found.get("Working directory")) != (step["target"], step["workDir"]):
                wrong.append(where + "%s points to %s" % (path, found))
        elif kind == "folder" and not os.path.isdir(real(path)):
            wrong.append(where + "no folder " + path)
        elif kind in ("run value", "registry value") and "data" in step:
            planned_values.setdefault(step["key"].split("\\", 1)[1].lower(), {})[step["name"].lower()] = step["data"]
        elif kind in ("program", "entry point"):
            program = real(step.get("library") or step["program"])
            if read(program, "rb") != read(bin_dir + ("/shell_entry.dll" if step.get("export") else "/shell_recorder.exe"), "rb"):
                continue  # not a program that records itself
            name = step.get("export") or os.path.basename(program)
            lines = (read(os.path.join(drive_c, "records", name + ".txt")) or "").splitlines()
            # shell_entry.dll's install export is ShellEntry: another name is logged, not called.
            if step.get("export") and name != "ShellEntry":
                wrong += [where + "%s called" % name] if lines else []
                continue
            wanted = [name + " called"] if step.get("export") else \
                ["command=" + step["commandLine"]] + (["cwd=" + step["directory"]] if step["directory"] else [])
            wrong += [where + "no record '%s'" % line for line in wanted if line not in lines]
    new_files = set(files()) - set(before["files"])
    wrong += ["installed but not planned: " + path for path in sorted(new_files - planned_files)]
    wrong += ["planned but not installed: " + path for path in sorted(planned_files - new_files)]
    after = registry()
    for key, values in sorted(planned_values.items()):
        old = before["registry"].get(key, {})
        written = {name: data for name, data in after.get(key, {}).items() if old.get(name) != data}
        if written != values:
            wrong.append("HKLM\\%s: written %s, planned %s" % (key, written, values))
    print("\n".join(wrong))
    return 1 if wrong else 0


def leftovers(before_path):
    before, now = json.loads(read(before_path)), files()
    found = ["new " + p for p in sorted(set(now) - set(before["files"]))]
    found += ["gone " + p for p in sorted(set(before["files"]) - set(now))]
    after = registry()
    found += ["HKLM\\" + k for k in sorted(set(after) | set(before["registry"]))
              if after.get(k) != before["registry"].get(k)]
    print("\n".join(found))


if __name__ == "__main__":
    if sys.argv[1] == "leftovers":
        sys.exit(leftovers(sys.argv[2]))
    if sys.argv[1:] == ["snapshot"]:
        sys.exit(json.dump({"files": files(), "registry": registry()}, sys.stdout))
    sys.exit(compare(*sys.argv[2:]))
