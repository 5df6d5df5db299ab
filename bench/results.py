#!/usr/bin/env python3
"""Turns the benchmarks' JSON (one bench_<name>.json per program, three repetitions, aggregates
only) into bench/RESULTS.md: the machine, a table of medians per program, the targets with their
ratios to the peer or the bound measured in the same run, and the growth of each lock-screen event
with the number of pending items.

Usage: results.py <folder of JSON> [seconds the run took] [the build's CMAKE_BUILD_TYPE] > RESULTS.md
"""

import datetime
import json
import os
import platform
import sys

# The programs in the order they are reported, with their source files.
PROGRAMS = ["bench_msgsend", "bench_host", "bench_apps_hub", "bench_calendar", "bench_weather_plugin",
            "bench_render", "bench_settings", "bench_daemon"]

UNIT_NS = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}
GROWTH = [10, 100, 1000, 10000]


def source_of(program):
    return "bench/" + program[len("bench_"):] + "_bench.cpp"


def short_name(run_name):
    """The benchmark's name without the options Google Benchmark appends."""
    return "/".join(part for part in run_name.split("/")
                    if not part.startswith("iterations:") and part not in ("manual_time", "real_time"))


def load(folder, program):
    """{name: {"median": entry, "cv": entry}} and the context, or None when the program left no
    readable JSON (not built, crashed)."""
    path = os.path.join(folder, program + ".json")
    try:
        with open(path, encoding="utf-8") as f:
            data = json.load(f)
    except (OSError, ValueError):
        return None
    figures = {}
    for entry in data.get("benchmarks", []):
        name = short_name(entry.get("run_name", entry.get("name", "?")))
        slot = figures.setdefault(name, {})
        if entry.get("error_occurred"):
            slot["error"] = entry.get("error_message", "failed")
        elif entry.get("run_type") == "aggregate":
            slot[entry.get("aggregate_name", "?")] = entry
        else:  # a run without repetitions
            slot.setdefault("median", entry)
    return {"context": data.get("context", {}), "figures": figures}


def ns(entry, field="real_time"):
    return float(entry[field]) * UNIT_NS.get(entry.get("time_unit", "ns"), 1.0)


def show_time(nanoseconds):
    if nanoseconds is None:
        return "—"
    for unit, scale in (("s", 1e9), ("ms", 1e6), ("µs", 1e3)):
        if nanoseconds >= scale:
            return f"{nanoseconds / scale:.3g} {unit}"
    return f"{nanoseconds:.3g} ns"


def show_ratio(ratio, digits=2):
    return "—" if ratio is None else f"{ratio:.{digits}f}×"


COUNTER_FIELDS = {"first_log_ms": "first log line {:.2f} ms", "rss_mb": "resident {:.2f} MiB"}


class Results:
    def __init__(self, folder):
        self.programs = {program: load(folder, program) for program in PROGRAMS}

    def slot(self, program, name):
        loaded = self.programs.get(program)
        return loaded["figures"].get(name) if loaded else None

    def median(self, program, name, field="real_time"):
        """The median of a figure in ns (or the counter's own unit), None when not measured."""
        slot = self.slot(program, name)
        if not slot or "median" not in slot:
            return None
        entry = slot["median"]
        if field in COUNTER_FIELDS:
            return float(entry[field]) if field in entry else None
        return ns(entry, field)

    def why_missing(self, program, name):
        loaded = self.programs.get(program)
        if not loaded:
            return f"{program} did not run"
        slot = loaded["figures"].get(name)
        if not slot:
            return f"{name} is not in {program}'s run"
        return slot.get("error", "no median")


def ratio(a, b):
    return a / b if a is not None and b else None


def machine(results, seconds, build_type):
    context = next((p["context"] for p in results.programs.values() if p), {})
    model = "unknown CPU"
    try:
        with open("/proc/cpuinfo", encoding="utf-8") as f:
            model = next((line.split(":", 1)[1].strip() for line in f if line.startswith("model name")), model)
    except OSError:
        pass
    loads = context.get("load_avg") or []
    lines = [
        f"- Date: {datetime.datetime.now().astimezone().strftime('%Y-%m-%d %H:%M %Z')}",
        f"- Machine: {os.cpu_count()} CPUs (nproc), {model}"
        + (f" at {context['mhz_per_cpu']} MHz" if context.get("mhz_per_cpu") else "")
        + f", {platform.system()} {platform.release()}",
        f"- Code measured built as {build_type or 'unknown'} (Google Benchmark's own library reports "
        f"{context.get('library_build_type', 'unknown')}, which does not concern the code measured)",
        "- Load average when the first program started: "
        + (", ".join(f"{x:.2f}" for x in loads) if loads else "unknown"),
    ]
    if seconds:
        lines.append(f"- The whole run (build and benchmarks) took {seconds} s")
    return lines


def program_tables(results):
    out = []
    for program in PROGRAMS:
        out += ["", f"### {program} ({source_of(program)})", ""]
        loaded = results.programs[program]
        if not loaded:
            out.append("Not measured: the program was not built or ended without results.")
            continue
        out += ["| benchmark | median time | median CPU | spread (cv) | figures |", "|---|---|---|---|---|"]
        for name, slot in loaded["figures"].items():
            if "median" not in slot and "error" not in slot:
                continue  # the fitted complexity of a family: its members are listed
            if "median" not in slot:
                out.append(f"| {name} | not measured: {slot.get('error', 'no median')} | | | |")
                continue
            entry = slot["median"]
            cv = slot.get("cv")
            spread = f"{float(cv['real_time']) * 100:.0f}%" if cv else "—"
            counters = ", ".join(text.format(float(entry[key])) for key, text in COUNTER_FIELDS.items() if key in entry)
            out.append(f"| {name} | {show_time(ns(entry))} | {show_time(ns(entry, 'cpu_time'))} | {spread} | {counters} |")
        if program == "bench_msgsend":
            out += peer_table(results)
    return out


def peer_table(results):
    out = ["", "Each send beside its peers in the same run (median time over the peer's):", "",
           "| send | runtime | GNU libobjc | × GNU libobjc | virtual call | × virtual call |",
           "|---|---|---|---|---|---|"]
    virtual = results.median("bench_msgsend", "VirtualCall")
    for name in ("CachedSend", "HookedSend", "TwoObjectSend"):
        mine = results.median("bench_msgsend", name)
        gnu = results.median("bench_msgsend", "Gnu" + name)
        out.append(f"| {name} | {show_time(mine)} | {show_time(gnu)} | {show_ratio(ratio(mine, gnu))} | "
                   f"{show_time(virtual)} | {show_ratio(ratio(mine, virtual))} |")
    return out


def targets(results):
    """(figure, measured text, target text, ratio, met) for every target, in the issue's order."""
    rows = []

    def peer(label, name, bound):
        mine = results.median("bench_msgsend", name)
        gnu = results.median("bench_msgsend", "Gnu" + name)
        r = ratio(mine, gnu)
        measured = (f"{show_time(mine)} vs {show_time(gnu)}" if r is not None
                    else "not measured: " + results.why_missing("bench_msgsend", name if mine is None else "Gnu" + name))
        rows.append((label, measured, f"≤ {bound:.1f}× GNU libobjc's send", r, r is not None and r <= bound))

    def bound(label, program, name, limit, unit, field="real_time", inclusive=False):
        value = results.median(program, name, field)
        scale = 1.0 if field in COUNTER_FIELDS else {"ms": 1e6, "µs": 1e3}[unit]
        limit_in_value = limit * scale
        r = ratio(value, limit_in_value)
        shown = (f"{value / scale:.3g} {unit}" if value is not None else "not measured: " + results.why_missing(program, name))
        met = value is not None and (value <= limit_in_value if inclusive else value < limit_in_value)
        rows.append((label, shown, f"{'≤' if inclusive else '<'} {limit:g} {unit}", r, met))

    peer("Cached send", "CachedSend", 1.0)
    peer("Hooked send", "HookedSend", 1.0)
    peer("Send with two object arguments", "TwoObjectSend", 1.5)
    for event, name in (("Addition", "Addition"), ("Removal", "Removal")):
        for pending in GROWTH:
            bound(f"{event} at {pending:,} pending", "bench_host", f"{name}/{pending}",
                  1.0 if pending == 10000 else 0.2, "ms")
    bound("Layout pass at 100 pending", "bench_host", "LayoutPass/100", 0.1, "ms")
    bound("Calendar page change", "bench_calendar", "PageChange", 2.0, "ms")
    bound("Daemon's first log line after start", "bench_daemon", "DaemonStartUp", 15.0, "ms", "first_log_ms")
    bound("Daemon's resident memory, settled", "bench_daemon", "DaemonStartUp", 9.5, "MiB", "rss_mb", inclusive=True)
    bound("Full 2x frame with three blurred panels", "bench_render", "FrameWithThreeBlurredPanels", 3.0, "ms")
    return rows


def target_table(results):
    rows = targets(results)
    met = sum(1 for row in rows if row[4])
    out = [f"{met} of {len(rows)} targets met. The ratio is the figure over its peer (sends) or over its bound.", "",
           "| figure | measured (median) | target | ratio | |", "|---|---|---|---|---|"]
    for label, measured, target, r, ok in rows:
        out.append(f"| {label} | {measured} | {target} | {show_ratio(r, 3)} | {'met' if ok else '**not met**'} |")
    return out


def growth_table(results):
    out = ["Median time of one event by the number of pending items, and the factor of each tenfold step "
           "(1.00× is flat; 10× grows with every item).", "",
           "| event | 10 | 100 | 1,000 | 10,000 | 10 → 100 | 100 → 1,000 | 1,000 → 10,000 |",
           "|---|---|---|---|---|---|---|---|"]
    for label, program, name in (("Addition (host)", "bench_host", "Addition"),
                                 ("Removal (host)", "bench_host", "Removal"),
                                 ("Addition with the apps hub's badge count", "bench_apps_hub", "BM_AdditionThroughTheHost")):
        times = [results.median(program, f"{name}/{n}") for n in GROWTH]
        steps = [show_ratio(ratio(b, a)) for a, b in zip(times, times[1:])]
        out.append(f"| {label} | " + " | ".join(show_time(t) for t in times) + " | " + " | ".join(steps) + " |")
    return out


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    results = Results(sys.argv[1])
    seconds = sys.argv[2] if len(sys.argv) > 2 else None
    build_type = sys.argv[3] if len(sys.argv) > 3 else None
    lines = ["# Benchmark results", "",
             "Written by `bench/run`: every benchmark program run three times in one run on this machine; "
             "each figure is the median of the three (wall time per iteration unless named otherwise).", ""]
    lines += machine(results, seconds, build_type)
    lines += ["", "## Targets", ""] + target_table(results)
    lines += ["", "## Growth with the number of pending items", ""] + growth_table(results)
    lines += ["", "## Every benchmark"] + program_tables(results)
    print("\n".join(lines))


if __name__ == "__main__":
    main()
