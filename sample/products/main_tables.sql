-- Tables only the main product database has: article-code parts and codes of the model
-- nodes, the air dryer pairs, and the connection standards and port assignment of
-- quotations.

CREATE TABLE "Denomination" (
    "NodeID"    SMALLINT PRIMARY KEY,
    "Class"     TEXT NOT NULL,
    "Type"      TEXT NOT NULL,
    "Size"      TEXT NOT NULL,
    "Material"  TEXT NOT NULL,
    "Chantype"  TEXT NOT NULL,
    "Execution" TEXT NOT NULL DEFAULT ''        -- '' for the standard execution
);

CREATE TABLE "XPC" (
    "NodeID" SMALLINT PRIMARY KEY,
    "XPc"    TEXT NOT NULL
);

CREATE TABLE "AD-Models" (
    "ADID"              SMALLINT PRIMARY KEY,   -- the ModelID of the air dryer's node
    "AirHXQID"          SMALLINT NOT NULL,
    "AirChannelIDSide1" INTEGER NOT NULL,
    "AirChannelIDSide2" INTEGER NOT NULL,
    "RefHXQID"          SMALLINT NOT NULL,
    "RefChannelIDSide1" INTEGER NOT NULL,
    "RefChannelIDSide2" INTEGER NOT NULL,
    "PriceID"           SMALLINT,
    "Split"             SMALLINT,
    "Depth"             SMALLINT,
    "MaxNoOfPlates"     SMALLINT,
    "RefNoOfPlates"     SMALLINT,
    "AirNoOfPlates"     SMALLINT
);

CREATE TABLE "Standards" (
    "StandardID" INTEGER PRIMARY KEY,
    "Object"     TEXT NOT NULL,                 -- 'Connection', 'Gasket' or 'Frame'
    "ConnName"   TEXT NOT NULL
);

CREATE TABLE "InOut" (
    "InOutID"     INTEGER PRIMARY KEY,
    "Port"        TEXT NOT NULL,                -- port label on the front plate
    "Side"        SMALLINT NOT NULL,            -- fluid side 1 or 2
    "Direction"   TEXT NOT NULL,                -- 'in' or 'out'
    "Description" TEXT
);
