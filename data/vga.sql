-- Settings database: the start-up password (field 0) and whether it is asked.
CREATE TABLE GEPA (
  PASSWORD TEXT COLLATE NOCASE,
  ATTIVA   BOOLEAN
);
INSERT INTO GEPA (PASSWORD, ATTIVA) VALUES ('', 0);
