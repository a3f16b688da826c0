-- Terrace archive template "TERRAZZE.CLO": every project's terrace archive (NAME.TER) is a byte
-- copy of this file. It holds the four tables of the terraces and no rows.
--
-- The terrace code reaches fields by position as often as by name, so the order of the fields
-- below is part of the format: never reorder them, only append at the end.
--
-- Kinds of field, as in the project archive:
--   text, and numbers held as text   TEXT COLLATE NOCASE (the terrace queries spell table and
--                                    field names in any case, and compare texts without regard
--                                    to case, as the program expects)
--   number (building, unit number)   NUMERIC (whole numbers stay whole)
--   number with decimals             DOUBLE
-- No table has a key: the program enforces no uniqueness. One plain index finds a unit's rooms
-- in a table without reading every room (the form, the copies and the prints of every unit).

-- Terrace tables: one row per table, identified by its code.
CREATE TABLE CODICE (
  CODICE      TEXT COLLATE NOCASE, -- 0 code of the terrace table, typed by the user
  DESCRIZIONE TEXT COLLATE NOCASE  -- 1 description of the table
);

-- Units attached to a terrace table; fields 0-4 are copied from the unit's row of CODIF_PIANI.
CREATE TABLE ELENCO (
  PROPRIETARIO    TEXT COLLATE NOCASE, -- 0 owner
  NUM_PAL         NUMERIC,             -- 1 building number
  SCALA           TEXT COLLATE NOCASE, -- 2 stair letter, or "Nessuna"
  SIGLA           TEXT COLLATE NOCASE, -- 3 floor code
  INTERNO         NUMERIC,             -- 4 unit number
  COD_TERRAZZE    TEXT COLLATE NOCASE, -- 5 code of the terrace table
  DESCRIZIONE_TER TEXT COLLATE NOCASE  -- 6 description of the table when the unit was attached
);

-- Rooms of the units of a terrace table. Surfaces, coefficients, height and volume are numbers
-- held as text in the system's number format, or empty.
CREATE TABLE SUP_COEFF_VOL (
  CODICE            TEXT COLLATE NOCASE, -- 0  code of the terrace table
  NOME_CONDOMINO    TEXT COLLATE NOCASE, -- 1  owner
  PALAZ             NUMERIC,             -- 2  building number (a number here)
  SCALA             TEXT COLLATE NOCASE, -- 3  stair
  INTERNO           NUMERIC,             -- 4  unit number
  DESCRIZ_VANO      TEXT COLLATE NOCASE, -- 5  room description
  ESPRESSIONE       TEXT COLLATE NOCASE, -- 6  surface expression
  MQ                TEXT COLLATE NOCASE, -- 7  floor surface
  COEFF_PIANO       TEXT COLLATE NOCASE, -- 8  floor coefficient
  COEFF_ORIENT      TEXT COLLATE NOCASE, -- 9  orientation coefficient
  COEFF_ESPOS       TEXT COLLATE NOCASE, -- 10 exposure coefficient
  COEFF_LUMIN       TEXT COLLATE NOCASE, -- 11 light coefficient
  COEFF_UTILIZ      TEXT COLLATE NOCASE, -- 12 use coefficient
  COEFF_GLOB        TEXT COLLATE NOCASE, -- 13 global coefficient
  COEFF_LIB1        TEXT COLLATE NOCASE, -- 14 destination coefficient
  COEFF_LIB2        TEXT COLLATE NOCASE, -- 15 free coefficient
  SUP_CONVENZIONALE TEXT COLLATE NOCASE, -- 16 weighted (conventional) surface
  H_PIANO           TEXT COLLATE NOCASE, -- 17 room height
  VOLUME            TEXT COLLATE NOCASE, -- 18 volume
  PIANO             TEXT COLLATE NOCASE  -- 19 floor code of the unit
);
CREATE INDEX SUP_COEFF_VOL_UNITA ON SUP_COEFF_VOL (CODICE, NOME_CONDOMINO);

-- Terrace thousandths of the last terrace table computed, one row per unit with rooms in it.
CREATE TABLE MILLESIMI (
  NOME_CONDOMINO TEXT COLLATE NOCASE, -- 0 owner
  PALAZ          NUMERIC,             -- 1 building number
  SCALA          TEXT COLLATE NOCASE, -- 2 stair
  PIANO          TEXT COLLATE NOCASE, -- 3 floor code
  MQ             DOUBLE,              -- 4 base value: volumes or weighted surfaces summed
  MILLESIMI      DOUBLE,              -- 5 terrace thousandths
  CODICE         TEXT COLLATE NOCASE, -- 6 code of the terrace table
  INTERNO        NUMERIC,             -- 7 unit number
  DESCRIZIONE    TEXT COLLATE NOCASE  -- 8 description of the terrace table
);
