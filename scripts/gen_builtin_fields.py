#!/usr/bin/env python3
"""Generates src/catalog/builtin_fields.cpp, the table of the 593 built-in fields.

Input: scripts/builtin_fields.txt, a transcription of the built-in fields. Each
catalog section lists its fields grouped by value type, each type in field-id
order, one field a line ("type<TAB>key<TAB>caption"), followed by the value
classes, the initial availability and the workbook columns.

The transcription does not say how the value types interleave. The ids follow
the column groups of the column chooser: each catalog runs through its groups
one after the other (costs, dates, durations, earned value, general, counts,
percent completes, units ...), and inside a group the fields are sorted
alphabetically by caption, ignoring case, whatever their value type (so
"Primary on Current Project" comes before "Primary Role"). The PLANS below write
down that group sequence per catalog; a group takes the next N fields of each
named type and merges them by caption, which keeps every type's own order.
The ids that other parts of the program rely on (detail views, grouping,
joined lists, workbook columns) are checked at the end.

Choices the data leaves open, taken here:
- Activity catalog: the one date that follows the date group ("Actual
  Progress Date") comes right after it, before the durations, as the initial
  availability list (kept in id order) shows. The groups between the dates
  and the general group (84 to 129) are then one field longer than those ids
  allow; the last duration ("Variance BL1 Start Date") is the one that
  can move without breaking any type's order, and it sits at 212, right after
  the units, where it continues the alphabetical run ("Variance BL1 Nonlabor
  Units", "Variance BL1 Start Date"). The steps group opens the catalog.
- The initial availability lists, the lists of fields without a workbook
  column and the value-class lists run in id order wherever the pinned WBS
  fields are not involved, which confirms the group sequence.
- Earned-value group: its order is the one of the project and WBS catalogs,
  whose captions carry " - Labor Units" and so sort those fields before the
  next plain caption ("Cost Variance - Labor Units" before "Cost Variance
  Index"); the activity catalog lists the same fields in the same order.
- Project catalog: the summary fields (Contains Summary Data, Enable
  Summarization, Last Summarized Date, Open State) follow the counts and come
  before the percent completes, like the WBS catalog's summary flag.
- WBS catalog: three fields are fixed by id against their type's order:
  "WBS Code" (wbs_concat_name) opens the catalog at 374, "Total Activities"
  (task_cnt) is 377 and "WBS Name" (wbs_name) is 510. They are pinned there
  (PIN below) and every other field keeps its type's order; the two budget
  fields "Current Budget" and "Current Variance" fill 375 and 376.
- Relationship catalogs: one alphabetical group of the activity's columns,
  then the eight relationship float texts, then "Duration % Complete" last,
  matching the initial availability list.

Usage: scripts/gen_builtin_fields.py [--check]   (from the project root)
  --check only verifies that the generated file is up to date.
"""
import os
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SOURCE = os.path.join(ROOT, "scripts", "builtin_fields.txt")
TARGET = os.path.join(ROOT, "src", "catalog", "builtin_fields.cpp")

TYPE_CODES = {
    "flag": 0, "int": 1, "number": 2, "text": 3, "cost": 4, "units": 5, "date": 6,
    "duration": 7, "percent": 8, "activity_status": 9, "project_status": 10,
    "pct_type": 11, "activity_type": 12, "duration_type": 13, "constraint_type": 15,
    "leveling_priority": 16, "rate_type": 18, "resource_type": 22, "relationship_type": 23,
}
CATALOG_ENUM = {
    "activity": "activity", "project": "project", "wbs": "wbs", "resource": "resource",
    "predecessor": "predecessor", "successor": "successor",
}

# The earned-value group, in id order, shared by the activity, project and WBS catalogs.
EARNED_VALUE = [
    "av", "av_work", "acwp", "bac", "bac_work", "cpi", "cpi_work", "cv", "cv_work", "cvi",
    "cvi_work", "bcwp", "perfm_work_qty", "eac_work", "eac", "etc", "etc_work_qty", "bcws",
    "sched_work_qty", "spi", "spi_work", "sv", "sv_work", "svi", "svi_work", "tcpi", "vac",
    "vac_work",
]


def G(**counts):
    return ("group", counts)


def EV():
    return ("ordered", EARNED_VALUE)


def PIN(key):
    return ("pin", key)


PLANS = {
    "activity": [
        G(int=4),                      # 6-9 steps
        G(cost=43),                    # 10-52 costs
        G(date=31),                    # 53-83 dates
        G(date=1),                     # 84 actual progress date
        G(duration=14),                # 85-98 durations
        EV(),                          # 99-126 earned value
        G(text=3),                     # 127-129 feedback
        G(text=18, date=2, activity_status=1, activity_type=1, duration_type=1,
          constraint_type=2, leveling_priority=1),  # 130-155 general
        G(text=9),                     # 156-164 lists (cost accounts, relationships, resources)
        G(int=2),                      # 165-166 float path
        G(int=11),                     # 167-177 counts
        G(percent=15, pct_type=1),     # 178-193 percent completes
        G(units=18),                   # 194-211 units
        G(duration=1),                 # 212 variance BL1 start date
        G(text=1),                     # 213 group name
    ],
    "project": [
        G(text=15, number=1),          # 214-229 budget
        G(cost=28),                    # 230-257 costs
        G(date=22),                    # 258-279 dates
        G(duration=8),                 # 280-287 durations
        EV(),                          # 288-315 earned value
        G(flag=6, int=4, text=9, date=2, project_status=1, rate_type=1),  # 316-338 general
        G(int=7),                      # 339-345 counts
        G(flag=2, date=1, text=1),     # 346-349 summary
        G(percent=12),                 # 350-361 percent completes
        G(units=12),                   # 362-373 units
    ],
    "wbs": [
        PIN("wbs_concat_name"),        # 374
        G(text=2),                     # 375-376 budget, first two
        PIN("task_cnt"),               # 377
        G(text=8, number=3),           # 378-388 budget, the rest
        G(text=27, cost=1),            # 389-416 costs
        G(date=18),                    # 417-434 dates
        G(duration=8),                 # 435-442 durations
        EV(),                          # 443-470 earned value
        G(text=5, project_status=1),   # 471-476 general
        G(int=6),                      # 477-482 counts
        G(flag=1, int=1),              # 483-484 summary flag, project
        G(percent=13),                 # 485-497 percent completes
        G(units=12),                   # 498-509 units
        PIN("wbs_name"),               # 510
        G(text=1),                     # 511 group name
    ],
    "resource": [
        G(flag=6, int=1, text=16, units=7, resource_type=1),  # 512-542
    ],
    "predecessor": [
        G(flag=2, text=5, date=6, duration=4, activity_status=1, relationship_type=1),  # 543-561
        G(text=8),                     # 562-569 relationship floats
        G(percent=1),                  # 570
    ],
}
PLANS["successor"] = PLANS["predecessor"]

# Ids that the rest of the program uses directly.
CITED = {
    "activity": {54: "act_start_date", 70: "end_date", 82: "start_date", 130: "task_code",
                 132: "task_name", 138: "clndr_id", 140: "duration_type", 147: "rsrc_id",
                 148: "project\\7Cproj_short_name", 149: "project\\7Cproj_name",
                 150: "projwbs\\7Cstatus_code", 152: "wbs_id", 154: "wbs_name", 155: "wbs_path",
                 189: "complete_pct_type", 213: "[caption]"},
    "project": {328: "project\\7Cproj_short_name", 330: "project\\7Cproj_name",
                331: "status_code", 335: "obs_id"},
    "wbs": {374: "wbs_concat_name", 472: "status_code", 473: "obs_id", 510: "wbs_name"},
    "resource": {533: "rsrc_short_name", 534: "rsrc_name"},
}
# The general block of the activity catalog, 130 to 155, by caption.
ACTIVITY_GENERAL = [
    "Activity ID", "Activity Leveling Priority", "Activity Name", "Activity Status",
    "Activity Type", "Added By", "Added Date", "Auto Compute Actuals", "Calendar", "Critical",
    "Duration Type", "Last Modified By", "Last Modified Date", "Lock Remaining", "Longest Path",
    "Owner", "Primary Constraint", "Primary Resource", "Project ID", "Project Name",
    "Project Status", "Secondary Constraint", "WBS", "WBS Categories", "WBS Name", "WBS Path",
]
EXPECTED = {  # catalog: (count, first id, available count or None, unavailable count or None)
    "activity": (208, 6, 72, None), "project": (160, 214, 47, None), "wbs": (138, 374, 30, None),
    "resource": (31, 512, None, 10), "predecessor": (28, 543, None, 11),
    "successor": (28, 571, None, 11),
}


def fail(msg):
    sys.stderr.write("gen_builtin_fields: " + msg + "\n")
    sys.exit(1)


def parse(path):
    cats = {}
    cur = None
    with open(path, encoding="utf-8") as f:
        for raw in f:
            line = raw.rstrip("\n")
            if not line.strip() or line.startswith("#"):
                continue
            if line.startswith("["):
                name, _, rest = line[1:].partition("]")
                attrs = dict(kv.split("=") for kv in rest.split())
                cur = {"name": name, "entity": int(attrs["entity"]), "first": int(attrs["first"]),
                       "workbook": attrs["workbook"], "fields": [], "classes": {},
                       "available": None, "unavailable": None, "no_workbook": set(),
                       "keyed_workbook": set(), "columns": []}
                cats[name] = cur
                continue
            parts = line.split("\t")
            tag = parts[0]
            if tag in TYPE_CODES:
                cur["fields"].append({"type": tag, "key": parts[1], "caption": parts[2]})
            elif tag.startswith("class"):
                for k in parts[1].split():
                    cur["classes"][k] = int(tag[5:])
            elif tag in ("available", "unavailable"):
                cur[tag] = set(parts[1].split())
            elif tag in ("no_workbook", "keyed_workbook"):
                cur[tag] = set(parts[1].split())
            elif tag == "column":
                cur["columns"].append((int(parts[1]), parts[2], parts[3]))
            else:
                fail("unknown line: " + line)
    return cats


def order_fields(cat):
    """Applies the catalog's plan: answers the fields in id order."""
    by_type = {}
    for f in cat["fields"]:
        by_type.setdefault(f["type"], []).append(f)
    pinned = {step[1] for step in PLANS[cat["name"]] if step[0] == "pin"}
    queues = {t: [f for f in fs if f["key"] not in pinned] for t, fs in by_type.items()}
    out = []
    for kind, arg in PLANS[cat["name"]]:
        if kind == "pin":
            hits = [f for f in cat["fields"] if f["key"] == arg]
            if len(hits) != 1:
                fail("%s: pinned key %s not found once" % (cat["name"], arg))
            out.append(hits[0])
        elif kind == "ordered":
            for key in arg:
                heads = [t for t, q in queues.items() if q and q[0]["key"] == key]
                if len(heads) != 1:
                    fail("%s: %s is not next in its type's order" % (cat["name"], key))
                out.append(queues[heads[0]].pop(0))
        else:
            chunks = []
            for t, n in arg.items():
                q = queues.get(t, [])
                if len(q) < n:
                    fail("%s: %d more %s fields wanted, %d left" % (cat["name"], n, t, len(q)))
                chunks.append(q[:n])
                del q[:n]
            while any(chunks):
                best = min((c for c in chunks if c), key=lambda c: c[0]["caption"].lower())
                out.append(best.pop(0))
    left = [f["key"] for q in queues.values() for f in q]
    if left:
        fail("%s: fields left without an id: %s" % (cat["name"], left))
    return out


def check(cats, ordered):
    for name, (count, first, avail, unavail) in EXPECTED.items():
        fields = ordered[name]
        if len(fields) != count:
            fail("%s: %d fields, %d expected" % (name, len(fields), count))
        for i, f in enumerate(fields):
            f["id"] = first + i
        keys = [f["key"] for f in fields]
        for k in list(cats[name]["classes"]) + list(cats[name]["available"] or []) + \
                list(cats[name]["unavailable"] or []) + list(cats[name]["no_workbook"]):
            if k not in keys:
                fail("%s: listed key %s is not a field" % (name, k))
        n_avail = sum(1 for f in fields if f["available"])
        if avail is not None and n_avail != avail:
            fail("%s: %d available" % (name, n_avail))
        if unavail is not None and count - n_avail != unavail:
            fail("%s: %d unavailable" % (name, count - n_avail))
        # Every type keeps its listed order, except the pinned fields.
        pinned = {s[1] for s in PLANS[name] if s[0] == "pin"}
        for t in TYPE_CODES:
            listed = [f["key"] for f in cats[name]["fields"] if f["type"] == t and f["key"] not in pinned]
            got = [f["key"] for f in fields if f["type"] == t and f["key"] not in pinned]
            if listed != got:
                fail("%s: type %s out of order" % (name, t))
        by_id = {f["id"]: f for f in fields}
        for fid, key in CITED.get(name, {}).items():
            if by_id[fid]["key"] != key:
                fail("%s: id %d is %s, not %s" % (name, fid, by_id[fid]["key"], key))
        for fid, column, key in cats[name]["columns"]:
            if by_id[fid]["key"] != key:
                fail("%s: workbook column %s: id %d is %s, not %s"
                     % (name, column, fid, by_id[fid]["key"], key))
    general = [f["caption"] for f in ordered["activity"] if 130 <= f["id"] <= 155]
    if general != ACTIVITY_GENERAL:
        fail("activity general block differs: %s" % general)
    total = sum(len(v) for v in ordered.values())
    if total != 593:
        fail("%d fields in all" % total)


def annotate(cat):
    columns = {key: column for _, column, key in cat["columns"]}
    for f in cat["fields"]:
        k = f["key"]
        f["class"] = cat["classes"].get(k, 0)
        if cat["available"] is not None:
            f["available"] = k in cat["available"]
        else:
            f["available"] = k not in cat["unavailable"]
        if k in columns:
            f["workbook"] = columns[k]
        elif cat["workbook"] == "key":
            f["workbook"] = "" if k in cat["no_workbook"] else k
        else:
            f["workbook"] = k if k in cat["keyed_workbook"] else ""


def literal(s):
    return 'u"' + s.replace("\\", "\\\\").replace('"', '\\"') + '"'


def render(cats, ordered):
    out = []
    out.append("// The built-in fields of the six catalogs, one row per field, in id order.")
    out.append("// Generated by scripts/gen_builtin_fields.py from scripts/builtin_fields.txt;")
    out.append("// edit those and run the script instead of editing this file. The script's")
    out.append("// header explains how the ids of the value types interleave.")
    out.append('#include "catalog/builtin_fields.h"')
    out.append("")
    out.append("namespace tessel::catalog::detail {")
    out.append("")
    out.append("namespace {")
    out.append("")
    out.append("constexpr builtin_field k_fields[] = {")
    out.append("    // catalog, field id, value type, value class, available, key, caption, workbook column")
    for name in ["activity", "project", "wbs", "resource", "predecessor", "successor"]:
        for f in ordered[name]:
            out.append("    {catalog_kind::%s, %d, %d, %d, %s, %s, %s, %s}," % (
                CATALOG_ENUM[name], f["id"], TYPE_CODES[f["type"]], f["class"],
                "true" if f["available"] else "false", literal(f["key"]),
                literal(f["caption"]), literal(f["workbook"])))
    out.append("};")
    out.append("")
    out.append("}  // namespace")
    out.append("")
    out.append("std::span<const builtin_field> builtin_fields() { return k_fields; }")
    out.append("")
    out.append("}  // namespace tessel::catalog::detail")
    return "\n".join(out) + "\n"


def main():
    cats = parse(SOURCE)
    ordered = {}
    for name, cat in cats.items():
        annotate(cat)
        ordered[name] = order_fields(cat)
    check(cats, ordered)
    text = render(cats, ordered)
    if "--check" in sys.argv[1:]:
        with open(TARGET, encoding="utf-8") as f:
            if f.read() != text:
                fail(TARGET + " is out of date")
        return
    with open(TARGET, "w", encoding="utf-8") as f:
        f.write(text)


if __name__ == "__main__":
    main()
