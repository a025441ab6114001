// Ties between code values, code assignments and user field values, made
// while a schedule is linked. Every find is a search by id that answers the
// first record carrying it.
#include "document/document_fields.h"
#include "document/records/id_index.h"

namespace tessel::document {

void link_codes(record_lists& doc) {
  {
    auto types = index_of<ACTVTYPE>(doc.actvtype);
    auto codes = index_of<ACTVCODE>(doc.actvcode);
    auto tasks = index_of<TASK>(doc.task);
    for (ACTVCODE& c : doc.actvcode) {
      c.type = types.find(c.actv_code_type_id.value);
      c.parent = codes.find(c.parent_actv_code_id.value);
    }
    for (TASKACTV& a : doc.taskactv) {
      a.task = tasks.find(a.task_id.value);
      a.code = codes.find(a.actv_code_id.value);
    }
  }
  {
    auto types = index_of<PCATTYPE>(doc.pcattype);
    auto codes = index_of<PCATVAL>(doc.pcatval);
    auto projects = index_of<PROJECT>(doc.project);
    for (PCATVAL& c : doc.pcatval) {
      c.type = types.find(c.proj_catg_type_id.value);
      c.parent = codes.find(c.parent_proj_catg_id.value);
    }
    for (PROJPCAT& a : doc.projpcat) {
      a.project = projects.find(a.proj_id.value);
      a.code = codes.find(a.proj_catg_id.value);
    }
  }
  {
    auto types = index_of<RCATTYPE>(doc.rcattype);
    auto codes = index_of<RCATVAL>(doc.rcatval);
    auto resources = index_of<RSRC>(doc.rsrc);
    for (RCATVAL& c : doc.rcatval) {
      c.type = types.find(c.rsrc_catg_type_id.value);
      c.parent = codes.find(c.parent_rsrc_catg_id.value);
    }
    for (RSRCRCAT& a : doc.rsrcrcat) {
      a.rsrc = resources.find(a.rsrc_id.value);
      a.code = codes.find(a.rsrc_catg_id.value);
    }
  }
  {
    auto types = index_of<UDFTYPE>(doc.udftype);
    for (UDFVALUE& v : doc.udfvalue) v.type = types.find(v.udf_type_id.value);
  }
}

}  // namespace tessel::document
