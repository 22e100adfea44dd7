// The database engine's run-time errors, with the numbers and wording a Jet user knows.
//
// Every failure of the engine reaches the caller as a vb::Error whose Number is a Jet error
// number and whose Source names the DAO object that failed ("DAO.Recordset", ...). Texts with a
// '|' take one argument (a path, a table or field name). The engine raises; it never shows.
#pragma once

#include <string>
#include <string_view>

#include "runtime/vb/error.h"

namespace dao {

inline constexpr long kErrOutOfMemory = 7;
inline constexpr long kErrReserved = 3000;         // Reserved error (|); ...
inline constexpr long kErrInvalidArgument = 3001;  // Invalid argument.
inline constexpr long kErrUpdateWithoutEdit =
    3020;                                          // Update or CancelUpdate without AddNew or Edit.
inline constexpr long kErrNoCurrentRecord = 3021;  // No current record.
inline constexpr long kErrDuplicateKey = 3022;
inline constexpr long kErrFileNotFound = 3024;  // Could not find file '|'.
inline constexpr long kErrDiskFull = 3026;      // Not enough space on disk.
inline constexpr long kErrReadOnly = 3027;      // Cannot update. Database or object is read-only.
inline constexpr long kErrDiskIo = 3043;        // Disk or network error.
inline constexpr long kErrInvalidPath = 3044;   // '|' is not a valid path.
inline constexpr long kErrCannotOpen = 3051;    // The database engine cannot open the file '|'. ...
inline constexpr long kErrUnknownName =
    3070;  // ... does not recognize '|' as a valid field name ...
inline constexpr long kErrBadExpression = 3075;  // Syntax error ... in query expression '|'.
inline constexpr long kErrNoSuchTable = 3078;   // ... cannot find the input table or query '|'. ...
inline constexpr long kErrBadStatement = 3129;  // Invalid SQL statement; expected ...
inline constexpr long kErrBadFrom = 3131;       // Syntax error in FROM clause.
inline constexpr long kErrBadSelect = 3141;     // The SELECT statement includes a reserved word ...
inline constexpr long kErrFieldTooSmall = 3163;
inline constexpr long kErrRecordDeleted = 3167;  // Record is deleted.
inline constexpr long kErrLocked = 3218;         // Could not update; currently locked.
inline constexpr long kErrNotSupported =
    3251;  // Operation is not supported for this type of object.
inline constexpr long kErrItemNotFound = 3265;  // Item not found in this collection.
inline constexpr long kErrRequired = 3314;      // The field '|' cannot contain a Null value ...
inline constexpr long kErrValidationRule = 3317;
inline constexpr long kErrNotADatabase = 3343;  // Unrecognized database format '|'.
inline constexpr long kErrTooComplex = 3360;    // Query is too complex.
inline constexpr long kErrConversion = 3421;    // Data type conversion error.

// The Source of each error: the DAO object whose method failed.
inline constexpr std::string_view kSourceEngine = "DAO.DBEngine";
inline constexpr std::string_view kSourceDatabase = "DAO.Database";
inline constexpr std::string_view kSourceRecordset = "DAO.Recordset";
inline constexpr std::string_view kSourceQueryDef = "DAO.QueryDef";
inline constexpr std::string_view kSourceFields = "DAO.Fields";
inline constexpr std::string_view kSourceField = "DAO.Field";

// The description for `number`, with `item` put in place of the '|' (when the text has one).
// Numbers without a text of their own give the Reserved error text.
std::string DbErrorText(long number, std::string_view item = {});

// An error with that number, source and text.
vb::Error DbError(long number, std::string_view source, std::string_view item = {});

// 3218 for a read that met another process's lock: "Could not read; currently locked."
vb::Error LockedForRead(std::string_view source);

}  // namespace dao
