#include "sourcebase/library.h"

#include <filesystem>

#include "runtime/platform.h"
#include "runtime/vb/error.h"
#include "services/name_criteria.h"
#include "services/shared_state.h"

namespace bw {

const std::array<LibraryCategory, 5> kLibraryCategories = {{
    {"Classes", "\\Classes", "Classes", &ClassesRs, "Class", 2},
    {"Modules", "\\Modules", "Modules", &ModulesRs, "Module", 3},
    {"Subs", "\\Subs", "Subs", &SubsRs, "Sub", 5},
    {"Functions", "\\Functions", "Functions", &FunctionsRs, "Function", 5},
    {"Miscellaneous", "\\Miscellaneous", "Misc", &MiscRs, "Miscellaneous", 6},
}};

namespace {

// Tables in the order the browser opens their recordsets.
constexpr std::string_view kOpenOrder[] = {"Subs", "Classes", "Modules", "Functions", "Misc"};

// The recordset of the category named by `tmpParent`; nullptr when there is none. Raises 91
// when the library is not open.
dao::Recordset* RecordsetOf(const std::string& tmpParent) {
  const LibraryCategory* category = CategoryByText(tmpParent);
  return category ? &**category->Recordset : nullptr;
}

// Drops a half-made AddNew or Edit after a failed Update, so the recordset is clean again.
void CancelPendingEdit(dao::Recordset& rs) {
  try {
    if (rs.EditMode() != dao::dbEditNone) rs.CancelUpdate();
  } catch (const vb::Error&) {
  }
}

}  // namespace

const LibraryCategory* CategoryByText(std::string_view text) {
  for (const LibraryCategory& c : kLibraryCategories)
    if (c.Text == text) return &c;
  return nullptr;
}

const LibraryCategory* CategoryByTable(std::string_view table) {
  for (const LibraryCategory& c : kLibraryCategories)
    if (c.Table == table) return &c;
  return nullptr;
}

std::string LibraryPath() {
  return (std::filesystem::path(vb::App().Path) / "SourceBase.mdb").string();
}

void OpenLibrary(const std::string& path) {
  LibraryDb = dao::DefaultEngine()->OpenDatabase(path);
  for (std::string_view table : kOpenOrder)
    *CategoryByTable(table)->Recordset =
        LibraryDb->OpenRecordset(std::string(table), dao::dbOpenDynaset);
}

std::string LibraryDate() {
  return vb::FormatToday("mm/d/yyyy");
}

void ShowNoMatch(const std::string& criteria) {
  vb::MsgBox("No Match for " + criteria + "\r\n\r\nThis database may need repaired.",
             vb::vbCritical, "SourceBase Database Error");
}

bool FindItem(dao::Recordset& rs, const std::string& criteria) {
  if (rs.RecordCount() != 0) rs.MoveFirst();
  rs.FindFirst(criteria);
  if (!rs.NoMatch()) return true;
  ShowNoMatch(criteria);
  return false;
}

void SaveRecord(const std::string& tmpRecord, const std::string& tmpCode,
                const std::string& tmpParent) {
  const bool changedBefore = CodeChanged;
  CodeChanged = false;
  std::string criteria = NameCriteria(tmpRecord);
  dao::Recordset* rs = RecordsetOf(tmpParent);
  if (!rs) return;
  try {
    if (!FindItem(*rs, criteria)) return;
    rs->Edit();
    rs->Fields("Code").SetValue(tmpCode);
    rs->Fields("Mod Date").SetValue(LibraryDate());
    rs->Fields("Modifier").SetValue(CurrentUserName);
    rs->Update(dao::dbUpdateRegular, false);
  } catch (const vb::Error&) {
    CancelPendingEdit(*rs);
    CodeChanged = changedBefore;
    throw;
  }
}

void DeleteRecord(const std::string& tmpRecord, const std::string& tmpParent) {
  std::string criteria = NameCriteria(tmpRecord);
  dao::Recordset* rs = RecordsetOf(tmpParent);
  if (!rs) {
    CodeChanged = false;
    return;
  }
  if (!FindItem(*rs, criteria)) return;
  rs->Delete();
  CodeChanged = false;
}

void AddRecord(const LibraryCategory& category, const std::string& name, const std::string& code,
               const std::string& description) {
  dao::Recordset& rs = **category.Recordset;
  try {
    rs.AddNew();
    rs.Fields("Code").SetValue(code);
    rs.Fields("Create Date").SetValue(LibraryDate());
    rs.Fields("Mod Date").SetValue(LibraryDate());
    rs.Fields("Name").SetValue(name);
    rs.Fields("Description").SetValue(description);
    rs.Update(dao::dbUpdateRegular, false);
  } catch (const vb::Error&) {
    CancelPendingEdit(rs);
    throw;
  }
}

}  // namespace bw
