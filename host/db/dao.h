// The database contract: a small DAO (engine, database, dynaset recordset, temporary query).
//
// The API browser and the source library reach their database files only through these classes.
// One process-wide engine (DefaultEngine) opens databases by path; a Database opens dynasets over
// whole tables and temporary queries; a Recordset walks, searches, reads and writes rows.
//
// Dynaset: the row keys of the table (or of the query's rows) in the store's order, taken at
// open; rows added through the recordset come after them; a row deleted through it is no longer
// visited. RecordCount counts the rows it can visit; AbsolutePosition is the 0-based index of the
// current row among them. Fields are read and written through the row's key, so a row deleted
// since (by another recordset or process) reads as 3167 "Record is deleted.".
//
// Field values are text, or no value (std::nullopt for Null). Names of tables and fields match
// without regard to case. Every Update and Delete is committed before it returns.
//
// Failures raise vb::Error with Jet's numbers (see errors.h); nothing is ever shown to the user.
// Objects are shared: dropping the last reference releases them; there is no Close.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/vb/object.h"

namespace dao {

// OpenRecordset types. Only dynasets are supported; any other type raises 3001.
inline constexpr long dbOpenTable = 1;
inline constexpr long dbOpenDynaset = 2;
inline constexpr long dbOpenSnapshot = 4;

// Update types. Only the regular update is supported; any other type raises 3001.
inline constexpr long dbUpdateRegular = 1;

// EditMode values.
inline constexpr long dbEditNone = 0;
inline constexpr long dbEditInProgress = 1;
inline constexpr long dbEditAdd = 2;

class Recordset;

// One field of a recordset, read and written at the recordset's current record.
class Field {
 public:
  const std::string& Name() const;

  // The value at the current record: text, or std::nullopt for Null. During AddNew or Edit, the
  // value in the edit buffer. Raises 3021 without a current record, 3167 when the row is gone.
  std::optional<std::string> Value() const;

  // Assigns into the edit buffer (VB's rs("Name") = x, the Collect default member).
  // Raises 3020 unless AddNew or Edit is in progress.
  void SetValue(std::optional<std::string> value) const;

 private:
  friend class Recordset;
  Field(std::shared_ptr<Recordset> recordset, int index);

  std::shared_ptr<Recordset> recordset_;
  int index_;
};

// A dynaset. A new recordset stands on its first row; on an empty one BOF and EOF are both True.
class Recordset : public std::enable_shared_from_this<Recordset> {
 public:
  virtual ~Recordset();

  // Moves. Each discards an AddNew or Edit in progress (as DAO does) and raises 3021 when there
  // is nothing to move to: MoveFirst and MoveLast on a recordset without rows, MoveNext at EOF,
  // MovePrevious at BOF. MoveNext from the last row sets EOF; MovePrevious from the first, BOF.
  virtual void MoveFirst() = 0;
  virtual void MoveNext() = 0;
  virtual void MovePrevious() = 0;
  // REQUIRES: options == 0 (else 3001).
  void MoveLast(long options = 0) { DoMoveLast(options); }

  virtual bool Eof() const = 0;  // EOF is a macro of <cstdio>.
  virtual bool BOF() const = 0;

  virtual long RecordCount() const = 0;
  // -1 when there is no current record.
  virtual long AbsolutePosition() const = 0;

  // Makes the first row (in recordset order) that meets `criteria` current and sets NoMatch to
  // False; when none does, sets NoMatch to True and leaves no current record (moves from there:
  // MoveFirst or MoveLast). Criteria syntax: criteria.h; 3075 when malformed, 3070 for a name
  // that is not a field. Moves do not change NoMatch.
  virtual void FindFirst(std::string_view criteria) = 0;
  virtual bool NoMatch() const = 0;

  // The field named `name` (any case). Raises 3265 when the table has no such field.
  Field Fields(std::string_view name);

  // AddNew starts a new row with every field Null; Edit copies the current row (3021 without
  // one, 3167 when it is gone). Assignments go through Field::SetValue. Update writes and commits
  // only the fields assigned; after AddNew the new row is appended to the recordset and the
  // current record stays where it was before AddNew. A failed Update keeps the edit buffer.
  virtual void AddNew() = 0;
  virtual void Edit() = 0;
  // REQUIRES: type == dbUpdateRegular (else 3001); force is accepted and has no effect.
  // Raises 3020 without AddNew or Edit.
  void Update(long type = dbUpdateRegular, bool force = false) { DoUpdate(type, force); }
  // Raises 3020 without AddNew or Edit.
  virtual void CancelUpdate() = 0;
  virtual long EditMode() const = 0;

  // Deletes the current row and commits. Afterwards there is no current record until a move;
  // field reads raise 3167. RecordCount drops by one.
  virtual void Delete() = 0;

 protected:
  virtual void DoMoveLast(long options) = 0;
  virtual void DoUpdate(long type, bool force) = 0;

  // The field protocol behind Field: index of a field by name (-1 when none), its name, its
  // value at the current record, and assignment into the edit buffer.
  virtual int FieldIndex(std::string_view name) const = 0;
  virtual const std::string& FieldName(int index) const = 0;
  virtual std::optional<std::string> GetFieldValue(int index) = 0;
  virtual void SetFieldValue(int index, std::optional<std::string> value) = 0;

 private:
  friend class Field;
};

// A query over one table. Only temporary queries (empty name) of the form
//   SELECT * FROM <table> [WHERE <criteria>]
// are supported; their recordsets are dynasets over the matching rows in the store's order.
class QueryDef {
 public:
  virtual ~QueryDef();
  virtual const std::string& Name() const = 0;
  virtual const std::string& SQL() const = 0;
  // REQUIRES: type == dbOpenDynaset (else 3001). 3078 for a missing table.
  vb::Object<Recordset> OpenRecordset(long type = dbOpenDynaset) { return DoOpenRecordset(type); }

 protected:
  virtual vb::Object<Recordset> DoOpenRecordset(long type) = 0;
};

class Database {
 public:
  virtual ~Database();
  // The path the database was opened with.
  virtual const std::string& Name() const = 0;

  // A dynaset over the table `name` (any case), standing on its first row; `name` may also be
  // a query text (see QueryDef). REQUIRES: type == dbOpenDynaset (else 3001). 3078 when the
  // database has no such table.
  vb::Object<Recordset> OpenRecordset(const std::string& name, long type = dbOpenDynaset) {
    return DoOpenRecordset(name, type);
  }

  // A temporary query: `name` must be empty (else 3251); the SQL is checked here (3129, 3131,
  // 3141, 3075) and resolved against the file when its recordset opens.
  vb::Object<QueryDef> CreateQueryDef(const std::string& name = "", const std::string& sql = "") {
    return DoCreateQueryDef(name, sql);
  }

 protected:
  virtual vb::Object<Recordset> DoOpenRecordset(const std::string& name, long type) = 0;
  virtual vb::Object<QueryDef> DoCreateQueryDef(const std::string& name,
                                                const std::string& sql) = 0;
};

class DBEngine {
 public:
  virtual ~DBEngine();
  // Opens an existing database file, shared and read-write (read-only when the file or its
  // folder cannot be written: writes then raise 3027). Raises 3024 when the file is missing,
  // 3343 when it is not a database or is damaged, 3218 when another process keeps it locked.
  virtual vb::Object<Database> OpenDatabase(const std::string& path) = 0;
};

// The one engine of the process, created on first use (the embedded SQLite engine).
vb::Object<DBEngine> DefaultEngine();

// Replaces the process's engine (tests install their own); Nothing restores the default one on
// next use.
void SetDefaultEngine(vb::Object<DBEngine> engine);

}  // namespace dao
