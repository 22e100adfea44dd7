// Builders of the add-in's two database files, for the shipped empty template, the API database
// tool and tests; plus a bulk loader and an integrity check for those builders and tests.
//
// The source library: tables Subs, Classes, Modules, Functions and Misc, each with the text
// fields Name, Code, Description, "Create Date", Creator, "Mod Date", Modifier.
// The API database: Declares (Name, FullName), Constants (Name, FullName), Types (Name, Id) and
// TypeItems (TypeID, TypeItem); Id and TypeID are integers, the rest text.
// No indexes, no keys: rows keep the order in which they were added.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dao {

inline constexpr std::array<std::string_view, 5> kSourceLibraryTables = {
    "Subs", "Classes", "Modules", "Functions", "Misc"};
inline constexpr std::array<std::string_view, 7> kSourceLibraryFields = {
    "Name", "Code", "Description", "Create Date", "Creator", "Mod Date", "Modifier"};

// Each creates a new file holding the empty tables. REQUIRES: nothing exists at `path` (else
// error 58 "File already exists"). Other failures raise the engine's errors (errors.h).
void CreateSourceLibraryFile(const std::string& path);
void CreateApiFile(const std::string& path);

// Appends rows to `table` in one transaction: rows[i][k] is the value of columns[k] (std::nullopt
// for Null). REQUIRES: every row has columns.size() values (else error 5).
void InsertRows(const std::string& path, std::string_view table,
                const std::vector<std::string>& columns,
                const std::vector<std::vector<std::optional<std::string>>>& rows);

// SQLite's integrity check of the file: "ok" when it is sound, else the problems found.
std::string IntegrityCheck(const std::string& path);

}  // namespace dao
