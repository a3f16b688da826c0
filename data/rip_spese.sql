-- Summary database "RIP_SPESE.MDB": one table shared by every project, with one row per unit per
-- project. It ships empty; a project's rows are those whose COD_CONDOMINIO holds its name.
--
-- Fields are reached by name (without regard to case); they stand in the order of the summary.
-- Text fields have no length limit, so a description grown by merges is never cut. The six
-- thousandths of a new row stay empty until the copies from the project fill them.
CREATE TABLE TAB_GENERALE (
  COD_CONDOMINIO          TEXT COLLATE NOCASE, -- the project's name
  nome_condomino          TEXT COLLATE NOCASE, -- owner
  PAL                     TEXT COLLATE NOCASE, -- building number, as text
  SCALA                   TEXT COLLATE NOCASE, -- stair letter, or "Nessuna"
  INTERNO                 INTEGER,             -- unit number
  PIANO                   TEXT COLLATE NOCASE, -- floor code
  DESCRIZIONE             TEXT COLLATE NOCASE, -- kind of unit, with the descriptions merged into it
  millesimi_generali      DOUBLE,
  millesimi_palazzina     DOUBLE,
  millesimi_scala         DOUBLE,
  millesimi_ascensore     DOUBLE,
  millesimi_riscaldamento DOUBLE,
  millesimi_portierato    DOUBLE
);
