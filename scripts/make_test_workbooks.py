#!/usr/bin/python3
"""Writes the small spreadsheet workbooks (Excel 97-2003) the workbook import
tests read, into tests/data/xls. Deterministic: running it again gives the
same sheets. Needs the system python3-xlwt package (/usr/bin/python3).

    /usr/bin/python3 scripts/make_test_workbooks.py [OUTPUT_DIR]
"""
import datetime
import os
import sys

import xlwt

OUT = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
    os.path.dirname(os.path.abspath(__file__)), "..", "tests", "data", "xls")

DATE_TIME = xlwt.easyxf(num_format_str="M/D/YYYY h:mm:ss AM/PM")
DATE_ONLY = xlwt.easyxf(num_format_str="YYYY-MM-DD")

USER_DATA_DAYS = ("DurationQtyType=QT_Day\nShowAsPercentage=0\n"
                  "SmallScaleQtyType=QT_Hour\nDateFormat=dd/MM/yyyy\nCurrencyFormat=US Dollar")


def sheet(book, name, header, captions, rows):
    """A sheet laid out as the export lays it out: field names, captions, data."""
    ws = book.add_sheet(name)
    for c, h in enumerate(header):
        ws.write(0, c, h)
    for c, h in enumerate(captions):
        ws.write(1, c, h)
    for r, row in enumerate(rows, start=2):
        for c, v in enumerate(row):
            if v is None:
                continue
            if isinstance(v, datetime.datetime):
                ws.write(r, c, v, DATE_TIME)
            elif isinstance(v, datetime.date):
                ws.write(r, c, v, DATE_ONLY)
            else:
                ws.write(r, c, v)
    return ws


def user_data(book, text=USER_DATA_DAYS):
    ws = book.add_sheet("USERDATA")
    ws.write(0, 0, "user_data")
    ws.write(1, 0, "UserSettings Do Not Edit")
    ws.write(2, 0, text)


def full_export(path):
    """A workbook shaped like a full export of one project."""
    book = xlwt.Workbook(encoding="utf-8")
    task_header = [
        "task_code", "task_name", "status_code", "task_type", "duration_type", "complete_pct_type",
        "cstr_type", "priority_type", "wbs_id", "wbs_name", "project__proj_short_name",
        "project__proj_name", "start_date", "end_date", "act_start_date", "act_end_date",
        "target_drtn_hr_cnt", "remain_drtn_hr_cnt", "total_float_hr_cnt", "target_work_qty",
        "total_cost", "bcwp", "complete_pct", "rev_fdbk_flag", "lock_plan_flag", "critical_flag",
        "driving_path_flag", "float_path", "user_field_12", "user_field_0", "actv_code_7",
        "actv_code_cd_id", "_task_cnt", "_act_start_date", "_status_code", "pred_list", "succ_list"]
    task_captions = [
        "Activity ID", "Activity Name", "Activity Status", "Activity Type", "Duration Type",
        "Percent Complete Type", "Primary Constraint", "Activity Leveling Priority", "WBS Code",
        "WBS Name", "Project ID", "Project Name", "(*)Start", "(*)Finish", "Actual Start",
        "Actual Finish", "Original Duration(d)", "Remaining Duration(d)", "Total Float(d)",
        "Budgeted Labor Units(h)", "At Completion Total Cost", "Earned Value Cost",
        "Activity % Complete", "New Feedback", "Lock Remaining", "Critical", "Longest Path",
        "Float Path", "Site Contact", "Nothing", "Responsible Area", "Code Id", "", "", "",
        "(*)Predecessors", "(*)Successors"]
    task_rows = [
        ["A1000", "Excavation", "Completed", "Task Dependent", "Fixed Duration & Units",
         "Duration", "", "Normal", "OFC.SITE", "Site Works", "OFC", "Office Building",
         "1/5/2012 8:00:00 AM", datetime.datetime(2012, 1, 10, 17, 0), datetime.datetime(2012, 1, 5, 8, 0),
         datetime.datetime(2012, 1, 10, 17, 0), 5, 0, 0, 40, 1500.5, 1500.5, 100, "N", "Y", "",
         "Yes", 1, "Miller", "ignored", "North", "x", 2, datetime.datetime(2012, 1, 5, 8, 0),
         "Active", "", "A1010"],
        ["A1010", "Foundations", "In Progress", "Task Dependent", "Fixed Duration & Units",
         "Physical", "Start On or After", "2 - High", "OFC.SITE", "Site Works", "OFC",
         "Office Building", datetime.datetime(2012, 1, 11, 8, 0), "2/3/2012 5:00:00 PM",
         datetime.datetime(2012, 1, 11, 8, 0), None, 10, 6.5, -1.5, 80, "$2,000.00", 250.25, 35,
         "Y", "N", "Y", "", 1, "", "", "South", "", 2, datetime.datetime(2012, 1, 5, 8, 0),
         "Active", "A1000", "A2000, M9000"],
        ["A2000", "Steel frame", "Not Started", "Resource Dependent", "Fixed Units",
         "Units", "", "Normal", "OFC.BLD.FRAME", "Frame", "OFC", "Office Building",
         datetime.date(2012, 2, 6), datetime.datetime(2012, 3, 2, 17, 0), None, None, 20, 20, 0,
         160, 1e6, 0, 0, "", "", "", "", 2, "Weber", "", "North", "", 1, None, "Planned",
         "A1010", ""],
        ["M9000", "Building handed over", "Not Started", "Finish Milestone", "Fixed Duration & Units",
         "Duration", "Finish On or Before", "1 - Top", "OFC", "", "OFC", "Office Building",
         "3/30/2012 5:00:00 PM", "", None, None, 0, 0, 12, "", 0, 0, 0, "", "", "Y", "", "", "",
         "", "", "", 1, None, "", "A1010", ""],
    ]
    user_data(book)
    sheet(book, "TASK", task_header, task_captions, task_rows)
    sheet(book, "TASKPRED",
          ["pred_task_id", "task_id", "pred_type", "lag_hr_cnt", "predtask__task_name",
           "task__task_name", "PREDTASK__status_code", "TASK__status_code",
           "predtask__early_start_date", "task__end_date", "predtask__projwbs__wbs_full_name",
           "task__project__proj_short_name", "rsff", "arls", "row_count"],
          ["Predecessor", "Successor", "Relationship Type", "Lag(d)", "Predecessor Name",
           "Successor Name", "Predecessor Status", "Successor Status", "Predecessor Early Start",
           "Successor Finish", "Predecessor WBS", "Successor Project", "RSFF", "ARLS", "Count"],
          [["A1000", "A1010", "FS", 0, "Excavation (as exported)", "Foundations", "Completed",
            "In Progress", "1/5/2012 8:00:00 AM", "2/3/2012 5:00:00 PM", "OFC.SITE Site Works",
            "OFC", "0", "", 1],
           ["A1010", "A2000", "SS", 2, "Foundations", "Steel frame", "In Progress", "Not Started",
            "1/11/2012 8:00:00 AM", "3/2/2012 5:00:00 PM", "OFC.SITE Site Works", "OFC", "1", "",
            1],
           ["A1010", "M9000", "PR_FF", 1.5, "Foundations", "Building handed over", "In Progress",
            "Not Started", "", "", "OFC.SITE Site Works", "OFC", "", "", 1]])
    book.add_sheet("PROJCOST").write(0, 0, "cost_name")
    sheet(book, "RSRC",
          ["rsrc_short_name", "rsrc_name", "rsrc_type", "active_flag", "ot_flag", "ot_factor",
           "def_qty_per_hr", "max_qty_per_hr", "cost_per_qty", "cost_per_qty2", "curr_id",
           "clndr_id", "email_addr", "role_list", "user_field_30"],
          ["Resource ID", "Resource Name", "Resource Type", "Active", "Overtime Allowed",
           "Overtime Factor", "Default Units / Time", "Max Units / Time", "Price / Unit",
           "Price / Unit2", "Currency Name", "Calendar", "E-Mail Address", "Roles", "Badge"],
          [["CRANE", "Tower crane", "Nonlabor", "Y", "N", 1.5, 1, 1, 120, 0, "US Dollar",
            "Standard 5 Day", "", "Lifting", "B-17"],
           ["CREW", "Steel crew", "Labor", "Y", "Y", 1.5, 8, 16, 65.5, 70, "US Dollar",
            "Night shifts", "crew@example.com", "Steel, Welding", ""]])
    sheet(book, "TASKRSRC",
          ["task_id", "rsrc__rsrc_concat_name", "target_qty", "remain_qty"],
          ["Activity ID", "Resource", "Budgeted Units", "Remaining Units"],
          [["A1010", "Tower crane", 40, 20],
           ["A2000", "Steel crew", 160, 160],
           ["A2000", "CRANE", 10, 10],
           ["A9999", "Tower crane", 1, 1],
           ["A1000", "Nobody", 1, 1]])
    book.save(path)


def no_task_sheet(path):
    """The user data and a sheet whose name differs from the activity sheet's
    only in case: an empty schedule."""
    book = xlwt.Workbook(encoding="utf-8")
    user_data(book, "DurationQtyType=QT_Week\nSmallScaleQtyType=QT_Month")
    sheet(book, "Task", ["task_code"], ["Activity ID"], [["NOT-READ"]])
    book.save(path)


def no_userdata(path):
    book = xlwt.Workbook(encoding="utf-8")
    sheet(book, "TASK", ["task_code", "task_name"], ["Activity ID", "Activity Name"],
          [["A1", "One"], ["A2", "Two"]])
    book.save(path)


def stop_rule(path):
    """Relationship rows stop at the first unknown activity code; a user-data
    sheet of another shape still switches the display to exported units."""
    book = xlwt.Workbook(encoding="utf-8")
    ws = book.add_sheet("USERDATA")
    ws.write(0, 0, "user_data")
    ws.write(0, 1, "extra")
    ws.write(2, 0, "DurationQtyType=QT_Week")
    sheet(book, "TASK", ["task_code", "task_name", "wbs_id"], ["Activity ID", "Activity Name", "WBS"],
          [["A1", "One", "X.1"], ["A2", "Two", "X.2"], ["A3", "Three", "Y"], ["A1", "Duplicate", "X.1"]])
    sheet(book, "TASKPRED", ["task_id", "pred_task_id"], ["Successor", "Predecessor"],
          [["A2", "A1"], ["A3", "A2"], ["A3", "GONE"], ["A3", "A1"]])
    book.save(path)


def small_sheets(path):
    """Sheets with a header only, or with nothing at all."""
    book = xlwt.Workbook(encoding="utf-8")
    user_data(book)
    ws = book.add_sheet("TASK")
    ws.write(0, 0, "task_code")
    book.add_sheet("TASKPRED")
    sheet(book, "RSRC", ["rsrc_name"], ["Resource Name"], [])
    book.save(path)


def unicode_texts(path):
    book = xlwt.Workbook(encoding="utf-8")
    user_data(book)
    sheet(book, "TASK", ["task_code", "task_name", "wbs_id", "wbs_name"],
          ["Activity ID", "Activity Name", "WBS", "WBS Name"],
          [["Ü-1", "Grüße aus Köln", "BAU.Süd", "Südflügel"],
           ["漢-2", "東京 \U0001F3D7 crane", "BAU.Nord", "Nordflügel"]])
    book.save(path)


def main():
    os.makedirs(OUT, exist_ok=True)
    for name, make in [("full_export.xls", full_export), ("no_task_sheet.xls", no_task_sheet),
                       ("no_userdata.xls", no_userdata), ("stop_rule.xls", stop_rule),
                       ("small_sheets.xls", small_sheets), ("unicode.xls", unicode_texts)]:
        make(os.path.join(OUT, name))


if __name__ == "__main__":
    main()
