// Projects, WBS elements and the organisational breakdown structure.
#pragma once

#include "document/records/records_common.h"

namespace tessel::document {

#define TESSEL_OBS_MEMBERS(X)           \
  X(obs_id, id, s_unsigned_long)        \
  X(parent_obs_id, id, s_unsigned_long) \
  X(seq_num, whole, s_int)              \
  X(obs_name, text, s_string)           \
  X(guid, text, s_string)               \
  X(obs_descr, text, s_string)

// An element of the organisational breakdown structure (a responsible
// manager).
struct OBS {
  TESSEL_OBS_MEMBERS(TESSEL_DECLARE_MEMBER)

  OBS* parent = nullptr;
  std::vector<OBS*> children;
  std::vector<PROJWBS*> wbs;  // the WBS elements it is responsible for

  static std::span<const member_desc> members();
};

// The figures rolled up over activities that WBS elements and projects
// both show.
#define TESSEL_ROLLUP_MEMBERS(X)                  \
  X(task_cnt, derived, s_int)                     \
  X(complete_cnt, derived, s_int)                 \
  X(active_cnt, derived, s_int)                   \
  X(notstarted_cnt, derived, s_int)               \
  X(act_start_date, derived, s_date)              \
  X(act_end_date, derived, s_date)                \
  X(start_date, derived, s_date)                  \
  X(end_date, derived, s_date)                    \
  X(restart_date, derived, s_date)                \
  X(reend_date, derived, s_date)                  \
  X(total_drtn_hr_cnt, derived, s_dur)            \
  X(remain_drtn_hr_cnt, derived, s_dur)           \
  X(act_work_qty, derived, s_unit)                \
  X(act_equip_qty, derived, s_unit)               \
  X(act_this_per_work_qty, derived, s_unit)       \
  X(act_this_per_equip_qty, derived, s_unit)      \
  X(remain_work_qty, derived, s_unit)             \
  X(remain_equip_qty, derived, s_unit)

#define TESSEL_PROJWBS_MEMBERS(X)                       \
  X(wbs_id, id, s_unsigned_long)                        \
  X(proj_id, id, s_unsigned_long)                       \
  X(obs_id, id, s_unsigned_long)                        \
  X(phase_id, id, s_unsigned_long)                      \
  X(parent_wbs_id, id, s_unsigned_long)                 \
  X(seq_num, whole, s_int)                              \
  X(est_wt, number, s_double)                           \
  X(proj_node_flag, flag, s_bool)                       \
  X(sum_data_flag, flag, s_bool)                        \
  X(status_code, enumeration, s_project_status)         \
  X(wbs_short_name, text, s_string)                     \
  X(wbs_name, text, s_string)                           \
  X(ev_user_pct, whole, s_int)                          \
  X(ev_etc_user_value, number, s_double)                \
  X(orig_cost, cost, s_cost)                            \
  X(indep_remain_total_cost, cost, s_cost)              \
  X(dscnt_period_type, text, s_string)                  \
  X(indep_remain_work_qty, qty, s_unit)                 \
  X(anticip_start_date, date, s_date)                   \
  X(anticip_end_date, date, s_date)                     \
  X(ev_compute_type, text, s_string)                    \
  X(ev_etc_compute_type, text, s_string)                \
  X(guid, text, s_string)                               \
  X(tmpl_guid, text, s_string)                          \
  /* Filled after linking. */                           \
  X(wbs_path, derived, s_string)                        \
  X(node_type, derived, s_node_type)                    \
  TESSEL_ROLLUP_MEMBERS(X)

// A WBS element.
struct PROJWBS {
  TESSEL_PROJWBS_MEMBERS(TESSEL_DECLARE_MEMBER)
  bool top_element = false;  // has no parent element

  // Set by linking.
  PROJECT* project = nullptr;
  PROJWBS* parent = nullptr;
  std::vector<PROJWBS*> children;
  OBS* obs = nullptr;  // the responsible manager
  std::vector<TASK*> tasks;

  static std::span<const member_desc> members();
};

#define TESSEL_PROJECT_MEMBERS(X)                       \
  X(proj_id, id, s_unsigned_long)                       \
  X(acct_id, id, s_unsigned_long)                       \
  X(orig_proj_id, id, s_unsigned_long)                  \
  X(source_proj_id, id, s_unsigned_long)                \
  X(base_type_id, id, s_unsigned_long)                  \
  X(clndr_id, id, s_unsigned_long)                      \
  X(sum_base_proj_id, id, s_unsigned_long)              \
  X(rsrc_id, id, s_unsigned_long)                       \
  X(checkout_user_id, id, s_unsigned_long)              \
  X(last_fin_dates_id, id, s_unsigned_long)             \
  X(fy_start_month_num, whole, s_int)                   \
  X(task_code_base, whole, s_int)                       \
  X(task_code_step, whole, s_int)                       \
  X(priority_num, whole, s_int)                         \
  X(wbs_max_sum_level, whole, s_int)                    \
  X(strgy_priority_num, whole, s_int)                   \
  X(last_checksum, whole, s_int)                        \
  X(chng_eff_cmp_pct_flag, flag, s_bool)                \
  X(rsrc_self_add_flag, flag, s_bool)                   \
  X(allow_complete_flag, flag, s_bool)                  \
  X(rsrc_multi_assign_flag, flag, s_bool)               \
  X(checkout_flag, flag, s_bool)                        \
  X(project_flag, flag, s_bool)                         \
  X(step_complete_flag, flag, s_bool)                   \
  X(cost_qty_recalc_flag, flag, s_bool)                 \
  X(sum_only_flag, flag, s_bool)                        \
  X(batch_sum_flag, flag, s_bool)                       \
  X(act_this_per_link_flag, flag, s_bool)               \
  X(act_pct_link_flag, flag, s_bool)                    \
  X(add_act_remain_flag, flag, s_bool)                  \
  X(task_code_prefix_flag, flag, s_bool)                \
  X(def_rollup_dates_flag, flag, s_bool)                \
  X(rem_target_link_flag, flag, s_bool)                 \
  X(reset_planned_flag, flag, s_bool)                   \
  X(allow_neg_act_flag, flag, s_bool)                   \
  X(msp_managed_flag, flag, s_bool)                     \
  X(msp_update_actuals_flag, flag, s_bool)              \
  X(use_project_baseline_flag, flag, s_bool)            \
  X(ts_rsrc_vw_compl_asgn_flag, flag, s_bool)           \
  X(ts_rsrc_mark_act_finish_flag, flag, s_bool)         \
  X(ts_rsrc_vw_inact_actv_flag, flag, s_bool)           \
  X(name_sep_char, text, s_string)                      \
  X(def_complete_pct_type, text, s_string)              \
  X(proj_short_name, text, s_string)                    \
  X(risk_level, text, s_string)                         \
  X(def_duration_type, text, s_string)                  \
  X(task_code_prefix, text, s_string)                   \
  X(guid, text, s_string)                               \
  X(def_qty_type, text, s_string)                       \
  X(add_by_name, text, s_string)                        \
  X(web_local_root_path, text, s_string)                \
  X(proj_url, text, s_string)                           \
  X(def_task_type, text, s_string)                      \
  X(critical_path_type, text, s_string)                 \
  X(sum_assign_level, text, s_string)                   \
  X(cr_external_key, text, s_string)                    \
  X(intg_proj_type, text, s_string)                     \
  X(critical_drtn_hr_cnt, hours, s_dur)                 \
  X(def_cost_per_qty, cost, s_cost)                     \
  X(def_rate_type, enumeration, s_rate_type)            \
  X(last_recalc_date, date, s_date)                     \
  X(plan_start_date, date, s_date)                      \
  X(plan_end_date, date, s_date)                        \
  X(scd_end_date, date, s_date)                         \
  X(add_date, date, s_date)                             \
  X(fcst_start_date, date, s_date)                      \
  X(checkout_date, date, s_date)                        \
  X(apply_actuals_date, date, s_date)                   \
  /* Filled after linking. */                           \
  X(node_type, derived, s_node_type)                    \
  TESSEL_ROLLUP_MEMBERS(X)

// A project. The columns sum_data_date, last_tasksum_date and
// last_baseline_update_date are known but not kept.
struct PROJECT {
  PROJECT() { node_type.code = 1; }  // a project is a Project node

  TESSEL_PROJECT_MEMBERS(TESSEL_DECLARE_MEMBER)

  // Set by linking.
  CALENDAR* calendar = nullptr;  // the default calendar
  PROJWBS* top_wbs = nullptr;
  std::vector<PROJWBS*> wbs;
  std::vector<TASK*> tasks;

  static std::span<const member_desc> members();
};

}  // namespace tessel::document
