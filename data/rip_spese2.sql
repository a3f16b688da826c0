-- Expense archive template "rip_spese2.mdb": every expense archive (ARCHIVI/NAME.TSP) is a copy of
-- this file. It holds the five tables of the apportionment, empty but for the three rows of the
-- condominium-wide amounts.
--
-- Every field is reached by its name (without regard to case); the order of the fields is free.
-- Kinds of field:
--   text                               TEXT COLLATE NOCASE
--   whole number (building, unit)      INTEGER
--   thousandths                        DOUBLE
--   money (amounts, shares, totals)    DOUBLE, holding at most four decimals; empty until written
-- The building is text in the unit rows (PAL, the digits of the building number) and a whole
-- number in the amount rows (PALAZZINA).
-- No table has a key or an index: rows are found by comparing values.

-- One row per unit of the project, in the order of building, stair, unit number and owner.
CREATE TABLE TAB_GENERALE (
  nome_condomino          TEXT COLLATE NOCASE, -- owner
  PAL                     TEXT COLLATE NOCASE, -- building number, as text
  SCALA                   TEXT COLLATE NOCASE, -- stair letter, or "Nessuna"
  PIANO                   TEXT COLLATE NOCASE, -- floor code
  INTERNO                 INTEGER,             -- unit number
  DESCRIZIONE             TEXT COLLATE NOCASE, -- kind of unit
  millesimi_generali      DOUBLE,
  millesimi_palazzina     DOUBLE,
  millesimi_scala         DOUBLE,
  millesimi_ascensore     DOUBLE,
  millesimi_riscaldamento DOUBLE,
  millesimi_portierato    DOUBLE,
  TAB_A                   DOUBLE,              -- share of the general expenses
  TAB_B                   DOUBLE,              -- share of the building's expenses
  TAB_C                   DOUBLE,              -- share of the stair's expenses
  TAB_D                   DOUBLE,              -- share of the stair's lift expenses
  TAB_E                   DOUBLE,              -- share of the heating expenses
  TAB_F                   DOUBLE,              -- share of the porter's lodge expenses
  totale                  DOUBLE               -- sum of the six shares
);

-- Building expenses: one row per building.
CREATE TABLE TAB_SPESE1 (
  PALAZZINA INTEGER,
  importo   DOUBLE
);

-- Stair expenses: per building the row "Nessuna" (units on no stair), then one row per stair.
CREATE TABLE TAB_SPESE2 (
  PALAZZINA INTEGER,
  SCALA     TEXT COLLATE NOCASE,
  importo   DOUBLE
);

-- Condominium-wide amounts, taken by position: general, heating, porter's lodge.
CREATE TABLE TAB_SPESE3 (
  tabella TEXT COLLATE NOCASE,
  importo DOUBLE
);
INSERT INTO TAB_SPESE3 (tabella) VALUES ('Spese generali');
INSERT INTO TAB_SPESE3 (tabella) VALUES ('Spese riscaldamento');
INSERT INTO TAB_SPESE3 (tabella) VALUES ('Spese portierato');

-- Lift expenses per stair: the same rows as TAB_SPESE2.
CREATE TABLE TAB_SPESE4 (
  PALAZZINA INTEGER,
  SCALA     TEXT COLLATE NOCASE,
  importo   DOUBLE
);
