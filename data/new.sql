-- Estimate database "new.mdb": the units of a cost estimate, typed by the user, and the five
-- amounts to split among them. It ships empty; the estimate form adds the row of amounts.
--
-- The unit fields are reached by name; the amounts of TOTALI are also written by position, so
-- their order is fixed. Percentages are held rounded to four decimals, amounts as doubles.
CREATE TABLE preventivo (
  nome_condomino TEXT COLLATE NOCASE, -- owner
  pal            TEXT COLLATE NOCASE, -- building
  scala          TEXT COLLATE NOCASE, -- stair
  piano          TEXT COLLATE NOCASE, -- floor code
  interno        TEXT COLLATE NOCASE, -- unit number
  sup_urba       DOUBLE,              -- urban surface (square metres)
  perc_sup_urba  DOUBLE,
  COSTO_SUP_URBA DOUBLE,
  sup_cop        DOUBLE,              -- covered surface
  perc_sup_cop   DOUBLE,
  COSTO_SUP_COP  DOUBLE,
  sup_uti        DOUBLE,              -- useful surface
  perc_sup_uti   DOUBLE,
  COSTO_SUP_UTI  DOUBLE,
  volume         DOUBLE,
  perc_volume    DOUBLE,
  COSTO_VOLUME   DOUBLE,
  costo          DOUBLE,              -- presumed cost of the unit
  perc_costo     DOUBLE,
  COSTO_COSTO    DOUBLE
);

-- The five amounts to split, one per base, in this order.
CREATE TABLE TOTALI (
  TOTALE_SUP_URBA DOUBLE,
  TOTALE_SUP_COP  DOUBLE,
  TOTALE_SUP_UTI  DOUBLE,
  TOTALE_VOLUME   DOUBLE,
  TOTALE_COSTO    DOUBLE
);
