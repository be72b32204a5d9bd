-- Piples.sql - reference tables of Kolvane (容器传热计算): the seamless pipe sizes offered for
-- heating coils and U-tube bundles (Piples1) and the volumetric expansion coefficients of liquids
-- (Expand1).
-- The build creates the SQLite database Piples.db from this file
-- (sqlite3 Piples.db ".read Piples.sql"); edit the rows here, not in the database.

CREATE TABLE Piples1 (ID INTEGER PRIMARY KEY, DN TEXT NOT NULL, Do REAL, Di REAL);
CREATE TABLE Expand1 (ID INTEGER PRIMARY KEY, DN TEXT NOT NULL, Ec REAL NOT NULL);

BEGIN TRANSACTION;

-- ---------------------------------------------------------------------------------------------
-- Piples1: seamless steel pipe for coils and tube bundles
--
-- Pipe: GB/T 8163-2018 输送流体用无缝钢管 (seamless steel pipes for liquid service, in force
-- since 2019-02-01), whose outside diameters and walls are those of GB/T 17395-2008
-- 无缝钢管尺寸、外形、重量及允许偏差, Table 1 普通钢管的外径和壁厚及单位长度理论重量
-- (outside diameters and walls of common steel pipes). GB/T 17395-2024, in force since
-- 2025-04-01, replaces the 2008 edition; the rows below were taken from the 2008 table.
--
-- Outside diameters: the domestic series II of HG/T 20553-2011 化工配管用无缝及焊接钢管尺寸选用系列
-- (14, 18, 25, 32, 38, 45, 57, 76, 89, 108, 133, 159, 219, 273, 325 mm: the pipe diameters of the
-- B-series flanges, still the usual ones for coils and bundles), not its series Ia/Ib (the ISO 4200
-- diameters 21.3, 26.9, 33.7, 42.4, 48.3, 60.3, ... and their rounded values); added are the small
-- tube diameters 10, 12, 16, 19, 20 and 22 mm of the same Table 1 for small coils and exchanger
-- tubes (19 and 25 are the usual tube-bundle diameters). In Table 1, 10, 76, 89, 219, 273 and 325
-- are series 1 diameters, written here without the ISO values 10.2, 76.1, 88.9, 219.1 and 323.9
-- that the table gives beside them in brackets; the others are series 2 and 3 diameters.
--
-- Walls: one to five of the usual walls of chemical-plant coils and bundles per diameter, all
-- from the wall series of Table 1: 2.0, 2.5 (2.5(2.6) in the table), 3.0 (the bracketed value of
-- 2.9(3.0)), 3.5 (3.5(3.6)), 4.0, 4.5, 5.0, 6.0, 7.0 (7.0(7.1)), 8.0, 9.0 (the bracketed value
-- of 8.8(9.0)) and 10 mm. Every wall lies well inside the range of walls Table 1 gives for its
-- diameter; from 57 mm up no wall is under 3 mm, at 219 mm none is under 6 mm.
--
-- DN: the designation "outside diameter×wall" in mm with the multiplication sign × (U+00D7,
-- GBK A1C1), at most 10 bytes in GBK. Do: outside diameter, mm. Di: inside diameter
-- Do - 2·wall, mm. Rows in ascending outside diameter, then wall.
-- ---------------------------------------------------------------------------------------------

-- 10 mm
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (1, '10×2', 10.0, 6.0);
-- 12 mm
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (2, '12×2', 12.0, 8.0);
-- 14 mm
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (3, '14×2', 14.0, 10.0);
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (4, '14×2.5', 14.0, 9.0);
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (5, '14×3', 14.0, 8.0);
-- 16 mm
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (6, '16×2', 16.0, 12.0);
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (7, '16×2.5', 16.0, 11.0);
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (8, '16×3', 16.0, 10.0);
-- 18 mm
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (9, '18×2', 18.0, 14.0);
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (10, '18×2.5', 18.0, 13.0);
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (11, '18×3', 18.0, 12.0);
-- 19 mm
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (12, '19×2', 19.0, 15.0);
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (13, '19×2.5', 19.0, 14.0);
-- 20 mm
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (14, '20×2', 20.0, 16.0);
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (15, '20×2.5', 20.0, 15.0);
-- 22 mm
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (16, '22×2', 22.0, 18.0);
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (17, '22×2.5', 22.0, 17.0);
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (18, '22×3', 22.0, 16.0);
-- 25 mm
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (19, '25×2', 25.0, 21.0);
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (20, '25×2.5', 25.0, 20.0);
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (21, '25×3', 25.0, 19.0);
-- 32 mm
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (22, '32×2.5', 32.0, 27.0);
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (23, '32×3', 32.0, 26.0);
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (24, '32×3.5', 32.0, 25.0);
-- 38 mm
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (25, '38×2.5', 38.0, 33.0);
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (26, '38×3', 38.0, 32.0);
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (27, '38×3.5', 38.0, 31.0);
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (28, '38×4', 38.0, 30.0);
-- 45 mm
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (29, '45×2.5', 45.0, 40.0);
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (30, '45×3', 45.0, 39.0);
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (31, '45×3.5', 45.0, 38.0);
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (32, '45×4', 45.0, 37.0);
-- 57 mm
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (33, '57×3', 57.0, 51.0);
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (34, '57×3.5', 57.0, 50.0);
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (35, '57×4', 57.0, 49.0);
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (36, '57×5', 57.0, 47.0);
-- 76 mm
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (37, '76×3', 76.0, 70.0);
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (38, '76×3.5', 76.0, 69.0);
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (39, '76×4', 76.0, 68.0);
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (40, '76×5', 76.0, 66.0);
-- 89 mm
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (41, '89×3.5', 89.0, 82.0);
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (42, '89×4', 89.0, 81.0);
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (43, '89×4.5', 89.0, 80.0);
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (44, '89×5', 89.0, 79.0);
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (45, '89×6', 89.0, 77.0);
-- 108 mm
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (46, '108×4', 108.0, 100.0);
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (47, '108×4.5', 108.0, 99.0);
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (48, '108×5', 108.0, 98.0);
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (49, '108×6', 108.0, 96.0);
-- 133 mm
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (50, '133×4', 133.0, 125.0);
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (51, '133×4.5', 133.0, 124.0);
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (52, '133×5', 133.0, 123.0);
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (53, '133×6', 133.0, 121.0);
-- 159 mm
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (54, '159×4.5', 159.0, 150.0);
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (55, '159×5', 159.0, 149.0);
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (56, '159×6', 159.0, 147.0);
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (57, '159×7', 159.0, 145.0);
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (58, '159×8', 159.0, 143.0);
-- 219 mm
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (59, '219×6', 219.0, 207.0);
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (60, '219×7', 219.0, 205.0);
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (61, '219×8', 219.0, 203.0);
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (62, '219×9', 219.0, 201.0);
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (63, '219×10', 219.0, 199.0);
-- 273 mm
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (64, '273×7', 273.0, 259.0);
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (65, '273×8', 273.0, 257.0);
-- 325 mm
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (66, '325×8', 325.0, 309.0);
INSERT INTO Piples1 (ID, DN, Do, Di) VALUES (67, '325×10', 325.0, 305.0);

COMMIT;
