#include "apiref/api_item.h"

#include <charconv>

#include "runtime/vb/error.h"
#include "services/name_criteria.h"

namespace bw {

std::optional<ApiCategory> CategoryNamed(std::string_view text) {
  for (ApiCategory c : {ApiCategory::kDeclares, ApiCategory::kConstants, ApiCategory::kTypes})
    if (text == TableOf(c)) return c;
  return std::nullopt;
}

const char* TableOf(ApiCategory category) {
  switch (category) {
    case ApiCategory::kDeclares:
      return "Declares";
    case ApiCategory::kConstants:
      return "Constants";
    case ApiCategory::kTypes:
      break;
  }
  return "Types";
}

std::string TypeText(std::string_view name, const std::vector<std::string>& members) {
  std::string text = "Type " + std::string(name) + "\r\n";
  for (const std::string& member : members)
    text += member + "\r\n";
  return text + "End Type";
}

std::optional<std::string> ApiItemText(dao::Database& database, dao::Recordset& recordset,
                                       ApiCategory category, const std::string& name) {
  recordset.MoveFirst();
  recordset.FindFirst(NameCriteria(name));
  if (recordset.NoMatch()) return std::nullopt;
  if (category != ApiCategory::kTypes) return recordset.Fields("FullName").Value().value_or("");

  std::string id = recordset.Fields("Id").Value().value_or("");
  std::vector<std::string> members;
  // A type without an Id has no members: no row can name it.
  if (!id.empty()) {
    // The Id goes into the query as the number it must be, never as the text it holds.
    long number = 0;
    auto [end, error] = std::from_chars(id.data(), id.data() + id.size(), number);
    if (error != std::errc() || end != id.data() + id.size())
      throw vb::RuntimeError(vb::kTypeMismatch);
    vb::Object<dao::QueryDef> query = database.CreateQueryDef(
        "", "SELECT * FROM TypeItems WHERE TypeID = " + std::to_string(number));
    vb::Object<dao::Recordset> items = query->OpenRecordset();
    while (!items->Eof()) {
      members.push_back(items->Fields("TypeItem").Value().value_or(""));
      items->MoveNext();
    }
  }
  return TypeText(recordset.Fields("Name").Value().value_or(name), members);
}

}  // namespace bw
