#include "host/db/errors.h"

#include <map>

namespace dao {

namespace {

const std::map<long, std::string_view>& Texts() {
  static const std::map<long, std::string_view> kTexts = {
      {kErrOutOfMemory, "Out of memory"},
      {kErrReserved, "Reserved error (|); there is no message for this error."},
      {kErrInvalidArgument, "Invalid argument."},
      {kErrUpdateWithoutEdit, "Update or CancelUpdate without AddNew or Edit."},
      {kErrNoCurrentRecord, "No current record."},
      {kErrDuplicateKey,
       "The changes you requested to the table were not successful because they would create "
       "duplicate values in the index, primary key, or relationship."},
      {kErrFileNotFound, "Could not find file '|'."},
      {kErrDiskFull, "Not enough space on disk."},
      {kErrReadOnly, "Cannot update. Database or object is read-only."},
      {kErrDiskIo, "Disk or network error."},
      {kErrInvalidPath, "'|' is not a valid path."},
      {kErrCannotOpen,
       "The database engine cannot open the file '|'. It is already opened exclusively by "
       "another user, or you need permission to view its data."},
      {kErrUnknownName,
       "The database engine does not recognize '|' as a valid field name or expression."},
      {kErrBadExpression, "Syntax error in query expression '|'."},
      {kErrNoSuchTable,
       "The database engine cannot find the input table or query '|'. Make sure it exists and "
       "that its name is spelled correctly."},
      {kErrBadStatement,
       "Invalid SQL statement; expected 'DELETE', 'INSERT', 'PROCEDURE', 'SELECT', or 'UPDATE'."},
      {kErrBadFrom, "Syntax error in FROM clause."},
      {kErrBadSelect,
       "The SELECT statement includes a reserved word or an argument name that is misspelled or "
       "missing, or the punctuation is incorrect."},
      {kErrFieldTooSmall,
       "The field is too small to accept the amount of data you attempted to add. Try inserting "
       "or pasting less data."},
      {kErrRecordDeleted, "Record is deleted."},
      {kErrLocked, "Could not update; currently locked."},
      {kErrNotSupported, "Operation is not supported for this type of object."},
      {kErrItemNotFound, "Item not found in this collection."},
      {kErrRequired,
       "The field '|' cannot contain a Null value because the Required property for this field "
       "is set to True. Enter a value in this field."},
      {kErrValidationRule, "One or more values are prohibited by the validation rule set for '|'."},
      {kErrNotADatabase, "Unrecognized database format '|'."},
      {kErrTooComplex, "Query is too complex."},
      {kErrConversion, "Data type conversion error."},
  };
  return kTexts;
}

}  // namespace

std::string DbErrorText(long number, std::string_view item) {
  auto it = Texts().find(number);
  std::string_view text = it == Texts().end() ? Texts().at(kErrReserved) : it->second;
  std::string number_text = std::to_string(number);
  if (it == Texts().end() && item.empty()) item = number_text;
  std::string out(text);
  for (std::size_t at = out.find('|'); at != std::string::npos;
       at = out.find('|', at + item.size()))
    out.replace(at, 1, item);
  return out;
}

vb::Error DbError(long number, std::string_view source, std::string_view item) {
  return vb::Error(number, std::string(source), DbErrorText(number, item));
}

vb::Error LockedForRead(std::string_view source) {
  return vb::Error(kErrLocked, std::string(source), "Could not read; currently locked.");
}

}  // namespace dao
