-- The settings database. Columns stand in the order the programs read them by position.
-- Two programs and three threads use it at once: readers never wait for a writer in WAL mode.
PRAGMA journal_mode = WAL;

CREATE TABLE ProfileInfo (
  ProfileID INTEGER,
  DBInfo TEXT,
  DBType VARCHAR(50),
  DB_DSN TEXT,
  UserName TEXT,
  Password TEXT,
  Query TEXT,
  Path TEXT,
  UserList TEXT,
  PrimaryKeyField TEXT,
  SyncDestination TEXT,
  tempPath TEXT,
  ProfileType INTEGER,
  IsPrimaryKeySelected INTEGER,
  SortColumnsInfo TEXT,
  FiltersInfo TEXT
);

CREATE TABLE UserProfileStatus (
  UserID VARCHAR(255),
  ProfileID INTEGER,
  StatusFlag VARCHAR(4)
);

CREATE TABLE FormInfo (
  FormID INTEGER,
  ProfileID INTEGER,
  FormTitle TEXT,
  FormInfo TEXT
);

CREATE TABLE FormDetails (
  FormID INTEGER,
  TabID INTEGER,
  TabTitle TEXT,
  TabFormInfo TEXT
);

CREATE TABLE UserFormStatus (
  FormID INTEGER,
  UserID VARCHAR(255),
  StatusFlag VARCHAR(4)
);

CREATE TABLE UserPasswordStatus (
  UserID VARCHAR(255),
  Password VARCHAR(255),
  StatusFlag VARCHAR(4)
);

-- Device users: PIN, name, designation, department, flag, sync option, sync interval in
-- minutes, device type (one byte).
CREATE TABLE UserInfo (
  PIN VARCHAR(255),
  Name TEXT,
  Designation TEXT,
  Department TEXT,
  StatusFlag VARCHAR(4),
  SyncOption INTEGER,
  SyncInterval INTEGER,
  DeviceType TINYINT
);

-- Acknowledgements of device changes still to be delivered. The six columns are read by
-- position; AckID names one row, so that a record's acknowledgements are removed one by one.
CREATE TABLE AckFromDesktopTable (
  ProfileID INTEGER,
  RecordSource INTEGER,
  RecordIndex INTEGER,
  DeviceID VARCHAR(128),
  ResultCode INTEGER,
  ResultText TEXT,
  AckID INTEGER PRIMARY KEY AUTOINCREMENT
);
