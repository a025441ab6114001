// Activities and what hangs off them: relationships, steps and resource
// assignments.
#pragma once

#include "document/records/records_common.h"

namespace tessel::document {

#define TESSEL_TASK_MEMBERS(X)                                  \
  X(task_id, id, s_unsigned_long)                               \
  X(proj_id, id, s_unsigned_long)                               \
  X(wbs_id, id, s_unsigned_long)                                \
  X(clndr_id, id, s_unsigned_long)                              \
  X(rsrc_id, id, s_unsigned_long)                               \
  X(est_wt, number, s_double)                                   \
  X(phys_complete_pct, whole, s_int)                            \
  X(rev_fdbk_flag, flag, s_bool)                                \
  X(lock_plan_flag, flag, s_bool)                               \
  X(auto_compute_act_flag, flag, s_bool)                        \
  X(driving_path_flag, flag, s_bool)                            \
  X(complete_pct_type, enumeration, s_percent_comlete_type)     \
  X(task_type, enumeration, s_activity_type)                    \
  X(duration_type, enumeration, s_duration_type)                \
  X(status_code, enumeration, s_activity_status)                \
  X(task_code, text, s_string)                                  \
  X(task_name, text, s_string)                                  \
  X(total_float_hr_cnt, hours, s_dur)                           \
  X(free_float_hr_cnt, hours, s_dur)                            \
  X(remain_drtn_hr_cnt, hours, s_dur)                           \
  X(target_drtn_hr_cnt, hours, s_dur)                           \
  X(act_work_qty, qty, s_unit)                                  \
  X(remain_work_qty, qty, s_unit)                               \
  X(target_work_qty, qty, s_unit)                               \
  X(target_equip_qty, qty, s_unit)                              \
  X(act_equip_qty, qty, s_unit)                                 \
  X(remain_equip_qty, qty, s_unit)                              \
  X(act_this_per_work_qty, qty, s_unit)                         \
  X(act_this_per_equip_qty, qty, s_unit)                        \
  X(cstr_date, date, s_date)                                    \
  X(act_start_date, date, s_date)                               \
  X(act_end_date, date, s_date)                                 \
  X(late_start_date, date, s_date)                              \
  X(late_end_date, date, s_date)                                \
  X(expect_end_date, date, s_date)                              \
  X(early_start_date, date, s_date)                             \
  X(early_end_date, date, s_date)                               \
  X(restart_date, date, s_date)                                 \
  X(reend_date, date, s_date)                                   \
  X(target_start_date, date, s_date)                            \
  X(target_end_date, date, s_date)                              \
  X(review_end_date, date, s_date)                              \
  X(rem_late_start_date, date, s_date)                          \
  X(rem_late_end_date, date, s_date)                            \
  X(cstr_date2, date, s_date)                                   \
  X(suspend_date, date, s_date)                                 \
  X(resume_date, date, s_date)                                  \
  X(external_early_start_date, date, s_date)                    \
  X(external_late_end_date, date, s_date)                       \
  X(update_date, date, s_date)                                  \
  X(create_date, date, s_date)                                  \
  X(cstr_type, enumeration, s_constraint_type)                  \
  X(cstr_type2, enumeration, s_constraint_type)                 \
  X(priority_type, enumeration, s_leveling_priority)            \
  X(guid, text, s_string)                                       \
  X(tmpl_guid, text, s_string)                                  \
  X(update_user, text, s_string)                                \
  X(create_user, text, s_string)                                \
  X(float_path, whole, s_int)                                   \
  X(float_path_order, whole, s_int)                             \
  /* Filled after linking. */                                   \
  X(start_date, derived, s_date)                                \
  X(end_date, derived, s_date)                                  \
  X(act_drtn_hr_cnt, derived, s_dur)                            \
  X(total_drtn_hr_cnt, derived, s_dur)                          \
  X(row_count, derived, s_int)                                  \
  X(taskrsrc_cnt, derived, s_int)                               \
  X(complete_cnt, derived, s_int)                               \
  X(active_cnt, derived, s_int)                                 \
  X(notstarted_cnt, derived, s_int)                             \
  X(resource_list, derived, s_string)                           \
  X(pred_list, derived, s_string)                               \
  X(succ_list, derived, s_string)                               \
  X(primary_rsrc_text, derived, s_string)                       \
  X(calc_phys_complete_pct, derived, s_percent)                 \
  X(critical_flag, derived, s_bool)

// An activity.
struct TASK {
  TESSEL_TASK_MEMBERS(TESSEL_DECLARE_MEMBER)
  double proc_wt_sum = 0.0;  // the summed weights of the activity's steps

  // Set by linking.
  PROJECT* project = nullptr;
  PROJWBS* projwbs = nullptr;
  CALENDAR* calendar = nullptr;
  RSRC* primary_rsrc = nullptr;
  std::vector<TASKPRED*> pred_rels;  // relationships whose successor is this activity
  std::vector<TASKPRED*> succ_rels;  // relationships whose predecessor is this activity
  std::vector<TASKRSRC*> assignments;
  std::vector<TASKPROC*> steps;

  static std::span<const member_desc> members();
};

#define TESSEL_TASKPRED_MEMBERS(X)                      \
  X(task_pred_id, id, s_unsigned_long)                  \
  X(task_id, id, s_unsigned_long)                       \
  X(pred_task_id, id, s_unsigned_long)                  \
  X(proj_id, id, s_unsigned_long)                       \
  X(pred_proj_id, id, s_unsigned_long)                  \
  X(pred_type, enumeration, s_relationship_type)        \
  X(lag_hr_cnt, hours, s_dur)

// A relationship: task_id is the successor, pred_task_id the predecessor.
struct TASKPRED {
  TESSEL_TASKPRED_MEMBERS(TESSEL_DECLARE_MEMBER)

  TASK* task = nullptr;      // the successor
  TASK* predtask = nullptr;  // the predecessor

  static std::span<const member_desc> members();
};

#define TESSEL_TASKPROC_MEMBERS(X)          \
  X(proc_id, id, s_unsigned_long)           \
  X(task_id, id, s_unsigned_long)           \
  X(seq_num, whole, s_int)                  \
  X(proj_id, id, s_unsigned_long)           \
  X(complete_flag, flag, s_bool)            \
  X(proc_name, text, s_string)              \
  X(proc_wt, number, s_double)              \
  X(complete_pct, number, s_double)         \
  X(proc_descr, text, s_string)             \
  X(step_pct, derived, s_percent)

// An activity step.
struct TASKPROC {
  TESSEL_TASKPROC_MEMBERS(TESSEL_DECLARE_MEMBER)

  TASK* task = nullptr;
  PROJECT* project = nullptr;

  static std::span<const member_desc> members();
};

#define TESSEL_TASKRSRC_MEMBERS(X)                      \
  X(taskrsrc_id, id, s_unsigned_long)                   \
  X(task_id, id, s_unsigned_long)                       \
  X(proj_id, id, s_unsigned_long)                       \
  X(role_id, id, s_unsigned_long)                       \
  X(acct_id, id, s_unsigned_long)                       \
  X(rsrc_id, id, s_unsigned_long)                       \
  X(curv_id, id, s_unsigned_long)                       \
  X(rsrc_type, enumeration, s_resource_type)            \
  X(cost_qty_link_flag, flag, s_bool)                   \
  X(rollup_dates_flag, flag, s_bool)                    \
  X(ts_pend_act_end_flag, flag, s_bool)                 \
  X(pend_complete_pct, number, s_double)                \
  X(remain_qty, number, s_double)                       \
  X(target_qty, number, s_double)                       \
  X(remain_qty_per_hr, number, s_double)                \
  X(pend_act_reg_qty, number, s_double)                 \
  X(target_lag_drtn_hr_cnt, number, s_double)           \
  X(target_qty_per_hr, number, s_double)                \
  X(act_ot_qty, number, s_double)                       \
  X(pend_act_ot_qty, number, s_double)                  \
  X(act_reg_qty, number, s_double)                      \
  X(relag_drtn_hr_cnt, number, s_double)                \
  X(ot_factor, number, s_double)                        \
  X(act_this_per_qty, number, s_double)                 \
  X(prior_ts_act_reg_qty, number, s_double)             \
  X(prior_ts_act_ot_qty, number, s_double)              \
  X(cost_per_qty, cost, s_cost)                         \
  X(target_cost, cost, s_cost)                          \
  X(act_reg_cost, cost, s_cost)                         \
  X(act_ot_cost, cost, s_cost)                          \
  X(remain_cost, cost, s_cost)                          \
  X(act_this_per_cost, cost, s_cost)                    \
  X(skill_level, text, s_string)                        \
  X(guid, text, s_string)                               \
  X(rate_type, text, s_string)                          \
  X(cost_per_qty_source_type, text, s_string)           \
  X(remain_crv, text, s_string)                         \
  X(target_crv, text, s_string)                         \
  X(actual_crv, text, s_string)                         \
  X(create_user, text, s_string)

// A resource assignment. Its date columns are not kept.
struct TASKRSRC {
  TESSEL_TASKRSRC_MEMBERS(TESSEL_DECLARE_MEMBER)

  TASK* task = nullptr;
  RSRC* rsrc = nullptr;

  static std::span<const member_desc> members();
};

}  // namespace tessel::document
