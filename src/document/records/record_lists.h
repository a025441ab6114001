// The 28 record lists of a schedule, one per table, in their fixed order.
// The document derives from this; destroying it destroys the lists in this
// same order, each list first record to last.
#pragma once

#include "document/records/record_list.h"
#include "document/records/records.h"

namespace tessel::document {

#define TESSEL_RECORD_TABLES(X) \
  X(ACTVCODE, actvcode)         \
  X(ACTVTYPE, actvtype)         \
  X(TASKACTV, taskactv)         \
  X(TASKPROC, taskproc)         \
  X(OBS, obs)                   \
  X(PROJWBS, projwbs)           \
  X(TASK, task)                 \
  X(PROJECT, project)           \
  X(TASKPRED, taskpred)         \
  X(RSRC, rsrc)                 \
  X(RSRCRATE, rsrcrate)         \
  X(RCATVAL, rcatval)           \
  X(RCATTYPE, rcattype)         \
  X(RSRCRCAT, rsrcrcat)         \
  X(RSRCROLE, rsrcrole)         \
  X(TASKRSRC, taskrsrc)         \
  X(SHIFT, shift)               \
  X(SHIFTPER, shiftper)         \
  X(CALENDAR, calendar)         \
  X(ROLES, roles)               \
  X(ROLERATE, rolerate)         \
  X(ROLELIMIT, rolelimit)       \
  X(CURRTYPE, currtype)         \
  X(PCATVAL, pcatval)           \
  X(PCATTYPE, pcattype)         \
  X(PROJPCAT, projpcat)         \
  X(UDFTYPE, udftype)           \
  X(UDFVALUE, udfvalue)

struct record_lists {
#define TESSEL_DECLARE_LIST(TYPE, name) record_list<TYPE> name;
  TESSEL_RECORD_TABLES(TESSEL_DECLARE_LIST)
#undef TESSEL_DECLARE_LIST

  record_lists() = default;
  record_lists(const record_lists&) = delete;
  record_lists& operator=(const record_lists&) = delete;
  ~record_lists() { clear(); }

  // Destroys every record, list by list in the fixed order.
  void clear() {
#define TESSEL_CLEAR_LIST(TYPE, name) name.clear();
    TESSEL_RECORD_TABLES(TESSEL_CLEAR_LIST)
#undef TESSEL_CLEAR_LIST
  }
};

}  // namespace tessel::document
