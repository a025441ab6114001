// The relationships of one activity in two exports, paired. Real exports
// hold two or three relationships of different types between the same two
// activities, so a relationship is known by its predecessor's Activity ID
// and its type first, and by the Activity ID alone after that.
#pragma once

#include <vector>

#include "document/records/records.h"

namespace tessel::analysis {

struct relationship_pairing {
  struct pair {
    const document::TASKPRED* old_rel;
    const document::TASKPRED* new_rel;
  };
  std::vector<pair> paired;                              // in NEW order
  std::vector<const document::TASKPRED*> added;          // NEW ones left, in NEW order
  std::vector<const document::TASKPRED*> deleted;        // OLD ones left, in OLD order
};

// Pairs the relationships of two lists (each in file order; those without
// a predecessor activity are not considered): first those with the same
// predecessor Activity ID and type, then the rest with the same
// predecessor Activity ID, each the first of its kind in file order.
relationship_pairing pair_relationships(const std::vector<document::TASKPRED*>& old_rels,
                                        const std::vector<document::TASKPRED*>& new_rels);

}  // namespace tessel::analysis
