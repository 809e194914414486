-- The stock database: plate counts held in stock per model, up to twenty levels. The
-- stock editor writes the levels as texts; a level left empty ends the list.

PRAGMA encoding = 'UTF-8';

CREATE TABLE "Stock" (
    "StockID" INTEGER PRIMARY KEY,
    "Level1" TEXT, "Level2" TEXT, "Level3" TEXT, "Level4" TEXT, "Level5" TEXT,
    "Level6" TEXT, "Level7" TEXT, "Level8" TEXT, "Level9" TEXT, "Level10" TEXT,
    "Level11" TEXT, "Level12" TEXT, "Level13" TEXT, "Level14" TEXT, "Level15" TEXT,
    "Level16" TEXT, "Level17" TEXT, "Level18" TEXT, "Level19" TEXT, "Level20" TEXT
);
