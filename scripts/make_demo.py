#!/usr/bin/env python3
"""Builds samples/demo.xer, the demo schedule that ships with Tessel Reader.

The demo is a three-storey office building ("Northgate Business Centre")
from notice to proceed to practical completion: 80 activities in a
three-level WBS, four kinds of relationship with lags, a 5-day and a 7-day
calendar (concrete curing) plus a resource calendar, labour, nonlabour and
material resources with prices and assignments, two activity code types,
user-defined fields of every logical type, steps and an OBS.

The dates are not typed in: the script schedules the network itself. It
first computes the original plan (the planned dates), then records progress
up to the data date (work planned before it is done, work straddling it is in
progress and runs somewhat late) and schedules the remaining work with a
forward and a backward pass over the working-time calendars, which gives the
early and late dates and the floats.

Only the standard library is used, and the output is the same bytes on every
run (no clock, no randomness).

    python3 scripts/make_demo.py            writes samples/demo.xer
    python3 scripts/make_demo.py --check    checks samples/demo.xer: same
                                            bytes as a fresh run, and a
                                            consistent schedule
    python3 scripts/make_demo.py --out F    writes F instead
"""

import base64
import hashlib
import os
import sys
from datetime import date, datetime, timedelta

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DEFAULT_OUT = os.path.join(ROOT, "samples", "demo.xer")

# --------------------------------------------------------------------------
# Time: whole minutes counted from 2025-01-01 00:00 (wall-clock, no zones).

EPOCH = datetime(2025, 1, 1)
DAY = 1440
HOURS_PER_DAY = 8


def at(text):
    """'2025-03-03 08:00' -> minute number."""
    dt = datetime.strptime(text, "%Y-%m-%d %H:%M")
    return int((dt - EPOCH).total_seconds()) // 60


def fmt_time(minute):
    if minute is None:
        return ""
    return (EPOCH + timedelta(minutes=minute)).strftime("%Y-%m-%d %H:%M")


def weekday_number(day):
    """Weekday of a day number: 1 Sunday ... 7 Saturday."""
    return (EPOCH.date() + timedelta(days=day)).isoweekday() % 7 + 1


def serial_day(d):
    """Day number counted from 1899-12-30, as the calendar text writes it."""
    return (d - date(1899, 12, 30)).days


def day_of(d):
    return (d - EPOCH.date()).days


PROJECT_START = at("2025-03-03 08:00")
DATA_DATE = at("2025-09-01 08:00")

# --------------------------------------------------------------------------
# Calendars


def hm(text):
    h, m = text.split(":")
    return int(h) * 60 + int(m)


class Calendar:
    def __init__(self, cid, name, ctype, week, exceptions=None, base=None,
                 default=False):
        self.id = cid
        self.name = name
        self.type = ctype
        self.week = week                 # weekday 1..7 -> [(start, finish)]
        self.exceptions = exceptions or {}  # day number -> [(start, finish)]
        self.base = base
        self.default = default

    def periods(self, day):
        if day in self.exceptions:
            return self.exceptions[day]
        if self.base is not None and day in self.base.exceptions:
            return self.base.exceptions[day]
        return self.week[weekday_number(day)]

    def add_work(self, t, minutes):
        """The moment `minutes` of working time after t."""
        if minutes <= 0:
            return t
        day = t // DAY
        while True:
            for s, f in self.periods(day):
                ps, pe = day * DAY + s, day * DAY + f
                if pe <= t:
                    continue
                start = max(ps, t)
                if minutes <= pe - start:
                    return start + minutes
                minutes -= pe - start
            day += 1

    def sub_work(self, t, minutes):
        """The moment `minutes` of working time before t."""
        if minutes <= 0:
            return t
        day = t // DAY
        while True:
            for s, f in reversed(self.periods(day)):
                ps, pe = day * DAY + s, day * DAY + f
                if ps >= t:
                    continue
                end = min(pe, t)
                if minutes <= end - ps:
                    return end - minutes
                minutes -= end - ps
            day -= 1

    def snap_forward(self, t):
        """The first working moment at or after t."""
        day = t // DAY
        while True:
            for s, f in self.periods(day):
                if day * DAY + f > t:
                    return max(day * DAY + s, t)
            day += 1

    def snap_back(self, t):
        """The last working moment at or before t (a period's end)."""
        day = t // DAY
        while True:
            for s, f in reversed(self.periods(day)):
                if day * DAY + s < t:
                    return min(day * DAY + f, t)
            day -= 1

    def work_between(self, a, b):
        """Working minutes from a to b (negative when b is before a)."""
        if a > b:
            return -self.work_between(b, a)
        total = 0
        for day in range(a // DAY, b // DAY + 1):
            for s, f in self.periods(day):
                lo, hi = max(day * DAY + s, a), min(day * DAY + f, b)
                if hi > lo:
                    total += hi - lo
        return total

    def data_text(self):
        """The calendar as the nested node text of a CALENDAR row."""
        out = ["(0||CalendarData()("]
        out.append("(0||DaysOfWeek()(")
        for wd in range(1, 8):
            sessions = "".join(
                "(0||%d(s|%02d:%02d|f|%02d:%02d)())" % (i, s // 60, s % 60, f // 60, f % 60)
                for i, (s, f) in enumerate(self.week[wd]))
            out.append("(0||%d()(%s))" % (wd, sessions))
        out.append("))")
        out.append("(0||VIEW(ShowTotal|Y)())")
        out.append("(0||Exceptions()(")
        for i, day in enumerate(sorted(self.exceptions)):
            d = EPOCH.date() + timedelta(days=day)
            sessions = "".join(
                "(0||%d(s|%02d:%02d|f|%02d:%02d)())" % (j, s // 60, s % 60, f // 60, f % 60)
                for j, (s, f) in enumerate(self.exceptions[day]))
            out.append("(0||%d(d|%d)(%s))" % (i, serial_day(d), sessions))
        out.append("))))")
        return "".join(out)


OFFICE_DAY = [(hm("08:00"), hm("12:00")), (hm("13:00"), hm("17:00"))]
HOLIDAYS = ["2025-04-18", "2025-04-21", "2025-05-05", "2025-05-26", "2025-08-25",
            "2025-12-25", "2025-12-26", "2026-01-01", "2026-04-03", "2026-04-06",
            "2026-05-04", "2026-05-25"]


def iso_day(text):
    return day_of(date.fromisoformat(text))


CAL5 = Calendar(601, "Standard 5 Day Workweek", "CA_Base",
                {1: [], 2: OFFICE_DAY, 3: OFFICE_DAY, 4: OFFICE_DAY, 5: OFFICE_DAY,
                 6: OFFICE_DAY, 7: []},
                dict([(iso_day(h), []) for h in HOLIDAYS] +
                     # Christmas Eve is a half day; one Saturday morning is
                     # worked to make up for lost time.
                     [(iso_day("2025-12-24"), [OFFICE_DAY[0]]),
                      (iso_day("2025-11-15"), [OFFICE_DAY[0]])]),
                default=True)
CAL7 = Calendar(602, "7 Day Workweek (Concrete Curing)", "CA_Base",
                {wd: OFFICE_DAY for wd in range(1, 8)},
                {iso_day("2025-12-25"): []})
CRANE_DAY = [(hm("07:00"), hm("12:00")), (hm("12:30"), hm("15:30"))]
CAL_CRANE = Calendar(603, "Tower Crane Hire", "CA_Rsrc",
                     {1: [], 2: CRANE_DAY, 3: CRANE_DAY, 4: CRANE_DAY, 5: CRANE_DAY,
                      6: CRANE_DAY, 7: []},
                     {}, base=CAL5)
CALENDARS = [CAL5, CAL7, CAL_CRANE]

# --------------------------------------------------------------------------
# The project

PROJ_ID = 4100
PROJ_SHORT = "NGBC-01"
PROJ_NAME = "Northgate Business Centre"

OBS = [  # id, parent, name, description
    (301, None, "Enterprise", "All responsibilities"),
    (302, 301, "Northgate Project Team", "Main contractor's project team"),
    (303, 302, "Site Operations", "Site manager and construction supervisors"),
    (304, 302, "MEP Coordination", "Building services coordination"),
]

# WBS: (key, short name, name, parent key, responsible OBS). Keys are the
# dotted paths; the first element is the project node.
WBS = [
    ("NGBC", "NGBC", PROJ_NAME, None, 302),
    ("NGBC.PM", "PM", "Management and Preconstruction", "NGBC", 302),
    ("NGBC.PM.MS", "MS", "Key Milestones", "NGBC.PM", 302),
    ("NGBC.PM.PRE", "PRE", "Permits and Procurement", "NGBC.PM", 302),
    ("NGBC.SW", "SW", "Site Works", "NGBC", 303),
    ("NGBC.SW.PREP", "PREP", "Site Preparation", "NGBC.SW", 303),
    ("NGBC.SW.EXT", "EXT", "External Works", "NGBC.SW", 303),
    ("NGBC.FD", "FD", "Foundations", "NGBC", 303),
    ("NGBC.FD.PIL", "PIL", "Piling", "NGBC.FD", 303),
    ("NGBC.FD.SUB", "SUB", "Substructure", "NGBC.FD", 303),
    ("NGBC.ST", "ST", "Structure", "NGBC", 303),
    ("NGBC.ST.L1", "L1", "Level 1 Frame", "NGBC.ST", 303),
    ("NGBC.ST.L2", "L2", "Level 2 Frame", "NGBC.ST", 303),
    ("NGBC.ST.L3", "L3", "Level 3 Frame and Roof", "NGBC.ST", 303),
    ("NGBC.EN", "EN", "Building Envelope", "NGBC", 303),
    ("NGBC.EN.FAC", "FAC", "Facade and Glazing", "NGBC.EN", 303),
    ("NGBC.EN.ROOF", "ROOF", "Roofing", "NGBC.EN", 303),
    ("NGBC.MEP", "MEP", "MEP Services", "NGBC", 304),
    ("NGBC.MEP.MECH", "MECH", "Mechanical (HVAC)", "NGBC.MEP", 304),
    ("NGBC.MEP.ELEC", "ELEC", "Electrical", "NGBC.MEP", 304),
    ("NGBC.MEP.PLMB", "PLMB", "Plumbing, Fire Protection and Lifts", "NGBC.MEP", 304),
    ("NGBC.FO", "FO", "Interior Fit-Out", "NGBC", 303),
    ("NGBC.FO.L1", "L1", "Fit-Out Level 1", "NGBC.FO", 303),
    ("NGBC.FO.L2", "L2", "Fit-Out Level 2", "NGBC.FO", 303),
    ("NGBC.FO.L3", "L3", "Fit-Out Level 3", "NGBC.FO", 303),
    ("NGBC.CX", "CX", "Commissioning and Handover", "NGBC", 304),
    ("NGBC.CX.TST", "TST", "Testing and Commissioning", "NGBC.CX", 304),
    ("NGBC.CX.HO", "HO", "Handover", "NGBC.CX", 302),
]

# Activities: (code, name, WBS key, duration in days, calendar, kind,
# predecessors). Kind: T task, S start milestone, F finish milestone.
# A predecessor is (code, relationship, lag in days).
C5, C7 = CAL5, CAL7
ACTIVITIES = [
    ("A1000", "Notice to Proceed", "NGBC.PM.MS", 0, C5, "S", []),
    ("A1010", "Prepare and Submit Building Permit Application", "NGBC.PM.PRE", 10, C5, "T",
     [("A1000", "FS", 0)]),
    ("A1020", "Authority Review of Building Permit", "NGBC.PM.PRE", 20, C5, "T",
     [("A1010", "FS", 0)]),
    ("A1030", "Building Permit Approved", "NGBC.PM.PRE", 0, C5, "F", [("A1020", "FS", 0)]),
    ("A1040", "Shop Drawings and Procurement - Structural Steel", "NGBC.PM.PRE", 45, C5, "T",
     [("A1000", "FS", 5)]),
    ("A1050", "Shop Drawings and Procurement - Facade Panels", "NGBC.PM.PRE", 70, C5, "T",
     [("A1040", "SS", 10)]),
    ("A1060", "Procurement - Passenger Lifts", "NGBC.PM.PRE", 90, C5, "T",
     [("A1000", "FS", 10)]),
    ("A1070", "Procurement - Main Switchboard", "NGBC.PM.PRE", 75, C5, "T",
     [("A1040", "SS", 15)]),
    ("A1100", "Mobilise and Establish Site Compound", "NGBC.SW.PREP", 5, C5, "T",
     [("A1000", "FS", 0)]),
    ("A1110", "Site Clearance and Demolition of Existing Sheds", "NGBC.SW.PREP", 8, C5, "T",
     [("A1100", "FS", 0)]),
    ("A1120", "Bulk Excavation and Cart Away", "NGBC.SW.PREP", 12, C5, "T",
     [("A1110", "FS", 0), ("A1030", "FS", 0)]),
    ("A1130", "Temporary Drainage and Dewatering", "NGBC.SW.PREP", 6, C5, "T",
     [("A1120", "SS", 3)]),
    ("A1140", "Decommission Temporary Site Power", "NGBC.SW.PREP", 2, C5, "T",
     [("A1100", "FS", 0), ("A1560", "SF", 2)]),
    ("A1150", "Car Park, Kerbs and Paving", "NGBC.SW.EXT", 15, C5, "T",
     [("A1470", "FS", 0), ("A1250", "FS", 0)]),
    ("A1160", "Soft Landscaping and Planting", "NGBC.SW.EXT", 10, C5, "T",
     [("A1150", "FS", 0)]),
    ("A1170", "External Lighting and Signage", "NGBC.SW.EXT", 6, C5, "T",
     [("A1150", "SS", 5)]),
    ("A1200", "Piling Rig Mobilisation and Piling Mat", "NGBC.FD.PIL", 3, C5, "T",
     [("A1120", "FS", 0)]),
    ("A1210", "Bored Piles (84 No.)", "NGBC.FD.PIL", 20, C5, "T", [("A1200", "FS", 0)]),
    ("A1220", "Pile Integrity Testing", "NGBC.FD.PIL", 4, C5, "T", [("A1210", "FF", 2)]),
    ("A1230", "Pile Caps and Ground Beams", "NGBC.FD.SUB", 15, C5, "T", [("A1220", "FS", 0)]),
    ("A1240", "Cure Pile Caps and Ground Beams", "NGBC.FD.SUB", 7, C7, "T",
     [("A1230", "FS", 0)]),
    ("A1250", "Underground Drainage and Services", "NGBC.FD.SUB", 10, C5, "T",
     [("A1230", "SS", 5)]),
    ("A1260", "Ground Floor Slab on Grade", "NGBC.FD.SUB", 10, C5, "T",
     [("A1240", "FS", 0), ("A1250", "FS", 0)]),
    ("A1270", "Cure Ground Floor Slab", "NGBC.FD.SUB", 7, C7, "T", [("A1260", "FS", 0)]),
    ("A1300", "Erect Structural Steel - Level 1", "NGBC.ST.L1", 10, C5, "T",
     [("A1270", "FS", 0), ("A1040", "FS", 0)]),
    ("A1310", "Metal Deck and Concrete Topping - Level 2 Floor", "NGBC.ST.L1", 8, C5, "T",
     [("A1300", "FS", 0)]),
    ("A1320", "Cure Level 2 Floor Slab", "NGBC.ST.L1", 7, C7, "T", [("A1310", "FS", 0)]),
    ("A1330", "Erect Structural Steel - Level 2", "NGBC.ST.L2", 10, C5, "T",
     [("A1310", "FS", 0)]),
    ("A1340", "Metal Deck and Concrete Topping - Level 3 Floor", "NGBC.ST.L2", 8, C5, "T",
     [("A1330", "FS", 0)]),
    ("A1350", "Cure Level 3 Floor Slab", "NGBC.ST.L2", 7, C7, "T", [("A1340", "FS", 0)]),
    ("A1360", "Erect Structural Steel - Level 3 and Roof", "NGBC.ST.L3", 12, C5, "T",
     [("A1340", "FS", 0)]),
    ("A1370", "Metal Deck and Concrete - Roof Slab", "NGBC.ST.L3", 8, C5, "T",
     [("A1360", "FS", 0)]),
    ("A1380", "Cure Roof Slab", "NGBC.ST.L3", 7, C7, "T", [("A1370", "FS", 0)]),
    ("A1400", "Facade Panels - Level 1", "NGBC.EN.FAC", 12, C5, "T",
     [("A1320", "FS", 0), ("A1050", "FS", 0)]),
    ("A1410", "Facade Panels - Level 2", "NGBC.EN.FAC", 12, C5, "T",
     [("A1400", "FS", 0), ("A1350", "FS", 0)]),
    ("A1420", "Facade Panels - Level 3", "NGBC.EN.FAC", 12, C5, "T",
     [("A1410", "FS", 0), ("A1380", "FS", 0)]),
    ("A1430", "Windows and Glazing", "NGBC.EN.FAC", 20, C5, "T", [("A1400", "SS", 10)]),
    ("A1440", "Main Entrance Curtain Wall and Canopy", "NGBC.EN.FAC", 10, C5, "T",
     [("A1430", "FF", 5)]),
    ("A1450", "Roof Insulation and Waterproofing Membrane", "NGBC.EN.ROOF", 10, C5, "T",
     [("A1380", "FS", 0)]),
    ("A1460", "Rooftop Plant Platform and Supports", "NGBC.EN.ROOF", 5, C5, "T",
     [("A1450", "SS", 3)]),
    ("A1470", "Building Watertight", "NGBC.PM.MS", 0, C5, "F",
     [("A1420", "FS", 0), ("A1440", "FS", 0), ("A1450", "FS", 0)]),
    ("A1480", "Structure Topped Out", "NGBC.PM.MS", 0, C5, "F", [("A1370", "FS", 0)]),
    ("A1500", "HVAC Ductwork First Fix", "NGBC.MEP.MECH", 25, C5, "T", [("A1320", "FS", 0)]),
    ("A1510", "Rooftop Air Handling Units and Chillers", "NGBC.MEP.MECH", 8, C5, "T",
     [("A1460", "FS", 0)]),
    ("A1520", "Heating and Chilled Water Pipework", "NGBC.MEP.MECH", 20, C5, "T",
     [("A1500", "SS", 10)]),
    ("A1530", "Mechanical Second Fix and Diffusers", "NGBC.MEP.MECH", 10, C5, "T",
     [("A1810", "FS", 0), ("A1510", "FS", 0), ("A1520", "FS", 0)]),
    ("A1540", "Electrical Containment and Cabling", "NGBC.MEP.ELEC", 30, C5, "T",
     [("A1350", "FS", 0)]),
    ("A1550", "Install Main Switchboard", "NGBC.MEP.ELEC", 6, C5, "T",
     [("A1070", "FS", 0), ("A1540", "SS", 10)]),
    ("A1560", "Permanent Power Connection by Utility", "NGBC.MEP.ELEC", 5, C5, "T",
     [("A1550", "FS", 0)]),
    ("A1570", "Lighting and Small Power First Fix", "NGBC.MEP.ELEC", 20, C5, "T",
     [("A1540", "SS", 10)]),
    ("A1580", "Electrical Second Fix and Luminaires", "NGBC.MEP.ELEC", 10, C5, "T",
     [("A1810", "FS", 0), ("A1570", "FS", 0)]),
    ("A1590", "Fire Alarm and Security Systems", "NGBC.MEP.ELEC", 15, C5, "T",
     [("A1570", "SS", 5)]),
    ("A1600", "Plumbing and Drainage First Fix", "NGBC.MEP.PLMB", 20, C5, "T",
     [("A1320", "FS", 0)]),
    ("A1610", "Sprinkler Mains and Heads", "NGBC.MEP.PLMB", 20, C5, "T",
     [("A1600", "SS", 5)]),
    ("A1620", "Sanitaryware and Fixtures", "NGBC.MEP.PLMB", 8, C5, "T", [("A1820", "FS", 0)]),
    ("A1630", "Lift Installation (2 Passenger Lifts)", "NGBC.MEP.PLMB", 25, C5, "T",
     [("A1060", "FS", 0), ("A1480", "FS", 0)]),
]

# Fit-out: the same five trades on each floor, each floor following the one
# below.
for level, base in ((1, 1700), (2, 1750), (3, 1800)):
    wbs = "NGBC.FO.L%d" % level
    p, c, f, pa, d = ("A%d" % (base + 10 * i) for i in range(5))
    if level == 1:
        part_preds = [("A1470", "FS", 0), ("A1500", "SS", 10), ("A1600", "SS", 5)]
        ceil_preds = [(p, "FS", 0), ("A1570", "SS", 10)]
    else:
        prev = base - 50
        part_preds = [("A%d" % prev, "SS", 5)]
        ceil_preds = [(p, "FS", 0), ("A%d" % (prev + 10), "FS", 0)]
    ACTIVITIES += [
        (p, "Drywall Partitions - Level %d" % level, wbs, 15, C5, "T", part_preds),
        (c, "Suspended Ceilings - Level %d" % level, wbs, 10, C5, "T", ceil_preds),
        (f, "Floor Finishes - Level %d" % level, wbs, 8, C5, "T", [(c, "FS", 0)]),
        (pa, "Painting and Decoration - Level %d" % level, wbs, 10, C5, "T",
         [(c, "SS", 3), (f, "FF", 2)]),
        (d, "Doors and Ironmongery - Level %d" % level, wbs, 5, C5, "T", [(pa, "FS", 0)]),
    ]

ACTIVITIES += [
    ("A1900", "HVAC Testing, Balancing and Commissioning", "NGBC.CX.TST", 10, C5, "T",
     [("A1530", "FS", 0)]),
    ("A1910", "Fire Alarm and Sprinkler Testing", "NGBC.CX.TST", 5, C5, "T",
     [("A1590", "FS", 0), ("A1610", "FS", 0), ("A1580", "FS", 0)]),
    ("A1920", "Lift Testing and Certification", "NGBC.CX.TST", 5, C5, "T",
     [("A1630", "FS", 0), ("A1560", "FS", 0)]),
    ("A1930", "Electrical Testing and Certification", "NGBC.CX.TST", 5, C5, "T",
     [("A1580", "FS", 0), ("A1560", "FS", 0)]),
    ("A1940", "Builders Final Clean", "NGBC.CX.HO", 5, C5, "T",
     [("A1840", "FS", 0), ("A1620", "FS", 0)]),
    ("A1950", "Snagging and Defect Rectification", "NGBC.CX.HO", 10, C5, "T",
     [("A1940", "SS", 2)]),
    ("A1960", "Occupancy Certificate Inspection", "NGBC.CX.HO", 3, C5, "T",
     [("A1900", "FS", 0), ("A1910", "FS", 0), ("A1920", "FS", 0), ("A1930", "FS", 0),
      ("A1950", "FF", 0)]),
    ("A1970", "O&M Manuals and As-Built Documentation", "NGBC.CX.HO", 15, C5, "T",
     [("A1900", "SS", 5)]),
    ("A1880", "Practical Completion", "NGBC.PM.MS", 0, C5, "F",
     [("A1960", "FS", 0), ("A1970", "FS", 0), ("A1160", "FS", 0), ("A1170", "FS", 0),
      ("A1140", "FS", 0)]),
]

# The utility cannot connect before its booked date.
CONSTRAINTS = {"A1560": ("CS_MSOA", at("2026-01-19 08:00"))}

# Resources: (key, id, parent key, name, type, calendar, unit, price per unit)
RESOURCES = [
    ("LAB", 501, None, "Labour", "RT_Labor", CAL5, None, 0.0),
    ("SM", 502, "LAB", "Site Manager", "RT_Labor", CAL5, None, 85.0),
    ("GL", 503, "LAB", "General Labourers", "RT_Labor", CAL5, None, 38.0),
    ("CARP", 504, "LAB", "Carpenters and Drywall Fixers", "RT_Labor", CAL5, None, 52.0),
    ("STEEL", 505, "LAB", "Steel Erectors", "RT_Labor", CAL5, None, 62.0),
    ("CONCG", 506, "LAB", "Concrete Gang", "RT_Labor", CAL5, None, 48.0),
    ("ELEC", 507, "LAB", "Electricians", "RT_Labor", CAL5, None, 65.0),
    ("PLMB", 508, "LAB", "Plumbers", "RT_Labor", CAL5, None, 63.0),
    ("HVAC", 509, "LAB", "HVAC Fitters", "RT_Labor", CAL5, None, 64.0),
    ("PAINT", 510, "LAB", "Painters", "RT_Labor", CAL5, None, 45.0),
    ("EQ", 511, None, "Plant and Equipment", "RT_Equip", CAL5, None, 0.0),
    ("CRANE", 512, "EQ", "Tower Crane", "RT_Equip", CAL_CRANE, None, 140.0),
    ("EXC", 513, "EQ", "Excavator 20t", "RT_Equip", CAL5, None, 95.0),
    ("PILE", 514, "EQ", "Piling Rig", "RT_Equip", CAL5, None, 260.0),
    ("MAT", 515, None, "Materials", "RT_Mat", CAL5, None, 0.0),
    ("CONC", 516, "MAT", "Ready-Mix Concrete C32/40", "RT_Mat", CAL5, 12, 165.0),
    ("RSTL", 517, "MAT", "Structural Steel S355", "RT_Mat", CAL5, 13, 2450.0),
    ("PLB", 518, "MAT", "Plasterboard 12.5 mm", "RT_Mat", CAL5, 11, 9.5),
]
UNITS = [(11, 10, "m\u00b2", "Square Metre"), (12, 20, "m\u00b3", "Cubic Metre"),
         (13, 30, "t", "Tonne")]

# Assignments: activity code -> [(resource key, units per hour for labour and
# equipment, or the total quantity for a material)].
ASSIGNMENTS = {
    "A1010": [("SM", 1)],
    "A1100": [("GL", 4), ("SM", 1)],
    "A1110": [("GL", 4), ("EXC", 1)],
    "A1120": [("EXC", 2), ("GL", 2)],
    "A1130": [("GL", 2)],
    "A1140": [("ELEC", 2)],
    "A1150": [("GL", 6), ("EXC", 1)],
    "A1160": [("GL", 4)],
    "A1170": [("ELEC", 2)],
    "A1200": [("PILE", 1), ("GL", 2)],
    "A1210": [("GL", 3), ("PILE", 1), ("CONC", 420)],
    "A1230": [("CONCG", 6), ("CONC", 310)],
    "A1250": [("PLMB", 2), ("GL", 3), ("EXC", 1)],
    "A1260": [("CONCG", 8), ("CONC", 540)],
    "A1300": [("STEEL", 6), ("CRANE", 1), ("RSTL", 95)],
    "A1310": [("CONCG", 6), ("CRANE", 1), ("CONC", 180)],
    "A1330": [("STEEL", 6), ("CRANE", 1), ("RSTL", 95)],
    "A1340": [("CONCG", 6), ("CRANE", 1), ("CONC", 180)],
    "A1360": [("STEEL", 6), ("CRANE", 1), ("RSTL", 110)],
    "A1370": [("CONCG", 6), ("CRANE", 1), ("CONC", 200)],
    "A1400": [("CARP", 4), ("CRANE", 1)],
    "A1410": [("CARP", 4), ("CRANE", 1)],
    "A1420": [("CARP", 4), ("CRANE", 1)],
    "A1430": [("CARP", 4)],
    "A1440": [("CARP", 3)],
    "A1450": [("GL", 4)],
    "A1460": [("STEEL", 2)],
    "A1500": [("HVAC", 6)],
    "A1510": [("HVAC", 4), ("CRANE", 1)],
    "A1520": [("PLMB", 4)],
    "A1530": [("HVAC", 4)],
    "A1540": [("ELEC", 6)],
    "A1550": [("ELEC", 3)],
    "A1570": [("ELEC", 6)],
    "A1580": [("ELEC", 5)],
    "A1590": [("ELEC", 3)],
    "A1600": [("PLMB", 4)],
    "A1610": [("PLMB", 3)],
    "A1620": [("PLMB", 3)],
    "A1900": [("HVAC", 2)],
    "A1910": [("ELEC", 2)],
    "A1930": [("ELEC", 2)],
    "A1940": [("GL", 6)],
    "A1950": [("CARP", 2), ("PAINT", 2)],
    "A1960": [("SM", 1)],
    "A1970": [("SM", 1)],
}
for base in (1700, 1750, 1800):
    ASSIGNMENTS["A%d" % base] = [("CARP", 6), ("PLB", 1400)]
    ASSIGNMENTS["A%d" % (base + 10)] = [("CARP", 4)]
    ASSIGNMENTS["A%d" % (base + 20)] = [("GL", 3)]
    ASSIGNMENTS["A%d" % (base + 30)] = [("PAINT", 5)]
    ASSIGNMENTS["A%d" % (base + 40)] = [("CARP", 2)]

# Activity codes: (type id, name, scope, short length, values), a value being
# (id, short name, name, parent id).
CODE_TYPES = [
    (71, "Responsible Area", "AS_Project", 4, [
        (7101, "SITE", "External Site", None),
        (7102, "SUB", "Below Ground", None),
        (7103, "L1", "Level 1", None),
        (7104, "L2", "Level 2", None),
        (7105, "L3", "Level 3", None),
        (7106, "ROOF", "Roof", None),
        (7107, "BLDG", "Whole Building", None),
    ]),
    (72, "Phase", "AS_Global", 3, [
        (7201, "PRE", "Preconstruction", None),
        (7202, "CON", "Construction", None),
        (7203, "SUB", "Substructure", 7202),
        (7204, "SUP", "Superstructure and Envelope", 7202),
        (7205, "SVC", "Services and Fit-Out", 7202),
        (7206, "CLO", "Close-Out", None),
    ]),
]


def phase_of(code, wbs):
    if wbs == "NGBC.PM.PRE" or code == "A1000":
        return 7201
    if wbs.startswith(("NGBC.SW.PREP", "NGBC.FD")):
        return 7203
    if wbs.startswith(("NGBC.ST", "NGBC.EN")) or code in ("A1470", "A1480"):
        return 7204
    if wbs.startswith(("NGBC.MEP", "NGBC.FO")):
        return 7205
    return 7206


def area_of(code, wbs, name):
    if wbs.startswith("NGBC.PM"):
        return None  # management activities belong to no area
    if wbs.startswith("NGBC.SW"):
        return 7101
    if wbs.startswith("NGBC.FD"):
        return 7102
    for level, value in (("1", 7103), ("2", 7104), ("3", 7105)):
        if wbs.endswith(".L" + level) or name.endswith("Level " + level) \
                or name.endswith("Level %s Floor" % level):
            return value
    if wbs == "NGBC.EN.ROOF" or "Roof" in name:
        return 7106
    return 7107


# User-defined fields: (id, table, label, logical type)
UDF_TYPES = [
    (901, "TASK", "Inspection Date", "FT_START_DATE"),
    (902, "TASK", "Contract Key Date", "FT_END_DATE"),
    (903, "TASK", "Subcontractor", "FT_TEXT"),
    (904, "TASK", "Weight Factor", "FT_FLOAT_2_DECIMALS"),
    (905, "PROJWBS", "Contingency Budget", "FT_MONEY"),
    (906, "TASK", "Crew Size", "FT_INT"),
    (907, "TASK", "Risk Rating", "FT_STATICTYPE"),
    (908, "PROJECT", "Client Representative", "FT_TEXT"),
]
SUBCONTRACTORS = {
    "A1210": "Keystone Piling", "A1220": "Keystone Piling",
    "A1300": "Ironbridge Steel", "A1330": "Ironbridge Steel", "A1360": "Ironbridge Steel",
    "A1400": "Clearview Facades", "A1410": "Clearview Facades",
    "A1420": "Clearview Facades", "A1430": "Clearview Facades",
    "A1500": "Airtech Mechanical", "A1520": "Airtech Mechanical",
    "A1540": "Voltline Electrical", "A1570": "Voltline Electrical",
    "A1600": "Aquaflow Plumbing", "A1610": "Aquaflow Plumbing",
    "A1630": "Liftco Elevators", "A1920": "Liftco Elevators",
}
RISK = {"A1120": "UDF_G3", "A1210": "UDF_G2", "A1300": "UDF_G2", "A1560": "UDF_G3",
        "A1630": "UDF_G2", "A1960": "UDF_G1", "A1880": "UDF_G1"}
WEIGHTS = {"A1210": 1.5, "A1260": 1.25, "A1300": 1.75, "A1400": 1.1, "A1500": 0.85,
           "A1960": 2.0}
CONTINGENCY = {"NGBC.FD": 85000.0, "NGBC.ST": 120000.0, "NGBC.EN": 95000.0,
               "NGBC.MEP": 150000.0, "NGBC.FO": 60000.0}
KEY_DATES = {"A1470": "2025-11-14 17:00", "A1480": "2025-10-24 17:00",
             "A1880": "2026-03-13 17:00"}

# Steps: activity code -> step names (equal weights).
STEPS = {
    "A1210": ["Set out pile positions", "Bore and case piles", "Place reinforcement cages",
              "Pour pile concrete", "Trim pile heads"],
    "A1300": ["Set holding-down bolts", "Erect columns", "Erect primary beams",
              "Erect secondary beams", "Plumb, line and level", "Torque bolts"],
    "A1500": ["Main risers", "Level 1 ductwork", "Level 2 ductwork", "Level 3 ductwork",
              "Pressure test"],
    "A1900": ["Air balancing", "Water balancing", "Controls commissioning",
              "Witness testing with client"],
}

# --------------------------------------------------------------------------
# Scheduling


class Act:
    pass


def build_activities():
    acts = {}
    for i, (code, name, wbs, days, cal, kind, preds) in enumerate(ACTIVITIES):
        a = Act()
        a.code, a.name, a.wbs, a.cal, a.kind, a.preds = code, name, wbs, cal, kind, preds
        a.id = 10001 + i
        a.dur = days * HOURS_PER_DAY * 60
        a.succs = []
        acts[code] = a
    for a in acts.values():
        for p, typ, lag in a.preds:
            acts[p].succs.append((a.code, typ, lag))
    return acts


def topological(acts):
    """Activity codes so that every predecessor comes first; fails on a loop."""
    count = {c: len(a.preds) for c, a in acts.items()}
    ready = [c for c in acts if count[c] == 0]
    order = []
    while ready:
        c = ready.pop(0)
        order.append(c)
        for s, _, _ in acts[c].succs:
            count[s] -= 1
            if count[s] == 0:
                ready.append(s)
    if len(order) != len(acts):
        raise SystemExit("make_demo: the relationships form a loop")
    return order


def schedule(acts, order, data_date):
    """Forward and backward pass over the work not yet done."""
    for c in order:
        a = acts[c]
        if a.status == "done":
            a.es, a.ef = a.act_start, a.act_end
            continue
        cal = a.cal
        if a.status == "active":
            a.es = cal.snap_forward(data_date)
            a.ef = cal.add_work(a.es, a.rem)
            continue
        starts, finishes = [data_date], []
        for p, typ, lag in a.preds:
            pa = acts[p]
            lag_min = lag * HOURS_PER_DAY * 60
            if typ == "FS":
                starts.append(pa.cal.add_work(pa.ef, lag_min))
            elif typ == "SS":
                starts.append(pa.cal.add_work(pa.es, lag_min))
            elif typ == "FF":
                finishes.append(pa.cal.add_work(pa.ef, lag_min))
            else:  # SF
                finishes.append(pa.cal.add_work(pa.es, lag_min))
        if c in CONSTRAINTS:
            starts.append(CONSTRAINTS[c][1])
        if a.kind == "F":
            a.es = a.ef = max(starts + finishes)
        elif a.kind == "S":
            a.es = a.ef = cal.snap_forward(max(starts + finishes))
        else:
            a.es = cal.snap_forward(max(starts))
            a.ef = cal.add_work(a.es, a.rem)
            if finishes and max(finishes) > a.ef:
                a.ef = cal.snap_back(max(finishes))
                a.es = cal.sub_work(a.ef, a.rem)
    finish = max(acts[c].ef for c in order)
    for c in reversed(order):
        a = acts[c]
        if a.status == "done":
            a.ls, a.lf = a.act_start, a.act_end
            continue
        cal = a.cal
        starts, finishes = [], [finish]
        for s, typ, lag in a.succs:
            sa = acts[s]
            if sa.status == "done":
                continue
            lag_min = lag * HOURS_PER_DAY * 60
            if typ == "FS":
                finishes.append(cal.sub_work(sa.ls, lag_min))
            elif typ == "SS":
                starts.append(cal.sub_work(sa.ls, lag_min))
            elif typ == "FF":
                finishes.append(cal.sub_work(sa.lf, lag_min))
            else:  # SF
                starts.append(cal.sub_work(sa.lf, lag_min))
        if a.kind == "F":
            a.ls = a.lf = cal.snap_back(min(starts + finishes))
        elif a.kind == "S":
            a.ls = a.lf = cal.snap_forward(min(starts + finishes))
        else:
            a.lf = cal.snap_back(min(finishes))
            a.ls = cal.sub_work(a.lf, a.rem)
            if starts and min(starts) < a.ls:
                a.ls = cal.snap_forward(min(starts))
                a.lf = cal.add_work(a.ls, a.rem)
    for c in order:
        a = acts[c]
        if a.status == "done":
            a.tf = a.ff = None
            continue
        a.tf = a.cal.work_between(a.ef, a.lf)
        slack = []
        for s, typ, lag in a.succs:
            sa = acts[s]
            if sa.status == "done":
                continue
            lag_min = lag * HOURS_PER_DAY * 60
            mine = a.ef if typ in ("FS", "FF") else a.es
            theirs = sa.es if typ in ("FS", "SS") else sa.ef
            slack.append(a.cal.work_between(a.cal.add_work(mine, lag_min), theirs))
        a.ff = max(0, min(slack + [a.tf]))
    return finish


def plan_and_progress():
    acts = build_activities()
    order = topological(acts)
    # The original plan: nothing done, work from the project start.
    for a in acts.values():
        a.status, a.rem = "todo", a.dur
    schedule(acts, order, PROJECT_START)
    for a in acts.values():
        a.plan_start, a.plan_end = a.es, a.ef
    # Progress up to the data date: planned work before it is done; work
    # across it has started on time but its remainder runs a quarter longer.
    for c in order:
        a = acts[c]
        if a.plan_end <= DATA_DATE and (a.kind != "S" or a.plan_start < DATA_DATE):
            a.status, a.rem = "done", 0
            a.act_start, a.act_end = a.plan_start, a.plan_end
        elif a.plan_start < DATA_DATE:
            a.status = "active"
            a.act_start, a.act_end = a.plan_start, None
            done = a.cal.work_between(a.plan_start, DATA_DATE)
            left = a.dur - done
            day = HOURS_PER_DAY * 60
            a.rem = -(-left * 5 // 4 // day) * day  # whole days, rounded up
            a.done = done
        else:
            a.status = "todo"
            a.act_start = a.act_end = None
    finish = schedule(acts, order, DATA_DATE)
    return acts, order, finish


# --------------------------------------------------------------------------
# Writing


def guid(*parts):
    digest = hashlib.md5(":".join(str(p) for p in parts).encode()).digest()
    return base64.b64encode(digest).decode()[:22]


def num(x, places=2):
    """A number as the export writes it: no trailing zeros, no exponent."""
    if x is None:
        return ""
    text = ("%." + str(places) + "f") % x
    if "." in text:
        text = text.rstrip("0").rstrip(".")
    return "0" if text in ("-0", "") else text


def money(x):
    return "%.2f" % x


def hours(minutes):
    return "" if minutes is None else num(minutes / 60.0)


def flag(b):
    return "Y" if b else "N"


class Writer:
    def __init__(self):
        self.lines = []
        self.counts = {}

    def table(self, name, fields, rows):
        self.lines.append("%T\t" + name)
        self.lines.append("%F\t" + "\t".join(fields))
        for row in rows:
            missing = set(fields) - set(row)
            if missing:
                raise SystemExit("make_demo: %s row lacks %s" % (name, sorted(missing)))
            self.lines.append("%R\t" + "\t".join(str(row[f]) for f in fields))
        self.counts[name] = len(rows)

    def data(self):
        return ("\r\n".join(self.lines) + "\r\n").encode("latin-1")


def blank(fields, **values):
    row = {f: "" for f in fields}
    for k, v in values.items():
        if k not in row:
            raise SystemExit("make_demo: unknown column " + k)
        row[k] = v
    return row


CREATED = "2025-02-10 09:15"
UPDATED = "2025-09-01 07:45"
PLANNER = "planner"

F_CURRTYPE = ("curr_id decimal_digit_cnt curr_symbol decimal_symbol digit_group_symbol "
              "pos_curr_fmt_type neg_curr_fmt_type curr_type curr_short_name group_digit_cnt "
              "base_exch_rate").split()
F_OBS = "obs_id parent_obs_id guid seq_num obs_name obs_descr".split()
F_UMEASURE = "unit_id seq_num unit_abbrev unit_name".split()
F_UDFTYPE = ("udf_type_id table_name udf_type_name udf_type_label logical_data_type "
             "super_flag indicator_expression summary_indicator_expression").split()
F_PROJECT = (
    "proj_id fy_start_month_num rsrc_self_add_flag allow_complete_flag rsrc_multi_assign_flag "
    "checkout_flag project_flag step_complete_flag cost_qty_recalc_flag batch_sum_flag "
    "name_sep_char def_complete_pct_type proj_short_name acct_id orig_proj_id source_proj_id "
    "base_type_id clndr_id sum_base_proj_id task_code_base task_code_step priority_num "
    "wbs_max_sum_level strgy_priority_num last_checksum critical_drtn_hr_cnt def_cost_per_qty "
    "last_recalc_date plan_start_date plan_end_date scd_end_date add_date last_tasksum_date "
    "fcst_start_date def_duration_type task_code_prefix guid def_qty_type add_by_name "
    "web_local_root_path proj_url def_rate_type add_act_remain_flag act_this_per_link_flag "
    "def_task_type act_pct_link_flag critical_path_type task_code_prefix_flag "
    "def_rollup_dates_flag use_project_baseline_flag rem_target_link_flag reset_planned_flag "
    "allow_neg_act_flag sum_assign_level last_fin_dates_id last_baseline_update_date "
    "cr_external_key apply_actuals_date location_id loaded_scope_level export_flag "
    "new_fin_dates_id baselines_to_export baseline_names_to_export next_data_date "
    "close_period_flag sum_refresh_date trsrcsum_loaded").split()
F_CALENDAR = ("clndr_id default_flag clndr_name proj_id base_clndr_id last_chng_date clndr_type "
              "day_hr_cnt week_hr_cnt month_hr_cnt year_hr_cnt rsrc_private clndr_data").split()
F_PROJWBS = (
    "wbs_id proj_id obs_id seq_num est_wt proj_node_flag sum_data_flag status_code "
    "wbs_short_name wbs_name phase_id parent_wbs_id ev_user_pct ev_etc_user_value orig_cost "
    "indep_remain_total_cost ann_dscnt_rate_pct dscnt_period_type indep_remain_work_qty "
    "anticip_start_date anticip_end_date ev_compute_type ev_etc_compute_type guid tmpl_guid "
    "plan_open_state").split()
F_RSRC = (
    "rsrc_id parent_rsrc_id clndr_id role_id shift_id user_id pobs_id guid rsrc_seq_num "
    "email_addr employee_code office_phone other_phone rsrc_name rsrc_short_name "
    "rsrc_title_name def_qty_per_hr cost_qty_type ot_factor active_flag auto_compute_act_flag "
    "def_cost_qty_link_flag ot_flag curr_id unit_id rsrc_type location_id rsrc_notes "
    "load_tasks_flag level_flag last_checksum").split()
F_RSRCRATE = ("rsrc_rate_id rsrc_id max_qty_per_hr cost_per_qty start_date shift_period_id "
              "cost_per_qty2 cost_per_qty3 cost_per_qty4 cost_per_qty5").split()
F_ACTVTYPE = ("actv_code_type_id actv_short_len seq_num actv_code_type proj_id wbs_id "
              "actv_code_type_scope super_flag").split()
F_ACTVCODE = ("actv_code_id parent_actv_code_id actv_code_type_id actv_code_name short_name "
              "seq_num color total_assignments").split()
F_TASK = (
    "task_id proj_id wbs_id clndr_id phys_complete_pct rev_fdbk_flag est_wt lock_plan_flag "
    "auto_compute_act_flag complete_pct_type task_type duration_type status_code task_code "
    "task_name rsrc_id total_float_hr_cnt free_float_hr_cnt remain_drtn_hr_cnt act_work_qty "
    "remain_work_qty target_work_qty target_drtn_hr_cnt target_equip_qty act_equip_qty "
    "remain_equip_qty cstr_date act_start_date act_end_date late_start_date late_end_date "
    "expect_end_date early_start_date early_end_date restart_date reend_date target_start_date "
    "target_end_date rem_late_start_date rem_late_end_date cstr_type priority_type suspend_date "
    "resume_date float_path float_path_order guid tmpl_guid cstr_date2 cstr_type2 "
    "driving_path_flag act_this_per_work_qty act_this_per_equip_qty external_early_start_date "
    "external_late_end_date create_date update_date create_user update_user location_id").split()
F_TASKACTV = "task_id actv_code_type_id actv_code_id proj_id".split()
F_TASKPRED = ("task_pred_id task_id pred_task_id proj_id pred_proj_id pred_type lag_hr_cnt "
              "float_path aref arls").split()
F_TASKPROC = ("proc_id task_id proj_id seq_num proc_name complete_flag proc_wt complete_pct "
              "proc_descr").split()
F_TASKRSRC = (
    "taskrsrc_id task_id proj_id cost_qty_link_flag role_id acct_id rsrc_id pobs_id "
    "skill_level remain_qty target_qty remain_qty_per_hr target_lag_drtn_hr_cnt "
    "target_qty_per_hr act_ot_qty act_reg_qty relag_drtn_hr_cnt ot_factor cost_per_qty "
    "target_cost act_reg_cost act_ot_cost remain_cost act_start_date act_end_date restart_date "
    "reend_date target_start_date target_end_date rem_late_start_date rem_late_end_date "
    "rollup_dates_flag target_crv remain_crv actual_crv ts_pend_act_end_flag guid rate_type "
    "act_this_per_cost act_this_per_qty curv_id rsrc_type cost_per_qty_source_type create_user "
    "create_date has_rsrchours taskrsrc_sum_id").split()
F_UDFVALUE = "udf_type_id fk_id proj_id udf_date udf_number udf_text udf_code_id".split()


def generate():
    acts, order, finish = plan_and_progress()
    w = Writer()
    w.lines.append("\t".join(["ERMHDR", "20.12", "2025-09-01", "Project", "admin",
                              "Administrator", "dbxDatabaseNoName", "Project Management",
                              "USD"]))

    w.table("CURRTYPE", F_CURRTYPE, [blank(
        F_CURRTYPE, curr_id=1, decimal_digit_cnt=2, curr_symbol="$", decimal_symbol=".",
        digit_group_symbol=",", pos_curr_fmt_type="#1.1", neg_curr_fmt_type="(#1.1)",
        curr_type="US Dollar", curr_short_name="USD", group_digit_cnt=3, base_exch_rate=1)])

    w.table("OBS", F_OBS, [blank(
        F_OBS, obs_id=i, parent_obs_id=p or "", guid=guid("OBS", i), seq_num=n * 10,
        obs_name=name, obs_descr=descr) for n, (i, p, name, descr) in enumerate(OBS)])

    w.table("UMEASURE", F_UMEASURE, [blank(
        F_UMEASURE, unit_id=i, seq_num=s, unit_abbrev=abbr, unit_name=name)
        for i, s, abbr, name in UNITS])

    w.table("UDFTYPE", F_UDFTYPE, [blank(
        F_UDFTYPE, udf_type_id=i, table_name=t, udf_type_name="user_field_%d" % i,
        udf_type_label=label, logical_data_type=ltype, super_flag="N")
        for i, t, label, ltype in UDF_TYPES])

    wbs_ids = {key: 5001 + n for n, (key, *_rest) in enumerate(WBS)}
    work_hours = sum(a.dur for a in acts.values()) // 60
    w.table("PROJECT", F_PROJECT, [blank(
        F_PROJECT, proj_id=PROJ_ID, fy_start_month_num=1, rsrc_self_add_flag="Y",
        allow_complete_flag="Y", rsrc_multi_assign_flag="Y", checkout_flag="N",
        project_flag="Y", step_complete_flag="N", cost_qty_recalc_flag="N", batch_sum_flag="Y",
        name_sep_char=".", def_complete_pct_type="CP_Drtn", proj_short_name=PROJ_SHORT,
        clndr_id=CAL5.id, task_code_base=1000, task_code_step=10, priority_num=10,
        wbs_max_sum_level=0, strgy_priority_num=100, critical_drtn_hr_cnt=0,
        def_cost_per_qty="0.00", last_recalc_date=fmt_time(DATA_DATE),
        plan_start_date=fmt_time(PROJECT_START), plan_end_date="", scd_end_date=fmt_time(finish),
        add_date=CREATED, def_duration_type="DT_FixedDUR2", task_code_prefix="A",
        guid=guid("PROJECT", PROJ_ID), def_qty_type="QT_Hour", add_by_name="admin",
        def_rate_type="COST_PER_QTY", add_act_remain_flag="N", act_this_per_link_flag="Y",
        def_task_type="TT_Task", act_pct_link_flag="N", critical_path_type="CT_TotFloat",
        task_code_prefix_flag="Y", def_rollup_dates_flag="Y", use_project_baseline_flag="Y",
        rem_target_link_flag="Y", reset_planned_flag="N", allow_neg_act_flag="N",
        sum_assign_level="SL_Taskrsrc", last_checksum=work_hours, loaded_scope_level=7,
        export_flag="Y", next_data_date=fmt_time(DATA_DATE), close_period_flag="N")])

    w.table("CALENDAR", F_CALENDAR, [blank(
        F_CALENDAR, clndr_id=c.id, default_flag=flag(c.default), clndr_name=c.name,
        proj_id="", base_clndr_id=c.base.id if c.base else "",
        last_chng_date="2025-02-10 09:00", clndr_type=c.type, day_hr_cnt=8,
        week_hr_cnt=56 if c is CAL7 else 40, month_hr_cnt=243 if c is CAL7 else 172,
        year_hr_cnt=2920 if c is CAL7 else 2000, rsrc_private="N", clndr_data=c.data_text())
        for c in CALENDARS])

    wbs_rows = []
    for n, (key, short, name, parent, obs) in enumerate(WBS):
        siblings = [k for k, _s, _n, p, _o in WBS if p == parent]
        seq = siblings.index(key) + 1 if parent else 0
        wbs_rows.append(blank(
            F_PROJWBS, wbs_id=wbs_ids[key], proj_id=PROJ_ID, obs_id=obs, seq_num=seq * 10,
            est_wt=1, proj_node_flag=flag(parent is None), sum_data_flag="Y",
            status_code="WS_Open", wbs_short_name=PROJ_SHORT if parent is None else short,
            wbs_name=name, parent_wbs_id=wbs_ids[parent] if parent else "", ev_user_pct=6,
            ev_etc_user_value="0.88", orig_cost="0.00", indep_remain_total_cost="0.00",
            dscnt_period_type="Month", indep_remain_work_qty=0, ev_compute_type="EC_Cmp_pct",
            ev_etc_compute_type="EE_Rem_hr", guid=guid("PROJWBS", key), plan_open_state=""))
    w.table("PROJWBS", F_PROJWBS, wbs_rows)

    rsrc = {key: (rid, rtype) for key, rid, _p, _n, rtype, *_r in RESOURCES}
    price = {key: p for key, *_r, p in RESOURCES}
    w.table("RSRC", F_RSRC, [blank(
        F_RSRC, rsrc_id=rid, parent_rsrc_id=rsrc[parent][0] if parent else "", clndr_id=cal.id,
        guid=guid("RSRC", rid), rsrc_seq_num=n * 10, rsrc_name=name,
        rsrc_short_name=key, employee_code="E%03d" % n if rtype == "RT_Labor" and parent else "",
        def_qty_per_hr=1, cost_qty_type="QT_Hour", ot_factor=1.5 if rtype == "RT_Labor" else "",
        active_flag="Y", auto_compute_act_flag="Y", def_cost_qty_link_flag="Y", ot_flag="N",
        curr_id=1, unit_id=unit or "", rsrc_type=rtype, load_tasks_flag="",
        level_flag="N", last_checksum="")
        for n, (key, rid, parent, name, rtype, cal, unit, _p) in enumerate(RESOURCES)])

    w.table("RSRCRATE", F_RSRCRATE, [blank(
        F_RSRCRATE, rsrc_rate_id=801 + n, rsrc_id=rid, max_qty_per_hr=1 if rtype != "RT_Mat"
        else "", cost_per_qty=money(p), start_date="2025-01-01 00:00", cost_per_qty2="0.00",
        cost_per_qty3="0.00", cost_per_qty4="0.00", cost_per_qty5="0.00")
        for n, (key, rid, _pa, _nm, rtype, _c, _u, p) in enumerate(RESOURCES) if p > 0])

    w.table("ACTVTYPE", F_ACTVTYPE, [blank(
        F_ACTVTYPE, actv_code_type_id=tid, actv_short_len=length, seq_num=n * 10,
        actv_code_type=name, proj_id=PROJ_ID if scope == "AS_Project" else "",
        actv_code_type_scope=scope, super_flag="N")
        for n, (tid, name, scope, length, _v) in enumerate(CODE_TYPES)])

    code_assign = []  # (activity, type id, value id)
    for c in [x[0] for x in ACTIVITIES]:
        a = acts[c]
        area = area_of(c, a.wbs, a.name)
        if area:
            code_assign.append((a, 71, area))
        code_assign.append((a, 72, phase_of(c, a.wbs)))
    uses = {}
    for _a, _t, v in code_assign:
        uses[v] = uses.get(v, 0) + 1
    w.table("ACTVCODE", F_ACTVCODE, [blank(
        F_ACTVCODE, actv_code_id=vid, parent_actv_code_id=parent or "", actv_code_type_id=tid,
        actv_code_name=name, short_name=short, seq_num=n * 10, color="", total_assignments=
        uses.get(vid, 0))
        for tid, _tn, _s, _l, values in CODE_TYPES
        for n, (vid, short, name, parent) in enumerate(values)])

    # Assignment quantities, also summed into the activity's units.
    assignments = []
    for c in [x[0] for x in ACTIVITIES]:
        a = acts[c]
        a.work = [0.0, 0.0, 0.0]   # labour: actual, remaining, planned
        a.equip = [0.0, 0.0, 0.0]  # nonlabour
        a.primary = ""
        done_h = (a.dur - a.rem) / 60.0
        rem_h, dur_h = a.rem / 60.0, a.dur / 60.0
        for key, amount in ASSIGNMENTS.get(c, []):
            rid, rtype = rsrc[key]
            per_hr = amount / dur_h if rtype == "RT_Mat" else float(amount)
            if a.status == "active":
                # A late activity's remaining units follow its longer remainder.
                target, actual = per_hr * dur_h, per_hr * done_h
                remain = per_hr * rem_h
            else:
                target = per_hr * dur_h
                actual = target if a.status == "done" else 0.0
                remain = 0.0 if a.status == "done" else target
            if rtype == "RT_Labor":
                bucket = a.work
                a.primary = a.primary or rid
            elif rtype == "RT_Equip":
                bucket = a.equip
            else:
                bucket = None
            if bucket is not None:
                bucket[0] += actual
                bucket[1] += remain
                bucket[2] += target
            assignments.append((a, key, rid, rtype, per_hr, target, actual, remain))

    task_rows = []
    for c in [x[0] for x in ACTIVITIES]:
        a = acts[c]
        done, active = a.status == "done", a.status == "active"
        if done:
            pct = 100
        elif active:
            # Duration percent: the part done of the whole as now expected.
            pct = round(100.0 * a.done / (a.done + a.rem))
        else:
            pct = 0
        ttype = {"T": "TT_Task", "S": "TT_Mile", "F": "TT_FinMile"}[a.kind]
        status = {"done": "TK_Complete", "active": "TK_Active", "todo": "TK_NotStart"}[a.status]
        cstr = CONSTRAINTS.get(c)
        task_rows.append(blank(
            F_TASK, task_id=a.id, proj_id=PROJ_ID, wbs_id=wbs_ids[a.wbs], clndr_id=a.cal.id,
            phys_complete_pct=pct, rev_fdbk_flag="N", est_wt=1, lock_plan_flag="N",
            auto_compute_act_flag="N", complete_pct_type="CP_Drtn", task_type=ttype,
            duration_type="DT_FixedDUR2", status_code=status, task_code=c, task_name=a.name,
            rsrc_id=a.primary, total_float_hr_cnt=hours(a.tf), free_float_hr_cnt=hours(a.ff),
            remain_drtn_hr_cnt=hours(a.rem), act_work_qty=num(a.work[0]),
            remain_work_qty=num(a.work[1]), target_work_qty=num(a.work[2]),
            target_drtn_hr_cnt=hours(a.dur), target_equip_qty=num(a.equip[2]),
            act_equip_qty=num(a.equip[0]), remain_equip_qty=num(a.equip[1]),
            cstr_date=fmt_time(cstr[1]) if cstr else "",
            act_start_date=fmt_time(a.act_start), act_end_date=fmt_time(a.act_end),
            late_start_date=fmt_time(a.ls), late_end_date=fmt_time(a.lf),
            early_start_date=fmt_time(a.es), early_end_date=fmt_time(a.ef),
            restart_date="" if done else fmt_time(a.es),
            reend_date="" if done else fmt_time(a.ef),
            target_start_date=fmt_time(a.plan_start), target_end_date=fmt_time(a.plan_end),
            rem_late_start_date="" if done else fmt_time(a.ls),
            rem_late_end_date="" if done else fmt_time(a.lf),
            cstr_type=cstr[0] if cstr else "", priority_type="PT_Normal",
            guid=guid("TASK", c), driving_path_flag=flag(not done and a.tf <= 0),
            act_this_per_work_qty=0, act_this_per_equip_qty=0, create_date=CREATED,
            update_date=UPDATED, create_user=PLANNER, update_user=PLANNER))
    w.table("TASK", F_TASK, task_rows)

    w.table("TASKACTV", F_TASKACTV, [blank(
        F_TASKACTV, task_id=a.id, actv_code_type_id=t, actv_code_id=v, proj_id=PROJ_ID)
        for a, t, v in code_assign])

    pred_rows = []
    for a in [acts[x[0]] for x in ACTIVITIES]:
        for p, typ, lag in a.preds:
            pred_rows.append(blank(
                F_TASKPRED, task_pred_id=20001 + len(pred_rows), task_id=a.id,
                pred_task_id=acts[p].id, proj_id=PROJ_ID, pred_proj_id=PROJ_ID,
                pred_type="PR_" + typ, lag_hr_cnt=lag * HOURS_PER_DAY))
    w.table("TASKPRED", F_TASKPRED, pred_rows)

    step_rows = []
    for c, names in STEPS.items():
        a = acts[c]
        done_steps = (len(names) if a.status == "done" else
                      len(names) * a.done // (a.done + a.rem) if a.status == "active" else 0)
        for n, name in enumerate(names):
            complete = n < done_steps
            # The step in hand when the data date came is partly done.
            partial = 50 if a.status == "active" and n == done_steps else 0
            step_rows.append(blank(
                F_TASKPROC, proc_id=40001 + len(step_rows), task_id=a.id, proj_id=PROJ_ID,
                seq_num=(n + 1) * 10, proc_name=name, complete_flag=flag(complete), proc_wt=1,
                complete_pct=100 if complete else partial, proc_descr=""))
    w.table("TASKPROC", F_TASKPROC, step_rows)

    rsrc_rows = []
    for a, key, rid, rtype, per_hr, target, actual, remain in assignments:
        p = price[key]
        done = a.status == "done"
        rsrc_rows.append(blank(
            F_TASKRSRC, taskrsrc_id=30001 + len(rsrc_rows), task_id=a.id, proj_id=PROJ_ID,
            cost_qty_link_flag="Y", rsrc_id=rid, remain_qty=num(remain), target_qty=num(target),
            remain_qty_per_hr=num(0 if done else per_hr, 4), target_lag_drtn_hr_cnt=0,
            target_qty_per_hr=num(per_hr, 4), act_ot_qty=0, act_reg_qty=num(actual),
            relag_drtn_hr_cnt=0, ot_factor="", cost_per_qty=money(p),
            target_cost=money(target * p), act_reg_cost=money(actual * p), act_ot_cost="0.00",
            remain_cost=money(remain * p), act_start_date=fmt_time(a.act_start),
            act_end_date=fmt_time(a.act_end), restart_date="" if done else fmt_time(a.es),
            reend_date="" if done else fmt_time(a.ef), target_start_date=fmt_time(a.plan_start),
            target_end_date=fmt_time(a.plan_end),
            rem_late_start_date="" if done else fmt_time(a.ls),
            rem_late_end_date="" if done else fmt_time(a.lf), rollup_dates_flag="Y",
            ts_pend_act_end_flag="N", guid=guid("TASKRSRC", a.code, key),
            rate_type="COST_PER_QTY", act_this_per_cost="0.00", act_this_per_qty=0,
            rsrc_type=rtype, cost_per_qty_source_type="ST_Rsrc", create_user=PLANNER,
            create_date=CREATED, has_rsrchours="N"))
    w.table("TASKRSRC", F_TASKRSRC, rsrc_rows)

    udf_rows = []

    def udf(tid, fk, **values):
        udf_rows.append(blank(F_UDFVALUE, udf_type_id=tid, fk_id=fk, proj_id=PROJ_ID, **values))

    for c in [x[0] for x in ACTIVITIES]:
        a = acts[c]
        if c in ("A1230", "A1260", "A1310", "A1340", "A1370"):
            # The engineer inspects the reinforcement on the second day.
            udf(901, a.id, udf_date=fmt_time(a.cal.add_work(a.es if a.status != "done"
                                                            else a.act_start, 8 * 60)))
        if c in KEY_DATES:
            udf(902, a.id, udf_date=KEY_DATES[c])
        if c in SUBCONTRACTORS:
            udf(903, a.id, udf_text=SUBCONTRACTORS[c])
        if c in WEIGHTS:
            udf(904, a.id, udf_number=num(WEIGHTS[c]))
        if c in ASSIGNMENTS:
            crew = sum(n for k, n in ASSIGNMENTS[c] if rsrc[k][1] == "RT_Labor")
            if crew:
                udf(906, a.id, udf_number=crew)
        if c in RISK:
            udf(907, a.id, udf_text=RISK[c])
    for key, amount in CONTINGENCY.items():
        udf(905, wbs_ids[key], udf_number=money(amount))
    udf(908, PROJ_ID, udf_text="Harriet Okafor (Northgate Estates)")
    w.table("UDFVALUE", F_UDFVALUE, udf_rows)

    w.lines.append("%E")
    return w.data(), w.counts


# --------------------------------------------------------------------------
# Checking a written file


def read_xer(data):
    """The file as {table: (fields, [row dicts])}, read the simple way."""
    text = data.decode("latin-1")
    lines = text.split("\r\n")
    assert lines[0].split("\t")[0] == "ERMHDR", "first line is not ERMHDR"
    tables, current = {}, None
    for line in lines[1:]:
        tokens = line.split("\t")
        if tokens[0] == "%E":
            break
        if tokens[0] == "%T":
            current = tokens[1]
            assert current not in tables, "table %s twice" % current
            tables[current] = ([], [])
        elif tokens[0] == "%F":
            tables[current][0].extend(tokens[1:])
        elif tokens[0] == "%R":
            fields = tables[current][0]
            assert len(tokens) - 1 == len(fields), \
                "%s row has %d values for %d fields" % (current, len(tokens) - 1, len(fields))
            tables[current][1].append(dict(zip(fields, tokens[1:])))
    return tables


def check(data):
    problems = []

    def expect(cond, message):
        if not cond:
            problems.append(message)

    expect(data.endswith(b"%E\r\n"), "the file does not end with %E")
    expect(b"\n" not in data.replace(b"\r\n", b""), "a line does not end with CR LF")
    t = read_xer(data)
    rows = {name: r for name, (_f, r) in t.items()}
    tasks = {r["task_id"]: r for r in rows["TASK"]}
    wbs = {r["wbs_id"]: r for r in rows["PROJWBS"]}
    cals = {r["clndr_id"] for r in rows["CALENDAR"]}
    rsrcs = {r["rsrc_id"] for r in rows["RSRC"]}
    codes = {r["actv_code_id"]: r for r in rows["ACTVCODE"]}

    expect(len(tasks) >= 60, "fewer than 60 activities")
    expect(len(tasks) == len(rows["TASK"]), "repeated task_id")
    expect(len({r["task_code"] for r in rows["TASK"]}) == len(tasks), "repeated task_code")
    kinds = {r["task_type"] for r in rows["TASK"]}
    expect({"TT_Mile", "TT_FinMile", "TT_Task"} <= kinds, "milestones or tasks missing")
    statuses = {r["status_code"] for r in rows["TASK"]}
    expect(statuses == {"TK_Complete", "TK_Active", "TK_NotStart"},
           "not every status present: %s" % sorted(statuses))
    expect(len(rows["PROJECT"]) == 1, "not one project")
    data_date = rows["PROJECT"][0]["last_recalc_date"]

    # WBS: one project node, three levels, activities on existing elements.
    nodes = [w for w in wbs.values() if w["proj_node_flag"] == "Y"]
    expect(len(nodes) == 1 and nodes[0]["parent_wbs_id"] == "", "not one WBS project node")

    def depth(w):
        d = 1
        while w["parent_wbs_id"]:
            w = wbs[w["parent_wbs_id"]]
            d += 1
        return d
    expect(max(depth(w) for w in wbs.values()) == 3, "the WBS is not three levels deep")
    for r in rows["TASK"]:
        expect(r["wbs_id"] in wbs, "%s: no WBS element %s" % (r["task_code"], r["wbs_id"]))
        expect(r["clndr_id"] in cals, "%s: no calendar" % r["task_code"])
        expect(r["rsrc_id"] == "" or r["rsrc_id"] in rsrcs, "%s: no resource" % r["task_code"])
        # Status and dates agree with the data date (the texts sort as dates).
        st, a_s, a_e = r["status_code"], r["act_start_date"], r["act_end_date"]
        if st == "TK_Complete":
            expect(a_s and a_e and a_s <= a_e <= data_date, "%s: bad actuals" % r["task_code"])
        elif st == "TK_Active":
            expect(a_s and a_s < data_date and not a_e, "%s: bad progress" % r["task_code"])
            expect(r["early_start_date"] >= data_date, "%s: remaining work before the data "
                   "date" % r["task_code"])
        else:
            expect(not a_s and not a_e and r["early_start_date"] >= data_date,
                   "%s: not started but dated before the data date" % r["task_code"])
        if st != "TK_Complete":
            expect(r["early_start_date"] <= r["early_end_date"] and
                   r["late_start_date"] <= r["late_end_date"] and
                   r["early_end_date"] <= r["late_end_date"] and
                   float(r["total_float_hr_cnt"]) >= 0,
                   "%s: early and late dates disagree" % r["task_code"])
    for c in cals:
        expect(any(r["clndr_id"] == c for r in rows["TASK"]) or
               any(r["clndr_id"] == c for r in rows["RSRC"]), "calendar %s unused" % c)

    # Relationships: existing activities, an acyclic network, dates honoured.
    succs = {}
    for r in rows["TASKPRED"]:
        expect(r["task_id"] in tasks and r["pred_task_id"] in tasks,
               "relationship %s names a missing activity" % r["task_pred_id"])
        succs.setdefault(r["pred_task_id"], []).append(r["task_id"])
        p, s = tasks.get(r["pred_task_id"]), tasks.get(r["task_id"])
        if p and s and r["pred_type"] == "PR_FS" and r["lag_hr_cnt"] == "0":
            pf = p["act_end_date"] or p["early_end_date"]
            ss = s["act_start_date"] or s["early_start_date"]
            expect(pf <= ss, "%s starts before %s finishes" % (s["task_code"], p["task_code"]))
    expect({r["pred_type"] for r in rows["TASKPRED"]} == {"PR_FS", "PR_SS", "PR_FF", "PR_SF"},
           "not every relationship type used")
    expect(any(r["lag_hr_cnt"] != "0" for r in rows["TASKPRED"]), "no lags")
    state = {}

    def visit(n):
        state[n] = 1
        for s in succs.get(n, []):
            if state.get(s) == 1:
                problems.append("the relationships form a loop through %s" % tasks[s]["task_code"])
            elif s not in state:
                visit(s)
        state[n] = 2
    for n in tasks:
        if n not in state:
            visit(n)

    # Resources, codes and user fields name what exists.
    for r in rows["TASKRSRC"]:
        expect(r["task_id"] in tasks and r["rsrc_id"] in rsrcs,
               "assignment %s dangles" % r["taskrsrc_id"])
    expect({r["rsrc_type"] for r in rows["RSRC"]} == {"RT_Labor", "RT_Equip", "RT_Mat"},
           "not every resource type")
    for r in rows["RSRCRATE"]:
        expect(r["rsrc_id"] in rsrcs, "price %s dangles" % r["rsrc_rate_id"])
    for r in rows["TASKACTV"]:
        code = codes.get(r["actv_code_id"])
        expect(r["task_id"] in tasks and code is not None and
               code["actv_code_type_id"] == r["actv_code_type_id"],
               "code assignment of %s dangles" % r["task_id"])
    expect(len(rows["ACTVTYPE"]) == 2, "not two activity code types")
    udf_types = {r["udf_type_id"]: r for r in rows["UDFTYPE"]}
    expect({r["logical_data_type"] for r in rows["UDFTYPE"]} >=
           {"FT_START_DATE", "FT_END_DATE", "FT_TEXT", "FT_FLOAT_2_DECIMALS", "FT_MONEY",
            "FT_INT", "FT_STATICTYPE"}, "a logical type lacks a user field")
    owners = {"TASK": set(tasks), "PROJWBS": set(wbs), "PROJECT": {str(PROJ_ID)}}
    for r in rows["UDFVALUE"]:
        ut = udf_types.get(r["udf_type_id"])
        expect(ut is not None and r["fk_id"] in owners[ut["table_name"]],
               "user field value %s/%s dangles" % (r["udf_type_id"], r["fk_id"]))
    for r in rows["TASKPROC"]:
        expect(r["task_id"] in tasks, "step %s dangles" % r["proc_id"])
    for name in ("CURRTYPE", "OBS", "TASKPROC", "TASKRSRC", "UDFVALUE"):
        expect(len(rows[name]) > 0, "no %s rows" % name)
    return problems, {name: len(r) for name, r in rows.items()}


def main(argv):
    out = DEFAULT_OUT
    if "--out" in argv:
        out = argv[argv.index("--out") + 1]
    data, counts = generate()
    if "--check" in argv:
        try:
            with open(out, "rb") as f:
                on_disk = f.read()
        except OSError:
            print("make_demo: %s is missing" % out)
            return 1
        problems, counts = check(on_disk)
        if on_disk != data:
            problems.append("%s differs from a fresh run of the script" % out)
        for p in problems:
            print("make_demo: " + p)
        print(", ".join("%s %d" % kv for kv in counts.items()))
        return 1 if problems else 0
    os.makedirs(os.path.dirname(out) or ".", exist_ok=True)
    with open(out, "wb") as f:
        f.write(data)
    print("wrote %s: %s" % (out, ", ".join("%s %d" % kv for kv in counts.items())))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
