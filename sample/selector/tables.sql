-- The selector database: construction data per article code, base articles and their
-- warehouse stock, model descriptions, connections and plate materials.
-- Declared types follow Jet's (SMALLINT 16-bit, INTEGER 32-bit, DOUBLE, TEXT).

PRAGMA encoding = 'UTF-8';

CREATE TABLE "HXQMeas" (
    "XPC"             TEXT PRIMARY KEY,    -- Class*Type*Size*Material*Chantype*<n>P*S
    "MinNoP"          SMALLINT,
    "Height"          DOUBLE,              -- m
    "Width"           DOUBLE,              -- m
    "PP_Start"        DOUBLE,              -- m
    "PP_Plate"        DOUBLE,              -- m per plate
    "PP_LessChpl"     SMALLINT,            -- plates not counted in the pack length
    "OffsetDepth"     DOUBLE,              -- m
    "TestPressure1"   DOUBLE,              -- hPa (x 100 = Pa)
    "CH1PressAlt1"    DOUBLE,              -- hPa
    "CH1PressAlt2"    DOUBLE,
    "CH2PressAlt1"    DOUBLE,
    "CH2PressAlt2"    DOUBLE,
    "CH1TempAlt1"     DOUBLE,              -- degC
    "CH1TempAlt2"     DOUBLE,
    "Weight_Start"    DOUBLE,              -- kg
    "Weight_Plate"    DOUBLE,              -- kg per plate
    "Weight_LessChpl" DOUBLE               -- kg
);

CREATE TABLE "BaseArticleNumbers" (
    "Class"        TEXT NOT NULL,
    "Type"         TEXT NOT NULL,
    "Size"         TEXT NOT NULL,
    "Material"     TEXT NOT NULL,
    "Pressure"     TEXT NOT NULL,
    "Factory"      TEXT,                   -- factory codes separated by ';'
    "BaseArtNo"    TEXT PRIMARY KEY,
    "Denomination" TEXT,
    "XPC"          TEXT                    -- product code of the Models table
);

CREATE TABLE "ITEM_PLAN_NF" (
    "ArtNo"    TEXT NOT NULL,              -- a BaseArtNo
    "NoPlates" SMALLINT NOT NULL,
    "WHS_NBR"  TEXT NOT NULL,              -- warehouse number
    "conXPC"   TEXT NOT NULL               -- a "Connection XPC" of Connections
);

CREATE TABLE "Models" (
    "XPC"         TEXT PRIMARY KEY,
    "Description" TEXT NOT NULL
);

CREATE TABLE "Connections" (
    "ArtNo"          INTEGER PRIMARY KEY,
    "Connection XPC" TEXT NOT NULL,
    "Denomination"   TEXT,
    "Height"         DOUBLE,               -- m
    "ShortDesc"      TEXT
);

CREATE TABLE "XPCmaterial" (
    "Material" TEXT PRIMARY KEY,
    "Plate"    TEXT NOT NULL,
    "Brazing"  TEXT
);
