// Writes small valid inputs for every fuzz target under OUTDIR/<target>/:
// shapes that the sample files do not hold on their own (a minimal linked
// schedule, calendar data with exceptions, each key-and-value file through
// its own writer, a layout of each view).
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "config/settings.h"

namespace fs = std::filesystem;

namespace {

void put(const fs::path& dir, const std::string& name, const std::string& bytes) {
  fs::create_directories(dir);
  std::ofstream(dir / name, std::ios::binary) << bytes;
}

const char* const calendar =
    "(0||CalendarData()((0||DaysOfWeek()((0||1()())(0||2()((0||0(s|08:00|f|12:00)())"
    "(0||1(s|13:00|f|17:00)())))(0||7()()))) (0||VIEW(ShowTotal|Y)())"
    "(0||Exceptions()((0||0(d|43831)())(0||1(d|43832)((0||0(s|09:00|f|11:00)()))))))";

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: fuzz_seeds OUTDIR\n");
    return 2;
  }
  const fs::path out = argv[1];

  const std::string head = "ERMHDR\t20.12\t2025-09-01\tProject\n";
  put(out / "fuzz_xer", "linked.xer",
      head +
          "%T\tCALENDAR\n%F\tclndr_id\tbase_clndr_id\tclndr_name\tclndr_data\n"
          "%R\t1\t\tStandard\t" + calendar + "\n%R\t2\t1\tNight\t(0||CalendarData()())\n"
          "%T\tPROJECT\n%F\tproj_id\tproj_short_name\tclndr_id\n%R\t10\tP1\t1\n"
          "%T\tPROJWBS\n%F\twbs_id\tproj_id\tparent_wbs_id\tproj_node_flag\twbs_short_name\n"
          "%R\t100\t10\t\tY\tP1\n%R\t101\t10\t100\tN\tA\n%R\t102\t10\t101\tN\tB\n"
          "%T\tTASK\n%F\ttask_id\tproj_id\twbs_id\tclndr_id\ttask_code\tstatus_code\ttask_type\tcstr_type"
          "\tact_start_date\tact_end_date\trestart_date\treend_date\ttarget_drtn_hr_cnt\n"
          "%R\t1000\t10\t102\t1\tA1\tTK_Complete\tTT_Task\tCS_MSO\t2020-01-06 08:00\t2020-01-08 17:00\t\t\t24\n"
          "%R\t1001\t10\t101\t2\tA2\tTK_Active\tTT_FinMile\t\t2020-01-09 08:00\t\t2020-01-09 08:00"
          "\t2020-01-20 17:00\t0\n"
          "%T\tTASKPRED\n%F\ttask_pred_id\ttask_id\tpred_task_id\tproj_id\tpred_proj_id\tpred_type\tlag_hr_cnt\n"
          "%R\t1\t1001\t1000\t10\t10\tPR_FS\t8\n%R\t2\t1000\t1001\t10\t10\tPR_SS\t-4\n"
          "%T\tRSRC\n%F\trsrc_id\tparent_rsrc_id\trsrc_name\tclndr_id\n%R\t50\t\tCrew\t1\n%R\t51\t50\tLead\t9\n"
          "%T\tTASKRSRC\n%F\ttaskrsrc_id\ttask_id\tproj_id\trsrc_id\tremain_qty\n%R\t7\t1000\t10\t51\t16\n"
          "%T\tACTVTYPE\n%F\tactv_code_type_id\tactv_code_type\n%R\t3\tResponsible Area\n"
          "%T\tACTVCODE\n%F\tactv_code_id\tactv_code_type_id\tparent_actv_code_id\tshort_name\n"
          "%R\t30\t3\t\tN\n%R\t31\t3\t30\tNE\n"
          "%T\tTASKACTV\n%F\ttask_id\tactv_code_type_id\tactv_code_id\tproj_id\n%R\t1000\t3\t31\t10\n"
          "%T\tUDFTYPE\n%F\tudf_type_id\ttable_name\tudf_type_label\tlogical_data_type\n"
          "%R\t4\tTASK\tRisk\tFT_TEXT\n%R\t5\tTASK\tDue\tFT_START_DATE\n"
          "%T\tUDFVALUE\n%F\tudf_type_id\tfk_id\tproj_id\tudf_text\tudf_date\n"
          "%R\t4\t1000\t10\thigh\t\n%R\t5\t1001\t10\t\t2020-02-01 00:00\n%E\n");
  put(out / "fuzz_xer", "crlf.xer", "ERMHDR\r\n%T\tTASK\r\n%F\ttask_id\ttask_code\r\n%R\t1\tX\t\tZ\r\n%R\t%F\t2\r\n");

  put(out / "fuzz_node_text", "calendar.txt", calendar);
  put(out / "fuzz_node_text", "layout.txt",
      "(50000000||Layout(view_type|VP_ACT|view_name|Seed)((0||Columns()((0||task_code(width|90)())))))");

  // The settings file as the program writes it, then the column file form;
  // the first byte picks the reader.
  const fs::path settings = out / "settings.tmp";
  tessel::config::reset_settings();
  tessel::config::SaveSettings(settings);
  std::string text;
  {
    std::ifstream in(settings, std::ios::binary);
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  fs::remove(settings);
  put(out / "fuzz_key_value", "settings.cfg", std::string(1, '\0') + text);
  put(out / "fuzz_key_value", "columns.cfg", "\x01task_code:90\ntask_name:250.5\r\nstatus_code:60\ttotal_float_hr_cnt:70\n");
  put(out / "fuzz_key_value", "pred_columns.cfg", "\x02pred_type:80\nlag_hr_cnt:60\n");

  put(out / "fuzz_layout", "seed.tlf",
      "(50000000||Layout(view_type|VP_WBS|view_name|Seed)((0||Columns()((0||wbs_short_name(width|90)())))))");
  return 0;
}
