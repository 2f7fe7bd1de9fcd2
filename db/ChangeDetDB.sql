-- Shipped empty; nothing reads it. Setting the version writes the file's header.
PRAGMA user_version = 1;
