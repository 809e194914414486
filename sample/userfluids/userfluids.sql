-- The user fluid database: tables Info, Language, Liquid and Vapor. The meaning of the
-- equation types and coefficients is documented in src/engines/fluid/user_fluid.h.
CREATE TABLE Info (
    FluidID INTEGER PRIMARY KEY AUTOINCREMENT,
    HelpName TEXT, Category TEXT, UserLevel TEXT, Reference TEXT, "Chemical form" TEXT, Date TEXT
);
CREATE TABLE Language (FluidID INTEGER, FamilyID TEXT);
CREATE TABLE Liquid (
    FluidID INTEGER, TKmin REAL, TKmax REAL,
    eqRHOl INTEGER, cRHOl0 REAL, cRHOl1 REAL, cRHOl2 REAL, cRHOl3 REAL, cRHOl4 REAL,
    eqCPl INTEGER, cCPl0 REAL, cCPl1 REAL, cCPl2 REAL, cCPl3 REAL, cCPl4 REAL,
    eqLAMl INTEGER, cLAMl0 REAL, cLAMl1 REAL, cLAMl2 REAL, cLAMl3 REAL, cLAMl4 REAL,
    eqMUl INTEGER, cMUl0 REAL, cMUl1 REAL, cMUl2 REAL, cMUl3 REAL, cMUl4 REAL
);
CREATE TABLE Vapor (
    FluidID INTEGER, TvapMin REAL, TvapMax REAL, PvapMin REAL, PvapMax REAL,
    TdewMin REAL, TdewMax REAL, PdewMin REAL, PdewMax REAL, TbubMin REAL, TbubMax REAL,
    Tc REAL, Pc REAL, MW REAL,
    eqCPv INTEGER, cCPv0 REAL, cCPv1 REAL, cCPv2 REAL, cCPv3 REAL, cCPv4 REAL,
    cCPv13 REAL, cCPv14 REAL, cCPv15 REAL,
    eqLAMv INTEGER, cLAMv0 REAL, cLAMv1 REAL, cLAMv2 REAL, cLAMv3 REAL, cLAMv4 REAL,
    eqMUv INTEGER, cMUv0 REAL, cMUv1 REAL, cMUv2 REAL, cMUv3 REAL, cMUv4 REAL,
    eqHfg INTEGER, cHfg0 REAL, cHfg1 REAL, cHfg2 REAL, cHfg3 REAL, cHfg4 REAL,
    eqEntbub INTEGER, cEntbub0 REAL, cEntbub1 REAL, cEntbub2 REAL, cEntbub3 REAL, cEntbub4 REAL,
    eqEntdew INTEGER, cEntdew0 REAL, cEntdew1 REAL, cEntdew2 REAL, cEntdew3 REAL, cEntdew4 REAL,
    eqTdew INTEGER, cTdew0 REAL, cTdew1 REAL, cTdew2 REAL, cTdew3 REAL, cTdew4 REAL,
    eqTbub INTEGER, cTbub0 REAL, cTbub1 REAL, cTbub2 REAL, cTbub3 REAL, cTbub4 REAL
);
