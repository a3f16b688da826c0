-- Project archive template "ARCH_MIL.CLO": every new project archive is a byte copy of this file.
--
-- Most of the program reaches fields by their position in the table, so the order of the fields
-- below is part of the archive format: never reorder them, only append at the end.
--
-- Kinds of field:
--   text, and numbers held as text   TEXT COLLATE NOCASE (text compares and sorts without regard
--                                    to case inside SQL, as the program expects)
--   long text                        TEXT COLLATE NOCASE
--   integer                          INTEGER
--   floating-point                   DOUBLE
--   yes/no                           BOOLEAN, holding 0 or 1 (empty counts as no)
--   number                           NUMERIC (whole numbers stay whole, others are kept as written)
-- No table has a key: the program enforces no uniqueness. The units and the rooms have an index on
-- the unit's key, below.
--
-- Fields that nothing in the program reads or writes, kept only so that the fields after them
-- stay at their positions, are named RISERVA (spare).
--
-- Archives made by older versions lack NOTE and RISC_50 of ANA_CONDO and RIGA of the thousandths
-- tables and of TEMP_VARIE; the upgrade appends them at the end of their tables. They are in the
-- template already, at those same end positions, so that a new archive looks like an upgraded one.

-- Project header: a single record, added by the project header form.
-- The header form and the options form bind NOME, INDIRIZZO, CITTA, CHECK_VOL, CHK_TOTMQ and
-- CHK_EXPRESS by name; they take positions 0-2 and 7-9 here, and the spare fields fill the other
-- free positions (3-4 and 13-14). Positions 5, 6 and 10-12 are read by position.
CREATE TABLE ANA_CONDO (
  NOME        TEXT COLLATE NOCASE, -- 0  name of the condominium
  INDIRIZZO   TEXT COLLATE NOCASE, -- 1  address
  CITTA       TEXT COLLATE NOCASE, -- 2  town
  RISERVA1    TEXT COLLATE NOCASE, -- 3  spare
  RISERVA2    TEXT COLLATE NOCASE, -- 4  spare
  NUM_PAL     INTEGER,             -- 5  number of buildings; empty until they are created
  CHECK_SUP   BOOLEAN,             -- 6  shares on the weighted surface (otherwise on the volume)
  CHECK_VOL   BOOLEAN,             -- 7  shares on the volume (the options form's other choice)
  CHK_TOTMQ   BOOLEAN,             -- 8  a CAD result goes into the surface
  CHK_EXPRESS BOOLEAN,             -- 9  a CAD result goes into the expression
  RISC_VOL    BOOLEAN,             -- 10 heating on the heated volume
  RISC_RAD    BOOLEAN,             -- 11 heating on the radiant surface
  PORTIERATO  BOOLEAN,             -- 12 the condominium has a porter's lodge
  RISERVA3    TEXT COLLATE NOCASE, -- 13 spare
  RISERVA4    TEXT COLLATE NOCASE, -- 14 spare
  NOTE        TEXT COLLATE NOCASE, -- 15 free note (added by the upgrade)
  RISC_50     BOOLEAN              -- 16 heating half on volume, half on radiant surface (upgrade)
);

-- Buildings: one row per building.
CREATE TABLE COMPOS_PAL (
  ID            INTEGER,             -- 0 spare
  RISERVA       TEXT COLLATE NOCASE, -- 1 spare
  NUM_PAL       INTEGER,             -- 2 building number, 1 to the number of buildings
  NUM_SCALE     NUMERIC,             -- 3 number of stairs; empty = no stairs
  DESCRIZIONE   TEXT COLLATE NOCASE, -- 4 description of the building
  RISCALDAMENTO BOOLEAN,             -- 5 the building is heated
  ASCENSORE     BOOLEAN              -- 6 the building has a lift
);

-- Units: one row per unit.
CREATE TABLE CODIF_PIANI (
  ID           INTEGER,             -- 0  shown by the print grid only
  NUM_PAL      INTEGER,             -- 1  building number
  SCALA        TEXT COLLATE NOCASE, -- 2  stair letter, or "Nessuna"
  COD_CONDOM   TEXT COLLATE NOCASE, -- 3  shown by the print grid only
  RIGA         NUMERIC,             -- 4  floor position, from the floor code
  DESCRIZIONE  TEXT COLLATE NOCASE, -- 5  kind of unit
  SIGLA        TEXT COLLATE NOCASE, -- 6  floor code
  PROPRIETARIO TEXT COLLATE NOCASE, -- 7  owner
  HTERRA       DOUBLE,              -- 8  height above ground (weight in the stair table)
  HPIANO       DOUBLE,              -- 9  floor height
  HASCENSORE   DOUBLE,              -- 10 lift height (weight in the lift table)
  TOT_SUP      DOUBLE,              -- 11 total weighted surface
  TOT_VOL      DOUBLE,              -- 12 total volume
  TOT_VOL_RISC DOUBLE,              -- 13 heated volume
  TOT_RAD_RISC DOUBLE,              -- 14 radiant surface of the heated rooms
  INTERNO      INTEGER              -- 15 unit number
);
-- A unit's row is found by its key (the index, like the rooms' below, takes each field's own
-- collation). Opening an archive made without it adds it.
CREATE INDEX IF NOT EXISTS CODIF_PIANI_UNITA ON CODIF_PIANI (PROPRIETARIO, NUM_PAL, SCALA, INTERNO);

-- Rooms: one row per room of a unit. Numbers are held as text in the system's number format;
-- the three expressions always use the point.
CREATE TABLE ESPRESSIONI (
  NOME_CONDOMINO TEXT COLLATE NOCASE, -- 0  owner of the unit
  DESCRIZIONE    TEXT COLLATE NOCASE, -- 1  description of the room
  ESPRESSIONE    TEXT COLLATE NOCASE, -- 2  surface expression
  MQ             TEXT COLLATE NOCASE, -- 3  surface
  PALAZ          TEXT COLLATE NOCASE, -- 4  building number, as text
  COEF1          TEXT COLLATE NOCASE, -- 5  floor coefficient
  COEF2          TEXT COLLATE NOCASE, -- 6  orientation
  COEF3          TEXT COLLATE NOCASE, -- 7  exposure
  COEF4          TEXT COLLATE NOCASE, -- 8  light
  COEF5          TEXT COLLATE NOCASE, -- 9  use
  COEF6          TEXT COLLATE NOCASE, -- 10 global
  COEF7          TEXT COLLATE NOCASE, -- 11 destination
  COEF8          TEXT COLLATE NOCASE, -- 12 free
  TOT_COEF       TEXT COLLATE NOCASE, -- 13 weighted surface
  SCALA          TEXT COLLATE NOCASE, -- 14 stair
  H_PIANO        TEXT COLLATE NOCASE, -- 15 room height
  TOT_VOL        TEXT COLLATE NOCASE, -- 16 volume
  OPT_RISC       TEXT COLLATE NOCASE, -- 17 "S" = heated room
  ESPRES_RAD     TEXT COLLATE NOCASE, -- 18 radiant surface expression
  TOT_ESPRES_RAD TEXT COLLATE NOCASE, -- 19 radiant surface
  SUP_FINESTRA   TEXT COLLATE NOCASE, -- 20 window: an expression or a window code
  MQ_FINESTRA    TEXT COLLATE NOCASE, -- 21 window area
  INTERNO        INTEGER,             -- 22 unit number
  PIANO          TEXT COLLATE NOCASE  -- 23 floor code
);
-- A unit's rooms are found by its key. The index takes each field's own collation, so it serves the
-- comparisons of the rooms query (owner, building and stair without regard to case). Opening an
-- archive made without it adds it.
CREATE INDEX IF NOT EXISTS ESPRESSIONI_UNITA ON ESPRESSIONI (NOME_CONDOMINO, PALAZ, SCALA, INTERNO);

-- Thousandths tables, emptied and refilled by the thousandths calculation. RIGA, the floor
-- position, is always the last field.
--
-- General table and porter's lodge table. Positions 6 and 7 are never written by the calculation;
-- they carry the names the user tables have at those positions.
CREATE TABLE MILLESIMI (
  CONDOMINO  TEXT COLLATE NOCASE, -- 0 owner
  PALAZ      TEXT COLLATE NOCASE, -- 1 building, as text
  SCALA      TEXT COLLATE NOCASE, -- 2 stair
  MQ         DOUBLE,              -- 3 base value (weighted surface or volume)
  MILLESIMI  DOUBLE,              -- 4 general share
  PIANO      TEXT COLLATE NOCASE, -- 5 floor code
  NOME_CONDO TEXT COLLATE NOCASE, -- 6 not written
  INPUT      DOUBLE,              -- 7 not written
  INTERNO    INTEGER,             -- 8 unit number
  RIGA       DOUBLE               -- 9 floor position
);

CREATE TABLE MIL_PORTIERATO (
  CONDOMINO  TEXT COLLATE NOCASE, -- 0 owner
  PALAZ      TEXT COLLATE NOCASE, -- 1 building, as text
  SCALA      TEXT COLLATE NOCASE, -- 2 stair
  MQ         DOUBLE,              -- 3 base value
  MILLESIMI  DOUBLE,              -- 4 porter's lodge share
  PIANO      TEXT COLLATE NOCASE, -- 5 floor code
  NOME_CONDO TEXT COLLATE NOCASE, -- 6 not written
  INPUT      DOUBLE,              -- 7 not written
  INTERNO    INTEGER,             -- 8 unit number
  RIGA       DOUBLE               -- 9 floor position
);

-- Building table.
CREATE TABLE TEMPORANEO (
  CONDOMINO TEXT COLLATE NOCASE, -- 0 owner
  PALAZ     TEXT COLLATE NOCASE, -- 1 building, as text
  SCALA     TEXT COLLATE NOCASE, -- 2 stair
  MQ        DOUBLE,              -- 3 base value
  MILLESIMI DOUBLE,              -- 4 share within the building
  PIANO     TEXT COLLATE NOCASE, -- 5 floor code
  INTERNO   INTEGER,             -- 6 unit number
  RIGA      DOUBLE               -- 7 floor position
);

-- Stair and lift table. Positions 5, 7, 8 and 9 must stay number fields: the calculation adds
-- them up as numbers.
CREATE TABLE TEMPORANEO2 (
  CONDOMINO TEXT COLLATE NOCASE, -- 0  owner
  PALAZ     TEXT COLLATE NOCASE, -- 1  building, as text
  SCALA     TEXT COLLATE NOCASE, -- 2  stair
  MQ        DOUBLE,              -- 3  base value
  MILLESIMI DOUBLE,              -- 4  stair share, first half
  MIL_B     DOUBLE,              -- 5  stair share, second half
  PIANO     TEXT COLLATE NOCASE, -- 6  floor code
  MEDIA     DOUBLE,              -- 7  stair share, mean of the halves
  ASCENSORE DOUBLE,              -- 8  lift share, second half
  MEDIA_ASC DOUBLE,              -- 9  lift share, mean
  INTERNO   INTEGER,             -- 10 unit number
  RIGA      DOUBLE               -- 11 floor position
);

-- Heating table.
CREATE TABLE MIL_RISC (
  CONDOMINO TEXT COLLATE NOCASE, -- 0 owner
  PALAZ     TEXT COLLATE NOCASE, -- 1 building, as text
  SCALA     TEXT COLLATE NOCASE, -- 2 stair
  PIANO     TEXT COLLATE NOCASE, -- 3 floor code
  VOLUME    DOUBLE,              -- 4 heated volume or radiant surface
  MILLESIMI DOUBLE,              -- 5 heating share
  INTERNO   INTEGER,             -- 6 unit number
  RIGA      DOUBLE               -- 7 floor position
);

-- Names of the user thousandths tables.
CREATE TABLE NEW_TAB (
  NOME_TABELLA TEXT COLLATE NOCASE -- 0 name of a user table
);

-- Print buffer of one user thousandths table, filled by position from the user table. Its names
-- mirror the user table's (CONDOMINO, PALAZ, SCALA, MQ, MILLESIMI, PIANO, NOME_CONDO, INPUT,
-- INTERNO, RIGA) wherever the content matches:
--   0-5  the user table's positions 0-5, under the same names and kinds;
--   6    NOME_CONDO holds the printed table's name (a text, as the user table's NOME_CONDO);
--   7    INPUT stays empty: the weight does not go here;
--   8    INTERNO, the unit number;
--   9    PESO, the weight typed by the user (the user table's INPUT, which cannot keep its name
--        here because position 7 has it);
--   10   RIGA, last as everywhere, left empty.
-- The texts are declared with the user table's lengths.
CREATE TABLE TEMP_VARIE (
  CONDOMINO  VARCHAR(150) COLLATE NOCASE, -- 0  owner
  PALAZ      VARCHAR(3) COLLATE NOCASE,   -- 1  building
  SCALA      VARCHAR(10) COLLATE NOCASE,  -- 2  stair
  MQ         DOUBLE,                      -- 3  base value
  MILLESIMI  DOUBLE,                      -- 4  share in the user table
  PIANO      VARCHAR(3) COLLATE NOCASE,   -- 5  floor code
  NOME_CONDO VARCHAR(50) COLLATE NOCASE,  -- 6  name of the printed table
  INPUT      DOUBLE,                      -- 7  always empty
  INTERNO    INTEGER,                     -- 8  unit number
  PESO       DOUBLE,                      -- 9  weight typed by the user
  RIGA       DOUBLE                       -- 10 floor position, left empty
);

-- Coefficient tables of the eight room coefficients: floor, orientation, exposure, light, use,
-- global, destination, free. TAB_A to TAB_G are seven alternative columns of coefficients (numbers
-- held as text); TAB_UTIL names the column in use (empty = none).
CREATE TABLE TAB_COEF (
  DESCRIZIONE TEXT COLLATE NOCASE, -- 0
  TAB_A       TEXT COLLATE NOCASE, -- 1
  TAB_B       TEXT COLLATE NOCASE, -- 2
  TAB_C       TEXT COLLATE NOCASE, -- 3
  TAB_D       TEXT COLLATE NOCASE, -- 4
  TAB_E       TEXT COLLATE NOCASE, -- 5
  TAB_F       TEXT COLLATE NOCASE, -- 6
  TAB_G       TEXT COLLATE NOCASE, -- 7
  TAB_UTIL    TEXT COLLATE NOCASE  -- 8
);
CREATE TABLE TAB_COEF2 (DESCRIZIONE TEXT COLLATE NOCASE, TAB_A TEXT COLLATE NOCASE,
  TAB_B TEXT COLLATE NOCASE, TAB_C TEXT COLLATE NOCASE, TAB_D TEXT COLLATE NOCASE,
  TAB_E TEXT COLLATE NOCASE, TAB_F TEXT COLLATE NOCASE, TAB_G TEXT COLLATE NOCASE,
  TAB_UTIL TEXT COLLATE NOCASE);
CREATE TABLE TAB_COEF3 (DESCRIZIONE TEXT COLLATE NOCASE, TAB_A TEXT COLLATE NOCASE,
  TAB_B TEXT COLLATE NOCASE, TAB_C TEXT COLLATE NOCASE, TAB_D TEXT COLLATE NOCASE,
  TAB_E TEXT COLLATE NOCASE, TAB_F TEXT COLLATE NOCASE, TAB_G TEXT COLLATE NOCASE,
  TAB_UTIL TEXT COLLATE NOCASE);
CREATE TABLE TAB_COEF4 (DESCRIZIONE TEXT COLLATE NOCASE, TAB_A TEXT COLLATE NOCASE,
  TAB_B TEXT COLLATE NOCASE, TAB_C TEXT COLLATE NOCASE, TAB_D TEXT COLLATE NOCASE,
  TAB_E TEXT COLLATE NOCASE, TAB_F TEXT COLLATE NOCASE, TAB_G TEXT COLLATE NOCASE,
  TAB_UTIL TEXT COLLATE NOCASE);
CREATE TABLE TAB_COEF5 (DESCRIZIONE TEXT COLLATE NOCASE, TAB_A TEXT COLLATE NOCASE,
  TAB_B TEXT COLLATE NOCASE, TAB_C TEXT COLLATE NOCASE, TAB_D TEXT COLLATE NOCASE,
  TAB_E TEXT COLLATE NOCASE, TAB_F TEXT COLLATE NOCASE, TAB_G TEXT COLLATE NOCASE,
  TAB_UTIL TEXT COLLATE NOCASE);
CREATE TABLE TAB_COEF6 (DESCRIZIONE TEXT COLLATE NOCASE, TAB_A TEXT COLLATE NOCASE,
  TAB_B TEXT COLLATE NOCASE, TAB_C TEXT COLLATE NOCASE, TAB_D TEXT COLLATE NOCASE,
  TAB_E TEXT COLLATE NOCASE, TAB_F TEXT COLLATE NOCASE, TAB_G TEXT COLLATE NOCASE,
  TAB_UTIL TEXT COLLATE NOCASE);
CREATE TABLE TAB_COEF7 (DESCRIZIONE TEXT COLLATE NOCASE, TAB_A TEXT COLLATE NOCASE,
  TAB_B TEXT COLLATE NOCASE, TAB_C TEXT COLLATE NOCASE, TAB_D TEXT COLLATE NOCASE,
  TAB_E TEXT COLLATE NOCASE, TAB_F TEXT COLLATE NOCASE, TAB_G TEXT COLLATE NOCASE,
  TAB_UTIL TEXT COLLATE NOCASE);
CREATE TABLE TAB_COEF8 (DESCRIZIONE TEXT COLLATE NOCASE, TAB_A TEXT COLLATE NOCASE,
  TAB_B TEXT COLLATE NOCASE, TAB_C TEXT COLLATE NOCASE, TAB_D TEXT COLLATE NOCASE,
  TAB_E TEXT COLLATE NOCASE, TAB_F TEXT COLLATE NOCASE, TAB_G TEXT COLLATE NOCASE,
  TAB_UTIL TEXT COLLATE NOCASE);

-- Light coefficient by window band: bands 1 to 6 by the ratio of window area to floor area,
-- 7 and 8 by the window codes.
CREATE TABLE TAB_WINDOW (
  DESCR TEXT COLLATE NOCASE, -- 0 description of the band
  COEFF TEXT COLLATE NOCASE, -- 1 light coefficient, number held as text
  CAMPO TEXT COLLATE NOCASE  -- 2 band code "1" to "8"
);

-- Default rows.
--
-- Coefficients are written in the Italian form with two decimals ("1,00", "0,45"); an archive
-- moved to a system with the point is rewritten by the decimal separator conversion. Only column
-- TAB_A is filled: the other six columns are left empty for the user's own alternatives, and
-- TAB_UTIL is empty (no column marked in use).
--
-- The decimal separator conversion also rewrites the descriptions of the coefficient tables
-- (character by character), so these hold neither commas nor points.

-- Floor: one row per floor code, in floor order, all at 1,00.
INSERT INTO TAB_COEF (DESCRIZIONE, TAB_A) VALUES
  ('10S', '1,00'), ('9S', '1,00'), ('8S', '1,00'), ('7S', '1,00'), ('6S', '1,00'),
  ('5S', '1,00'), ('4S', '1,00'), ('3S', '1,00'), ('2S', '1,00'), ('1S', '1,00'),
  ('T', '1,00'), ('R', '1,00'),
  ('1', '1,00'), ('2', '1,00'), ('3', '1,00'), ('4', '1,00'), ('5', '1,00'),
  ('6', '1,00'), ('7', '1,00'), ('8', '1,00'), ('9', '1,00'), ('10', '1,00'),
  ('11', '1,00'), ('12', '1,00'), ('13', '1,00'), ('14', '1,00'), ('15', '1,00'),
  ('16', '1,00'), ('17', '1,00'), ('18', '1,00'), ('19', '1,00'), ('20', '1,00'),
  ('21', '1,00'), ('22', '1,00'), ('23', '1,00'), ('24', '1,00'), ('25', '1,00'),
  ('26', '1,00'), ('27', '1,00'), ('28', '1,00'), ('29', '1,00'), ('30', '1,00'),
  ('31', '1,00'), ('32', '1,00'), ('33', '1,00'), ('34', '1,00'), ('35', '1,00'),
  ('36', '1,00'), ('37', '1,00'), ('38', '1,00'), ('39', '1,00'), ('40', '1,00'),
  ('S1', '1,00');

-- Orientation.
INSERT INTO TAB_COEF2 (DESCRIZIONE, TAB_A) VALUES
  ('Nord', '1,00'), ('Nord-Est', '1,00'), ('Est', '1,00'), ('Sud-Est', '1,00'),
  ('Sud', '1,00'), ('Sud-Ovest', '1,00'), ('Ovest', '1,00'), ('Nord-Ovest', '1,00');

-- Exposure.
INSERT INTO TAB_COEF3 (DESCRIZIONE, TAB_A) VALUES
  ('Prospetto su strada', '1,00'), ('Prospetto su cortile', '1,00'),
  ('Prospetto su giardino', '1,00'), ('Prospetto su chiostrina', '1,00'),
  ('Vista panoramica', '1,00');

-- Light.
INSERT INTO TAB_COEF4 (DESCRIZIONE, TAB_A) VALUES
  ('Ottima', '1,00'), ('Buona', '1,00'), ('Normale', '1,00'), ('Scarsa', '1,00'),
  ('Insufficiente', '1,00');

-- Use.
INSERT INTO TAB_COEF5 (DESCRIZIONE, TAB_A) VALUES
  ('Abitazione', '1,00'), ('Ufficio', '1,00'), ('Attività commerciale', '1,00'),
  ('Deposito', '1,00'), ('Autorimessa', '1,00');

-- Global: one row per kind of unit of the unit register.
INSERT INTO TAB_COEF6 (DESCRIZIONE, TAB_A) VALUES
  ('Appartamento', '1,00'), ('Negozio', '1,00'), ('Box', '1,00'), ('Mansarda', '1,00'),
  ('Ufficio', '1,00'), ('Magazzino', '1,00'), ('Garage', '1,00');

-- Destination: the published destination coefficients.
INSERT INTO TAB_COEF7 (DESCRIZIONE, TAB_A) VALUES
  ('Camere', '1,00'),
  ('Servizi (cucina - bagno - ripostiglio)', '0,90'),
  ('Corridoi e disimpegni', '0,80'),
  ('Logge', '0,50'),
  ('Cantine e soffitte', '0,45'),
  ('Balconi coperti', '0,30'),
  ('Balconi scoperti', '0,25'),
  ('Terrazzo a livello', '0,22'),
  ('Giardini', '0,15');

-- Free: rows for the user's own coefficient.
INSERT INTO TAB_COEF8 (DESCRIZIONE, TAB_A) VALUES
  ('Voce libera 1', '1,00'), ('Voce libera 2', '1,00'), ('Voce libera 3', '1,00');

-- Window bands. K is the ratio of window area to floor area; each band holds its lower limit.
INSERT INTO TAB_WINDOW (DESCR, COEFF, CAMPO) VALUES
  ('K da 0,1666 a meno di 10', '1,00', '1'),
  ('K da 0,14285 a meno di 0,1666', '0,96', '2'),
  ('K da 0,125 a meno di 0,14285', '0,92', '3'),
  ('K da 0,111 a meno di 0,125', '0,88', '4'),
  ('K da 0,1 a meno di 0,111', '0,84', '5'),
  ('K da 0,01 a meno di 0,1', '0,80', '6'),
  ('Infisso con codice C o 0', '0,70', '7'),
  ('Infisso con codice A o 00', '0,60', '8');
