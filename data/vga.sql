-- Settings database: the start-up password (field 0) and whether it is asked.
-- It ships with no password asked and an empty password: empty text, not Null, so that an empty
-- entry matches it.
CREATE TABLE GEPA (
  PASSWORD TEXT COLLATE NOCASE,
  ATTIVA   BOOLEAN
);
INSERT INTO GEPA (PASSWORD, ATTIVA) VALUES ('', 0);
