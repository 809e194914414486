-- Tables of a product database that every calculation reads: the model tree, the models,
-- their channel types and prices, the V-ring distributors and the channel-fluid
-- correction factors. Both the main and the legacy product database are built on them.
--
-- Declared types follow Jet's: SMALLINT a 16-bit integer, INTEGER 32-bit, DOUBLE a
-- floating-point number, BOOLEAN a Jet boolean (-1 true, 0 false), TEXT a text.
-- Columns are spelled as the library reads them; Group and Table are SQL keywords and
-- are quoted wherever they are named.

PRAGMA encoding = 'UTF-8';

CREATE TABLE "ModelTree" (
    "NodeID"             SMALLINT PRIMARY KEY,
    "ParentID"           SMALLINT NOT NULL,
    "Alias"              TEXT,
    "Group"              TEXT,
    "UserLevel"          TEXT,
    "InUse"              BOOLEAN NOT NULL DEFAULT -1 CHECK ("InUse" IN (-1, 0)),
    "Table"              TEXT,
    "ChannelCombination" TEXT,
    "PureType"           TEXT,
    "ChannelType"        TEXT,
    "Information2"       TEXT,
    "CalcMethod"         TEXT,
    "ModelID"            SMALLINT,
    "Dual"               BOOLEAN NOT NULL DEFAULT 0 CHECK ("Dual" IN (-1, 0)),
    "StockID"            INTEGER,
    "PriceID"            SMALLINT,
    "ChannelID1Left"     INTEGER,
    "ChannelID1Right"    INTEGER,
    "ChannelID2Left"     INTEGER,
    "ChannelID2Right"    INTEGER
);

CREATE TABLE "HXQ" (
    "HXQID"                SMALLINT PRIMARY KEY,
    "ModelName"            TEXT NOT NULL,
    "plateThickness"       DOUBLE NOT NULL,   -- m
    "Enlargement"          DOUBLE NOT NULL,   -- surface enlargement factor
    "Dh"                   DOUBLE NOT NULL,   -- hydraulic diameter, m
    "PlateArea"            DOUBLE NOT NULL,   -- effective heat-transfer area of one plate, m^2
    "FlowLength"           DOUBLE NOT NULL,   -- port to port, m
    "FlowWidth"            DOUBLE NOT NULL,   -- m
    "Information2"         TEXT,
    "CoCurrHTCFactor"      TEXT,              -- a number held as text
    "MaxPlates"            SMALLINT NOT NULL,
    "MaxPasses"            SMALLINT NOT NULL,
    "Dual"                 BOOLEAN NOT NULL DEFAULT 0 CHECK ("Dual" IN (-1, 0)),
    "Split"                SMALLINT,
    "Depth"                SMALLINT,
    "DTMin"                DOUBLE,            -- K
    "VRingID"              SMALLINT NOT NULL DEFAULT 0,
    "MaxPressureDropVRing" DOUBLE,            -- Pa
    "MinPressureDropVRing" DOUBLE             -- Pa
);

CREATE TABLE "Channel" (
    "ChannelID"      INTEGER PRIMARY KEY,
    "ChannelName"    TEXT NOT NULL,
    "HXQID"          SMALLINT,                -- the model the channel type belongs to
    "ChevronAngle"   DOUBLE,                  -- degrees from the flow direction
    "PortDiaUp"      DOUBLE NOT NULL,         -- m
    "PortDiaDown"    DOUBLE NOT NULL,         -- m
    "SlitResistance" DOUBLE NOT NULL DEFAULT 0,
    "cFp" DOUBLE NOT NULL, "noFp" SMALLINT NOT NULL CHECK ("noFp" BETWEEN 0 AND 4),
    "xFp0" DOUBLE, "xFp1" DOUBLE, "xFp2" DOUBLE, "xFp3" DOUBLE, "xFp4" DOUBLE,
    "crFp0" DOUBLE, "crFp1" DOUBLE, "crFp2" DOUBLE, "crFp3" DOUBLE, "crFp4" DOUBLE,
    "cnu" DOUBLE NOT NULL, "noNu" SMALLINT NOT NULL CHECK ("noNu" BETWEEN 0 AND 4),
    "xNu0" DOUBLE, "xNu1" DOUBLE, "xNu2" DOUBLE, "xNu3" DOUBLE, "xNu4" DOUBLE,
    "crNu0" DOUBLE, "crNu1" DOUBLE, "crNu2" DOUBLE, "crNu3" DOUBLE, "crNu4" DOUBLE,
    "ExtraChannel"   BOOLEAN NOT NULL DEFAULT 0 CHECK ("ExtraChannel" IN (-1, 0)),
    "ChVol"          DOUBLE                   -- one channel, m^3
);

CREATE TABLE "Cost" (
    "PriceID"     SMALLINT PRIMARY KEY,
    "Description" TEXT,
    "TQSP1"       DOUBLE,                     -- start price
    "TQSP2"       DOUBLE,                     -- price per plate
    "PricePass"   DOUBLE                      -- price per extra pass
);

CREATE TABLE "VRing" (
    "VRingID"    SMALLINT PRIMARY KEY,
    "Dorifice"   DOUBLE,                      -- m
    "DiameterIN" DOUBLE,                      -- m
    "NoOrifice"  SMALLINT
);

CREATE TABLE "Channel-Fluid-Factors" (
    "ChannelID"      INTEGER NOT NULL,
    "FluidID"        INTEGER NOT NULL,
    "V-model"        BOOLEAN NOT NULL CHECK ("V-model" IN (-1, 0)),
    "CounterCurrent" BOOLEAN NOT NULL CHECK ("CounterCurrent" IN (-1, 0)),
    "cNuCorrVAP"     TEXT, "xNuCorrVAP" TEXT, "cNuNoPCorrVAP" TEXT, "cNuNoPRefVAP" TEXT,
    "cNuMaxNoPVAP"   TEXT,
    "cNuCorrCON"     TEXT, "xNuCorrCON" TEXT, "cNuNoPCorrCON" TEXT, "cNuNoPRefCON" TEXT,
    "cNuMaxNoPCON"   TEXT,
    PRIMARY KEY ("ChannelID", "FluidID", "V-model", "CounterCurrent")
);
