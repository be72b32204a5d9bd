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

-- ---------------------------------------------------------------------------------------------
-- Expand1: volumetric (cubic) expansion coefficient of liquids at 20 °C and atmospheric pressure
--
-- Ec in 1E-4 1/K (water: 2.07, that is 2.07E-4 1/K); alpha = (1/V)(dV/dT) = -(1/rho)(drho/dT).
-- DN: the Chinese name, at most 10 bytes in GBK (five Chinese characters).
--
-- Sources (cited per row):
--   [CRC]   CRC Handbook of Chemistry and Physics, section 6, table "Pressure and temperature
--           dependence of liquid density": alpha at 20 °C, measured.
--   [P]     Perry's Chemical Engineers' Handbook, 8th ed. (2008), Table 2-32, DIPPR equation 105
--           for liquid density, differentiated at 293.15 K.
--   [V]     VDI Heat Atlas, 2nd ed. (2010), chapter D3.1, PPDS equation for the density of the
--           saturated liquid, differentiated at 293.15 K (the densities of PropLib.sql).
--   [IAPWS] IAPWS-95 / IAPWS-IF97 (water).
--   [L]     Laliberté & Cooper, J. Chem. Eng. Data 49 (2004) 1141, with the parameters of
--           Laliberté, J. Chem. Eng. Data 54 (2009) 1725: density of aqueous solutions,
--           differentiated at 20 °C.
--   [API]   ASTM D1250-80 / API MPMS chapter 11.1 (1980), Tables 54B (refined products) and 54D
--           (lubricating oils): alpha15 = K0/rho15^2 + K1/rho15 (rho15 in kg/m3 at 15 °C),
--           referred to 20 °C by the factor (1 + 1.6·alpha15·5 K). GB/T 1885-1998 石油计量表
--           (ISO 91-2) uses the same correlation on a 20 °C base.
--   [H]     Cubic expansion of 100 % H2SO4, V = V0·(1 + A·t + B·t²), A = 0.5758E-3, B = -0.432E-6
--           (t in °C), as quoted in the ISA practical guide "Flow Measurement", chapter 3.
-- Where sources disagree: the [CRC] value where the table lists the liquid at 20 °C and it lies
-- within 3 % of [P] and [V]; otherwise the mean of [P] and [V]. A value more than 10 % away
-- from the others is named in the row and not used. Engineering-toolbox style tables were used
-- only as a cross-check.
-- ---------------------------------------------------------------------------------------------

-- 水 (water): [IAPWS] 2.07; the CIPM density equation (Tanaka et al., Metrologia 38 (2001) 301)
-- gives 2.069, Kell's equation (the water term of [L]) 2.068; [CRC] 2.06. IAPWS taken.
INSERT INTO Expand1 (ID, DN, Ec) VALUES (1, '水', 2.07);
-- 甲醇 (methanol): [P] 11.94, [V] 12.06, mean 12.0. [CRC] lists 14.9, 24 % above both
-- equations; not used.
INSERT INTO Expand1 (ID, DN, Ec) VALUES (2, '甲醇', 12.0);
-- 乙醇 (ethanol, anhydrous): [P] 11.15, [V] 10.50, mean 10.8.
INSERT INTO Expand1 (ID, DN, Ec) VALUES (3, '乙醇', 10.8);
-- 异丙醇 (isopropanol): [P] 12.33, [V] 11.60, mean 12.0.
INSERT INTO Expand1 (ID, DN, Ec) VALUES (4, '异丙醇', 12.0);
-- 正丁醇 (n-butanol): [P] 10.30, [V] 10.01, mean 10.2.
INSERT INTO Expand1 (ID, DN, Ec) VALUES (5, '正丁醇', 10.2);
-- 丙酮 (acetone): [P] 14.25, [V] 14.20, mean 14.2.
INSERT INTO Expand1 (ID, DN, Ec) VALUES (6, '丙酮', 14.2);
-- 丁酮 (methyl ethyl ketone): [P] 13.50, [V] 13.47, mean 13.5.
INSERT INTO Expand1 (ID, DN, Ec) VALUES (7, '丁酮', 13.5);
-- 苯 (benzene): [P] 11.32, [V] 11.41, mean 11.4. Older handbook tables give up to about 12,
-- partly as mean coefficients over wider ranges; the 20 °C value of the equations is taken.
INSERT INTO Expand1 (ID, DN, Ec) VALUES (8, '苯', 11.4);
-- 甲苯 (toluene): [P] 10.46, [V] 10.81, mean 10.6.
INSERT INTO Expand1 (ID, DN, Ec) VALUES (9, '甲苯', 10.6);
-- 二甲苯 (xylene, taken as m-xylene, the main part of technical xylene): [P] 9.55, [V] 9.72,
-- mean 9.6 (o-xylene 9.18/9.31, p-xylene 9.66/9.73).
INSERT INTO Expand1 (ID, DN, Ec) VALUES (10, '二甲苯', 9.6);
-- 苯乙烯 (styrene): [P] 9.81, [V] 9.86, mean 9.8.
INSERT INTO Expand1 (ID, DN, Ec) VALUES (11, '苯乙烯', 9.8);
-- 氯苯 (chlorobenzene): [P] 9.13, [V] 9.26, mean 9.2.
INSERT INTO Expand1 (ID, DN, Ec) VALUES (12, '氯苯', 9.2);
-- 乙二醇 (ethylene glycol): [P] 6.31, [V] 6.22, mean 6.3.
INSERT INTO Expand1 (ID, DN, Ec) VALUES (13, '乙二醇', 6.3);
-- 甘油 (glycerol): [V] 5.04 (Table 2-32 of [P] has no DIPPR 105 row for it); 5.0.
INSERT INTO Expand1 (ID, DN, Ec) VALUES (14, '甘油', 5.0);
-- 醋酸 (acetic acid, glacial): [P] 9.62, [V] 9.91, mean 9.8. [L] at mass fraction 1, the
-- edge of its aqueous fit, gives 11.1; not used.
INSERT INTO Expand1 (ID, DN, Ec) VALUES (15, '醋酸', 9.8);
-- 乙酸乙酯 (ethyl acetate): [P] 13.00, [V] 12.97, mean 13.0.
INSERT INTO Expand1 (ID, DN, Ec) VALUES (16, '乙酸乙酯', 13.0);
-- 正己烷 (n-hexane): [P] 13.49, [V] 13.99, mean 13.7.
INSERT INTO Expand1 (ID, DN, Ec) VALUES (17, '正己烷', 13.7);
-- 环己烷 (cyclohexane): [P] 11.45, [V] 12.20, mean 11.8.
INSERT INTO Expand1 (ID, DN, Ec) VALUES (18, '环己烷', 11.8);
-- 二氯甲烷 (dichloromethane): [P] 14.20, [V] 14.21, mean 14.2; [CRC] lists 13.9 at 25 °C only.
INSERT INTO Expand1 (ID, DN, Ec) VALUES (19, '二氯甲烷', 14.2);
-- 二氯乙烷 (1,2-dichloroethane): [P] 11.64, [V] 11.60, mean 11.6.
INSERT INTO Expand1 (ID, DN, Ec) VALUES (20, '二氯乙烷', 11.6);
-- 氯仿 (chloroform): [CRC] 12.1; [P] 12.29, [V] 12.28. CRC taken.
INSERT INTO Expand1 (ID, DN, Ec) VALUES (21, '氯仿', 12.1);
-- 四氯化碳 (carbon tetrachloride): [CRC] 11.4; [P] 11.39, [V] 11.53. CRC taken.
INSERT INTO Expand1 (ID, DN, Ec) VALUES (22, '四氯化碳', 11.4);
-- 乙醚 (diethyl ether): [P] 16.14, [V] 16.91, mean 16.5.
INSERT INTO Expand1 (ID, DN, Ec) VALUES (23, '乙醚', 16.5);
-- 四氢呋喃 (tetrahydrofuran): [P] 11.92 ([V] has no PPDS row for it); 11.9.
INSERT INTO Expand1 (ID, DN, Ec) VALUES (24, '四氢呋喃', 11.9);
-- 乙腈 (acetonitrile): [P] 13.55, [V] 13.59, mean 13.6.
INSERT INTO Expand1 (ID, DN, Ec) VALUES (25, '乙腈', 13.6);
-- 液氨 (liquid ammonia, saturated at 20 °C and 857 kPa): [P] 24.26, [V] 24.15, mean 24.2.
INSERT INTO Expand1 (ID, DN, Ec) VALUES (26, '液氨', 24.2);
-- 氨水(25%) (ammonia water, 25 % NH3 by mass): [L] 6.93 (density 906.5 kg/m3 at 20 °C; fit
-- valid 20-141 °C, mass fraction up to 0.52); 6.9.
INSERT INTO Expand1 (ID, DN, Ec) VALUES (27, '氨水(25%)', 6.9);
-- 盐酸(30%) (hydrochloric acid, 30 % HCl by mass): [L] 5.42 (density 1148.6 kg/m3 at 20 °C;
-- fit valid 5-99 °C, mass fraction up to 0.376); 5.4.
INSERT INTO Expand1 (ID, DN, Ec) VALUES (28, '盐酸(30%)', 5.4);
-- 硝酸(65%) (nitric acid, 65 % HNO3 by mass): [L] 10.63 (density 1391.1 kg/m3 at 20 °C; fit
-- valid -10-95 °C, mass fraction up to 0.70); 10.6.
INSERT INTO Expand1 (ID, DN, Ec) VALUES (29, '硝酸(65%)', 10.6);
-- 硫酸(98%) (sulfuric acid, 98 % H2SO4 by mass): [H] 5.52 for the 100 % acid (density
-- 1830.5 kg/m3 at 20 °C), taken for the 98 % acid; [L] reaches only 78 %, where it gives 5.1.
INSERT INTO Expand1 (ID, DN, Ec) VALUES (30, '硫酸(98%)', 5.5);
-- 汞 (mercury): [CRC] 1.811.
INSERT INTO Expand1 (ID, DN, Ec) VALUES (31, '汞', 1.81);
-- 汽油 (gasoline): [API] Table 54B, gasoline group (K0 = 346.4228, K1 = 0.4388), rho15 =
-- 740 kg/m3: alpha15 12.26, at 20 °C 12.4 (730-750 kg/m3: 12.6-12.1).
INSERT INTO Expand1 (ID, DN, Ec) VALUES (32, '汽油', 12.4);
-- 煤油 (kerosene): [API] Table 54B, jet-fuel group (K0 = 594.5418, K1 = 0), rho15 = 800 kg/m3:
-- alpha15 9.29, at 20 °C 9.4.
INSERT INTO Expand1 (ID, DN, Ec) VALUES (33, '煤油', 9.4);
-- 柴油 (diesel fuel): [API] Table 54B, fuel-oil group (K0 = 186.9696, K1 = 0.4862),
-- rho15 = 840 kg/m3: alpha15 8.44, at 20 °C 8.5.
INSERT INTO Expand1 (ID, DN, Ec) VALUES (34, '柴油', 8.5);
-- 润滑油 (mineral lubricating oil): [API] Table 54D (K0 = 0, K1 = 0.6278), rho15 = 890 kg/m3:
-- alpha15 7.05, at 20 °C 7.1.
INSERT INTO Expand1 (ID, DN, Ec) VALUES (35, '润滑油', 7.1);
-- 变压器油 (mineral transformer oil, GB 2536): [API] Table 54D, rho15 = 880 kg/m3: alpha15 7.13,
-- at 20 °C 7.2.
INSERT INTO Expand1 (ID, DN, Ec) VALUES (36, '变压器油', 7.2);
-- 导热油 (mineral heat-transfer oil): densities 876, 863 and 850 kg/m3 at 0, 20 and 40 °C of the
-- Shell Heat Transfer Oil S2 data sheet (fluid 023 of PropLib.sql) give 7.5; [API] Table 54D at
-- rho15 = 866 kg/m3 gives 7.3. The product data are taken.
INSERT INTO Expand1 (ID, DN, Ec) VALUES (37, '导热油', 7.5);

COMMIT;
