-- The shared rainfall database: the catalogue of intensity tables. Each
-- catalogue row names a values table of the same name, made by the program
-- (ten duration rows, one column per return period). Source says where a
-- table's values come from. ("TRRI")
PRAGMA application_id = 1414680137;

CREATE TABLE BasinName (
    BasinName TEXT,
    Source TEXT
);
