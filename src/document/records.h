// All 28 record types of a schedule, one per table of the export.
#pragma once

#include "document/records_activities.h"
#include "document/records_calendars.h"
#include "document/records_codes.h"
#include "document/records_projects.h"
#include "document/records_resources.h"
