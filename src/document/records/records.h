// All 28 record types of a schedule, one per table of the export.
#pragma once

#include "document/records/records_activities.h"
#include "document/records/records_calendars.h"
#include "document/records/records_codes.h"
#include "document/records/records_projects.h"
#include "document/records/records_resources.h"
