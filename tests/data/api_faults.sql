-- An API database with faults the reader cannot produce: no Constants table, an empty Types
-- table, a declaration whose name holds an apostrophe and one without a name.
CREATE TABLE Declares (Name TEXT, FullName TEXT);
CREATE TABLE Types (Name TEXT, Id INTEGER);
CREATE TABLE TypeItems (TypeID INTEGER, TypeItem TEXT);
INSERT INTO Declares VALUES ('GetTickCount', 'Public Declare Function GetTickCount Lib "kernel32" () As Long');
INSERT INTO Declares VALUES ('O''Brien', 'Public Declare Sub OBrien Lib "vendor" Alias "O''Brien" ()');
INSERT INTO Declares VALUES (NULL, 'Public Declare Sub Nameless Lib "vendor" ()');
