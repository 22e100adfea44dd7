// The source library: the programmer's code items in SourceBase.mdb, the state its two windows
// share, the category table and the record operations.
//
// The file holds one table per category ("Subs", "Classes", "Modules", "Functions", "Misc"),
// each with the text fields Name, Code, Description, "Create Date", Creator, "Mod Date" and
// Modifier. An item is known by its name and its category's text: an operation acts on the first
// row, in its category's recordset order, whose Name matches. Names need not be unique.
//
// The criteria that finds an item is Name = '<name>' with every apostrophe of the name written
// twice, the store's own quoting, so any name can be found, saved and deleted. A name that no row
// holds gives the no-match message (style 16, "SourceBase Database Error") and changes nothing.
//
// Store failures (a locked or read-only file) are raised to the caller as vb::Error; a write
// that fails leaves the row, the recordset and CodeChanged as they were before the call.
//
// All of it runs on the IDE's user-interface thread; nothing is locked.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "host/db/dao.h"
#include "runtime/vb/object.h"

namespace bw {

// The library's shared state, one copy for the add-in. The browser's load opens (and each new
// load replaces) the database and the five dynasets; nothing closes them.
inline vb::Object<dao::Database> LibraryDb;
inline vb::Object<dao::Recordset> SubsRs;
inline vb::Object<dao::Recordset> ClassesRs;
inline vb::Object<dao::Recordset> ModulesRs;
inline vb::Object<dao::Recordset> FunctionsRs;
inline vb::Object<dao::Recordset> MiscRs;
// The browser's code box was typed into since the shown item was loaded or saved.
inline bool CodeChanged = false;
// The item last shown by a click in the browser's tree: its name and its category's text. Both
// are empty while the code box shows no item (after the browser opens, after a delete).
inline std::string CurrentItemName;
inline std::string CurrentItemCategory;
// Code handed from the browser's opening to the add dialog.
inline std::string PendingAddCode;

// One category: the text of its tree node (what the record operations receive as the item's
// parent), the node's key, the table, the table's recordset, the add dialog's option caption
// and the tree image of the category and its items.
struct LibraryCategory {
  std::string_view Text;
  std::string_view Key;
  std::string_view Table;
  vb::Object<dao::Recordset>* Recordset;
  std::string_view OptionCaption;
  long Image;
};

// The five categories in the tree's order, which is also the add dialog's option order (index 0
// "Class" to 4 "Miscellaneous").
extern const std::array<LibraryCategory, 5> kLibraryCategories;

// The category whose text is exactly `text` (case counts); nullptr for any other text, such as
// the root's "Source Code Database".
const LibraryCategory* CategoryByText(std::string_view text);
// The category of a table name ("Misc" gives Miscellaneous); nullptr when none.
const LibraryCategory* CategoryByTable(std::string_view table);

// The library file in the add-in's folder.
std::string LibraryPath();

// Opens `path` as LibraryDb, then the dynasets SubsRs, ClassesRs, ModulesRs, FunctionsRs and
// MiscRs over their tables, in that order. Raises the engine's errors (3024 for a missing file,
// 3078 for a missing table); what was opened before a failure stays set.
void OpenLibrary(const std::string& path);

// Today's date as the library stores it, "mm/d/yyyy": 03/7/2026.
std::string LibraryDate();

// Shows "No Match for <criteria>", a blank line and "This database may need repaired.".
void ShowNoMatch(const std::string& criteria);

// MoveFirst, then FindFirst with `criteria`; false when no row matches (after the no-match
// message), leaving no current record.
bool FindItem(dao::Recordset& rs, const std::string& criteria);

// Replaces the Code of the item and stamps "Mod Date" with today and Modifier with
// CurrentUserName. Clears CodeChanged first; a category text outside the five, or a name that
// no row holds (no-match message), saves nothing. A store failure cancels the edit, gives
// CodeChanged back its value from before the call, and raises.
void SaveRecord(const std::string& tmpRecord, const std::string& tmpCode,
                const std::string& tmpParent);

// Deletes the item's row and clears CodeChanged. A category outside the five deletes nothing
// and clears CodeChanged; a name that no row holds gives the no-match message and leaves
// CodeChanged. A store failure raises with the row and CodeChanged as they were.
void DeleteRecord(const std::string& tmpRecord, const std::string& tmpParent);

// Appends a row to the category's recordset: Code, "Create Date" and "Mod Date" (today),
// Name and Description; Creator and Modifier stay empty. A store failure cancels the new row
// and raises.
void AddRecord(const LibraryCategory& category, const std::string& name, const std::string& code,
               const std::string& description);

}  // namespace bw
