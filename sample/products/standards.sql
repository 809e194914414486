-- Choices of the quotation form: connection, gasket and frame standards, and the port
-- assignment of a unit in counter-current flow (F ports on the front plate, P ports at
-- the back).

INSERT INTO "Standards" ("StandardID", "Object", "ConnName") VALUES
    (1, 'Connection', 'External thread ISO 228-1'),
    (2, 'Connection', 'External thread ANSI/ASME B1.20.1 (NPT)'),
    (3, 'Connection', 'Solder connection, copper tube EN 1057'),
    (4, 'Connection', 'Flange EN 1092-1 PN16'),
    (5, 'Connection', 'Flange ASME B16.5 class 150'),
    (6, 'Gasket', 'None (brazed)'),
    (7, 'Gasket', 'EPDM flange gasket'),
    (8, 'Frame', 'Without mounting studs'),
    (9, 'Frame', 'Mounting studs M8 on the back plate'),
    (10, 'Frame', 'Mounting feet');

INSERT INTO "InOut" ("InOutID", "Port", "Side", "Direction", "Description") VALUES
    (1, 'F1', 1, 'in',  'Side 1 inlet, front upper left'),
    (2, 'F3', 1, 'out', 'Side 1 outlet, front lower left'),
    (3, 'F4', 2, 'in',  'Side 2 inlet, front lower right'),
    (4, 'F2', 2, 'out', 'Side 2 outlet, front upper right'),
    (5, 'P1', 1, 'in',  'Side 1 inlet, back upper left'),
    (6, 'P3', 1, 'out', 'Side 1 outlet, back lower left'),
    (7, 'P4', 2, 'in',  'Side 2 inlet, back lower right'),
    (8, 'P2', 2, 'out', 'Side 2 outlet, back upper right');
