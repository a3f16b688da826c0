-- Various-expense database "rip_spese3.mdb": one row per unit met in the user thousandths tables
-- added to it, and the list of those tables. It ships empty. Adding a table NAME appends the pair
-- of fields NAME_mil (the unit's thousandths, DOUBLE) and NAME_imp (its amount, DOUBLE) to
-- tab_generale; deleting it drops the pair.
CREATE TABLE tab_generale (
  nome_condomino TEXT COLLATE NOCASE, -- owner
  pal            TEXT COLLATE NOCASE, -- building
  scala          TEXT COLLATE NOCASE, -- stair
  piano          TEXT COLLATE NOCASE, -- floor code
  interno        TEXT COLLATE NOCASE  -- unit number, as text
);

-- The tables added, in the order they were added; the name is the first field.
CREATE TABLE elenco_tabelle (
  NOME_TABELLA TEXT COLLATE NOCASE
);
